#pragma once

#include "persistence/Database.h"

#include <QTemporaryDir>

#include <memory>
#include <string>

namespace orv::bench {

// A migrated office database for one benchmark run: a temporary SQLite file, or a schema of its
// own on the server named by ORV_BENCH_PG (else ORV_TEST_PG). Null when the server is not set.
class BenchDatabase {
public:
    static std::unique_ptr<BenchDatabase> create(db::Backend backend);
    ~BenchDatabase();

    db::Database& database() { return *database_; }
    const db::DbTarget& target() const { return target_; }
    std::string sqlitePath() const;
    std::string conninfo() const;  // with the schema as search path

private:
    BenchDatabase() = default;

    db::DbTarget target_;
    QString serverConninfo_;
    QTemporaryDir dir_;
    std::string schema_;
    std::unique_ptr<db::Database> database_;
};

}  // namespace orv::bench
