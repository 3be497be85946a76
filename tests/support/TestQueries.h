#pragma once

#include "persistence/DbValue.h"
#include "session/diagnostics/OrvError.h"

#include <QString>

#include <initializer_list>
#include <optional>

#include <ostream>

namespace orv::db {
class Database;
}

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace orv::test {

// The named columns of every row of a query, "|" between columns and " / " between rows,
// NULL shown as "NULL" (read through DbService, whose defaults otherwise hide it).
QString tableText(db::Database& database, const QString& sql,
                  std::initializer_list<const char*> columns, const db::Params& params = {});

// The component's error a call raised, or nothing when it returned.
template <class F>
std::optional<OrvError> failureOf(F&& call) {
    try {
        call();
    } catch (const OrvError& error) {
        return error;
    }
    return std::nullopt;
}

}  // namespace orv::test
