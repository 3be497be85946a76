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
    // The same with the demo office loaded.
    static std::unique_ptr<BenchDatabase> createDemoOffice(db::Backend backend);
    // A schema of its own on the PostgreSQL server with that libpq connection string.
    static std::unique_ptr<BenchDatabase> createOnServer(const QString& serverConninfo);
    ~BenchDatabase();

    db::Database& database() { return *database_; }
    const db::DbTarget& target() const { return target_; }
    std::string sqlitePath() const;
    std::string conninfo() const;  // with the schema as search path
    const std::string& schema() const { return schema_; }
    // Leaves the schema on the server when the database is released, for a look afterwards.
    void keepSchema() { keep_ = true; }

private:
    BenchDatabase() = default;

    db::DbTarget target_;
    QString serverConninfo_;
    QTemporaryDir dir_;
    std::string schema_;
    bool keep_ = false;
    std::unique_ptr<db::Database> database_;
};

}  // namespace orv::bench
