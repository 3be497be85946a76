#pragma once

#include "persistence/DbValue.h"
#include "persistence/ProcedureCatalogue.h"

#include <QDateTime>

#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace orv::db {
class Connection;
}

namespace orv::office::procedures {

inline db::ProcedureParam in(const char* name) {
    return {name, db::ParamDirection::In};
}
inline db::ProcedureParam out(const char* name) {
    return {name, db::ParamDirection::Out};
}
inline db::ProcedureParam inOut(const char* name) {
    return {name, db::ParamDirection::InOut};
}

// Parameter values as the tables store them. A number that is not set counts as 0.
db::DbValue number(const db::ProcedureCall& call, std::string_view name);
// A text that is not set counts as the empty text.
db::DbValue text(const db::ProcedureCall& call, std::string_view name);
// A date or NULL; a value of any other kind is refused with a German message.
QDateTime date(const db::ProcedureCall& call, std::string_view name);
db::DbValue dateOrNull(const db::ProcedureCall& call, std::string_view name);
// A fixed-point amount; not set counts as 0.
db::Currency amount(const db::ProcedureCall& call, std::string_view name);

// Runs an INSERT ... RETURNING of one key column and answers the new key.
std::int64_t insertReturningId(db::Connection& connection, std::string_view sql,
                               std::initializer_list<db::DbValue> params);
// The same for an INSERT ... SELECT that may insert nothing: 0 then.
std::int64_t insertReturningIdOrZero(db::Connection& connection, std::string_view sql,
                                     std::initializer_list<db::DbValue> params);
bool rowExists(db::Connection& connection, std::string_view sql,
               std::initializer_list<db::DbValue> params);
std::int64_t execute(db::Connection& connection, std::string_view sql,
                     std::initializer_list<db::DbValue> params);

// The current local time to the second. Procedures run in the workstation's process, and the
// times their callers pass come from the same clock; the database server's clock may keep
// another time zone.
QDateTime workstationNow();

// The parts of the catalogue, one per topic.
void addTimeEntryProcedures(db::ProcedureCatalogue& catalogue);
void addLoginProcedures(db::ProcedureCatalogue& catalogue);
void addUserSettingProcedures(db::ProcedureCatalogue& catalogue);
void addBookingProcedures(db::ProcedureCatalogue& catalogue);
void addRightsFunction(db::ProcedureCatalogue& catalogue);

}  // namespace orv::office::procedures
