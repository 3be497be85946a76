#pragma once

#include "persistence/Backend.h"

#include <QString>

#include <optional>

namespace orv::db {

// Where the office database lives: an SQLite file or a PostgreSQL connection.
struct DbTarget {
    Backend backend = Backend::Sqlite;
    QString sqlitePath;  // SQLite: the database file
    QString conninfo;    // PostgreSQL: a libpq connection string or URI

    static DbTarget sqlite(QString path);
    static DbTarget postgres(QString conninfo);

    // "sqlite:PATH", a path ending in .sqlite/.db, "postgresql://..." or "postgres:CONNINFO".
    // Empty for anything else.
    static std::optional<DbTarget> parse(const QString& text);

    // For messages and reports the user may pass on: a password is never shown.
    QString describe() const;
    QString conninfoWithoutPassword() const;
};

}  // namespace orv::db
