#pragma once

namespace orv::db {

enum class Backend { Sqlite, Postgres };

inline const char* backendName(Backend backend) {
    return backend == Backend::Sqlite ? "SQLite" : "PostgreSQL";
}

}  // namespace orv::db
