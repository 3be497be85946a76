#pragma once

#include "persistence/DbValue.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orv::db {

class Connection;
struct ProcedureDef;

enum class ParamDirection { In, Out, InOut };

struct ProcedureParam {
    std::string name;  // with the at sign, as callers name it: "@AuftragID"
    ParamDirection direction = ParamDirection::In;
};

// What a procedure body sees: the connection of the caller and the parameter values by name.
// Parameters the caller did not set are NULL.
class ProcedureCall {
public:
    ProcedureCall(Connection& connection, const ProcedureDef& def, std::vector<DbValue>& values)
        : connection_(connection), def_(def), values_(values) {}

    Connection& db() { return connection_; }
    const DbValue& value(std::string_view name) const;
    std::int64_t longValue(std::string_view name) const;
    QString textValue(std::string_view name) const;
    // The empty text counts as NULL: an empty parent key must read back as NULL.
    DbValue textOrNull(std::string_view name) const;
    void setValue(std::string_view name, DbValue value);

private:
    Connection& connection_;
    const ProcedureDef& def_;
    std::vector<DbValue>& values_;
};

// One stored procedure of the office database: parameters in declared order (positions from 1,
// as callers address them through the parameter values) and a body of portable SQL. The result
// is non-zero on success. A body of more than one statement opens a Transaction on call.db(),
// so that a failure leaves nothing half written.
struct ProcedureDef {
    std::string name;
    std::vector<ProcedureParam> params;
    std::function<std::int32_t(ProcedureCall&)> body;

    int position(std::string_view paramName) const;  // 0-based index, -1 when undeclared
};

// One scalar SQL function of the office database; its body is one SELECT with arguments $1..$n.
// PostgreSQL gets it as a SQL function, SQLite as a function of each connection.
struct ScalarFunctionDef {
    std::string name;
    int argumentCount = 0;
    std::string sql;
};

// The office database's stored procedures and functions, looked up by name. A "dbo." prefix is
// accepted and ignored; names compare without regard to case, as the office database does.
class ProcedureCatalogue {
public:
    void add(ProcedureDef def);
    void addFunction(ScalarFunctionDef def);

    const ProcedureDef* find(std::string_view name) const;
    const std::vector<ProcedureDef>& procedures() const { return procedures_; }
    const std::vector<ScalarFunctionDef>& functions() const { return functions_; }

private:
    std::vector<ProcedureDef> procedures_;
    std::vector<ScalarFunctionDef> functions_;
};

}  // namespace orv::db
