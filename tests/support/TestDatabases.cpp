#include "TestDatabases.h"

#include "office/procedures/OfficeCatalogue.h"
#include "persistence/driver/Connection.h"

#include <QRandomGenerator>

namespace orv::test {
QString TempDatabase::clusterConninfo() {
    return QString::fromLocal8Bit(qgetenv("ORV_TEST_PG"));
}

TempDatabase::TempDatabase(db::Backend backend, const db::ProcedureCatalogue* catalogue,
                           const QString& cluster)
    : catalogue_(catalogue), cluster_(cluster.isEmpty() ? clusterConninfo() : cluster) {
    if (backend == db::Backend::Sqlite) {
        target_ = db::DbTarget::sqlite(dir_.filePath(QStringLiteral("office.sqlite")));
    } else {
        schema_ = "orv_t" + std::to_string(QRandomGenerator::global()->generate64());
        {
            db::Database admin(db::DbTarget::postgres(cluster_));
            admin.connection()->executeScript("CREATE SCHEMA " + schema_);
        }
        target_ = db::DbTarget::postgres(
            cluster_ +
            QStringLiteral(" options='-c search_path=%1'").arg(QString::fromStdString(schema_)));
    }
    database_ = std::make_unique<db::Database>(target_, catalogue_);
}

TempDatabase::~TempDatabase() {
    database_.reset();
    if (!schema_.empty()) {
        try {
            db::Database admin(db::DbTarget::postgres(cluster_));
            admin.connection()->executeScript("DROP SCHEMA " + schema_ + " CASCADE");
        } catch (const std::exception& e) {
            ADD_FAILURE() << "Testschema nicht entfernt: " << e.what();
        }
    }
}

std::unique_ptr<db::Database> TempDatabase::openAnother() const {
    return std::make_unique<db::Database>(target_, catalogue_);
}

bool needs(bool present, const char* missing) {
    if (present) {
        return true;
    }
    if (qEnvironmentVariable("CI").toLower() == QLatin1String("true")) {
        ADD_FAILURE() << missing << " fehlt; unter CI=true wird kein Test übersprungen.";
    } else {
        [&] { GTEST_SKIP() << missing << " fehlt."; }();
    }
    return false;
}

bool needsBackend(db::Backend backend) {
    return needs(backend == db::Backend::Sqlite || !TempDatabase::clusterConninfo().isEmpty(),
                 "ORV_TEST_PG (der PostgreSQL-Testcluster)");
}

std::string backendParamName(const testing::TestParamInfo<db::Backend>& info) {
    return info.param == db::Backend::Sqlite ? "SQLite" : "PostgreSQL";
}

void BackendTest::SetUp() {
    if (!needsBackend(GetParam())) {
        return;
    }
    const QString cluster = GetParam() == db::Backend::Postgres ? postgresCluster() : QString();
    if (HasFatalFailure()) {
        return;
    }
    temp_ = std::make_unique<TempDatabase>(GetParam(), &office::officeCatalogue(), cluster);
}

void BackendTest::TearDown() {
    temp_.reset();
}

}  // namespace orv::test
