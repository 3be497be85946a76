#include "BenchDatabases.h"

#include "office/demo/DemoData.h"
#include "office/procedures/OfficeCatalogue.h"
#include "office/schema/Migrations.h"
#include "persistence/driver/Connection.h"

#include <QRandomGenerator>

namespace orv::bench {

std::unique_ptr<BenchDatabase> BenchDatabase::create(db::Backend backend) {
    if (backend == db::Backend::Postgres) {
        QByteArray server = qgetenv("ORV_BENCH_PG");
        if (server.isEmpty()) {
            server = qgetenv("ORV_TEST_PG");
        }
        if (server.isEmpty()) {
            return nullptr;
        }
        return createOnServer(QString::fromLocal8Bit(server));
    }
    std::unique_ptr<BenchDatabase> b(new BenchDatabase());
    b->target_ = db::DbTarget::sqlite(b->dir_.filePath(QStringLiteral("bench.sqlite")));
    b->database_ = std::make_unique<db::Database>(b->target_, &office::officeCatalogue());
    office::migrate(*b->database_);
    return b;
}

std::unique_ptr<BenchDatabase> BenchDatabase::createDemoOffice(db::Backend backend) {
    std::unique_ptr<BenchDatabase> b = create(backend);
    if (b != nullptr) {
        office::loadDemoData(b->database());
    }
    return b;
}

std::unique_ptr<BenchDatabase> BenchDatabase::createOnServer(const QString& serverConninfo) {
    std::unique_ptr<BenchDatabase> b(new BenchDatabase());
    b->serverConninfo_ = serverConninfo;
    b->schema_ = "orv_b" + std::to_string(QRandomGenerator::global()->generate());
    db::Database admin(db::DbTarget::postgres(b->serverConninfo_));
    admin.connection()->executeScript("CREATE SCHEMA " + b->schema_);
    b->target_ = db::DbTarget::postgres(
        b->serverConninfo_ +
        QStringLiteral(" options='-c search_path=%1'").arg(QString::fromStdString(b->schema_)));
    b->database_ = std::make_unique<db::Database>(b->target_, &office::officeCatalogue());
    office::migrate(*b->database_);
    return b;
}

BenchDatabase::~BenchDatabase() {
    database_.reset();
    if (!schema_.empty() && !keep_) {
        db::Database admin(db::DbTarget::postgres(serverConninfo_));
        admin.connection()->executeScript("DROP SCHEMA " + schema_ + " CASCADE");
    }
}

std::string BenchDatabase::sqlitePath() const {
    return target_.sqlitePath.toStdString();
}

std::string BenchDatabase::conninfo() const {
    return target_.conninfo.toStdString();
}

}  // namespace orv::bench
