// Losing the database server. The restart case restarts the shared test cluster; CTest runs it
// alone (see tests/CMakeLists.txt).

#include "TestDatabases.h"

#include "office/procedures/OfficeCatalogue.h"
#include "persistence/DbService.h"
#include "persistence/driver/Connection.h"
#include "session/diagnostics/OrvError.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace orv::db {
namespace {

class ServerConnectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::needsBackend(Backend::Postgres)) {
            return;
        }
        temp_ = std::make_unique<test::TempDatabase>(Backend::Postgres, &office::officeCatalogue());
        db().connection()->executeScript("CREATE TABLE tTest (dnMenge INTEGER)");
    }

    Database& db() { return temp_->database(); }

    int countRows() {
        DbService s(db());
        s.OpenQuery(QStringLiteral("SELECT COUNT(*) AS n FROM tTest"));
        return s.FieldLong("n");
    }

    std::unique_ptr<test::TempDatabase> temp_;
};

TEST_F(ServerConnectionTest, ServerRestartIsSurvivedByTheNextOpen) {
    const QByteArray restart = qgetenv("ORV_TEST_PG_RESTART");
    if (!test::needs(!restart.isEmpty(), "ORV_TEST_PG_RESTART")) {
        return;
    }
    DbService s(db());
    s.Open();
    s.Execute(QStringLiteral("INSERT INTO tTest (dnMenge) VALUES (1)"));
    s.Close();
    ASSERT_EQ(std::system(restart.constData()), 0);

    // The first statement on the dropped connection fails; the next Open connects afresh.
    s.Open();
    EXPECT_THROW(s.Execute(QStringLiteral("INSERT INTO tTest (dnMenge) VALUES (2)")), OrvError);
    s.Close();
    s.Open();
    EXPECT_EQ(s.Execute(QStringLiteral("INSERT INTO tTest (dnMenge) VALUES (3)")), 1);
    s.Close();
    EXPECT_EQ(countRows(), 2);
}

TEST_F(ServerConnectionTest, KilledServerConnectionIsReplaced) {
    DbService s(db());
    s.Open();
    s.OpenQuery(QStringLiteral("SELECT pg_backend_pid() AS pid"));
    const int pid = s.FieldLong("pid");
    s.Close();
    Database admin(DbTarget::postgres(test::TempDatabase::clusterConninfo()));
    admin.connection()->executeScript("SELECT pg_terminate_backend(" + std::to_string(pid) + ")");

    s.Open();
    EXPECT_THROW(s.Execute(QStringLiteral("INSERT INTO tTest (dnMenge) VALUES (1)")), OrvError);
    s.Close();
    s.Open();
    EXPECT_EQ(s.Execute(QStringLiteral("INSERT INTO tTest (dnMenge) VALUES (2)")), 1);
    s.OpenQuery(QStringLiteral("SELECT pg_backend_pid() AS pid"));
    EXPECT_NE(s.FieldLong("pid"), pid);
}

}  // namespace
}  // namespace orv::db
