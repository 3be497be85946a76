#pragma once

#include "persistence/Backend.h"
#include "persistence/Database.h"

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <string>

namespace orv::db {
class ProcedureCatalogue;
}

namespace orv::test {

// A fresh, empty office database for one test: a temporary SQLite file, or a schema of its own
// in the throwaway PostgreSQL cluster named by ORV_TEST_PG (a libpq connection string). Without
// that cluster PostgreSQL tests are skipped, except under CI=true, where they fail.
class TempDatabase {
public:
    // PostgreSQL: in the cluster given, or in the one of ORV_TEST_PG when none is given.
    TempDatabase(db::Backend backend, const db::ProcedureCatalogue* catalogue,
                 const QString& cluster = {});
    ~TempDatabase();

    db::Database& database() { return *database_; }
    // A second, independent handle on the same database (another employee's workstation).
    std::unique_ptr<db::Database> openAnother() const;
    const db::DbTarget& target() const { return target_; }

    // PostgreSQL: the connection string of the test cluster, or empty when none is configured.
    static QString clusterConninfo();

private:
    db::DbTarget target_;
    const db::ProcedureCatalogue* catalogue_;
    QString cluster_;
    QTemporaryDir dir_;
    std::string schema_;
    std::unique_ptr<db::Database> database_;
};

// The one check of what a test needs from the machine: true when it is there; otherwise the
// current test is skipped, or under CI=true failed, so that no test can pass in CI by skipping.
bool needs(bool present, const char* missing);
// The backend's database can be made here (PostgreSQL: ORV_TEST_PG names a cluster).
bool needsBackend(db::Backend backend);

std::string backendParamName(const testing::TestParamInfo<db::Backend>& info);

// Instantiates a value-parameterised suite for both backends.
#define ORV_INSTANTIATE_FOR_BACKENDS(Suite)                                          \
    INSTANTIATE_TEST_SUITE_P(                                                        \
        Backends, Suite,                                                             \
        ::testing::Values(::orv::db::Backend::Sqlite, ::orv::db::Backend::Postgres), \
        ::orv::test::backendParamName)

// Base fixture: a fresh database with the office catalogue, empty (no migrations applied).
class BackendTest : public ::testing::TestWithParam<db::Backend> {
protected:
    void SetUp() override;
    void TearDown() override;
    db::Database& database() { return temp_->database(); }
    TempDatabase& temp() { return *temp_; }
    db::Backend backend() const { return GetParam(); }
    // The PostgreSQL cluster the test's database lives in; empty: the one of ORV_TEST_PG.
    virtual QString postgresCluster() { return {}; }

private:
    std::unique_ptr<TempDatabase> temp_;
};

}  // namespace orv::test
