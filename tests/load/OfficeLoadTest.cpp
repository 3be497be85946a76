// The office load tool on a real server, as a smoke test: a small office's simulated day adds up
// to the second.

#include "TestDatabases.h"

#include "load/AccountingCheck.h"
#include "load/LoadOffice.h"
#include "load/OfficeRun.h"

#include <gtest/gtest.h>

namespace orv::test {
namespace {

class OfficeLoadTest : public BackendTest {};

TEST_P(OfficeLoadTest, ASmallOfficesDayAddsUpToTheSecond) {
    // Concurrent sessions of an office share a server; SQLite serves one workstation.
    if (backend() != db::Backend::Postgres) {
        GTEST_SKIP() << "Gleichzeitige Sitzungen eines Büros laufen auf PostgreSQL.";
    }
    const load::LoadOffice office = load::prepareLoadOffice(database(), 3, 6);
    const load::RunReport report =
        load::runOffice(database(), office, {.sessions = 3, .days = 1, .seed = 7, .tempo = 0});
    ASSERT_EQ(report.employees.size(), 3u);
    std::map<std::int32_t, std::int64_t> expected;
    for (const load::EmployeeResult& e : report.employees) {
        EXPECT_TRUE(e.problems.isEmpty()) << e.problems.join(QLatin1Char('\n')).toStdString();
        // A closed day of real work: at least 7 hours from 08:30 to 16:30 less an hour's pause.
        EXPECT_TRUE(e.daysClosed == 1 && e.switches > 10 &&
                    e.bookings + e.edits + e.rebookings > 5 && e.expectedSeconds >= 7 * 3600)
            << e.employee;
        expected[e.employee] = e.expectedSeconds;
    }
    const load::CheckResult check = load::checkAccounting(database(), expected);
    EXPECT_TRUE(check.ok()) << check.failures.join(QLatin1Char('\n')).toStdString();
    for (const auto& [employee, a] : check.accounts) {
        EXPECT_TRUE(a.loggedIn == a.expected && a.provisionalRows == 0 && a.booked > 0) << employee;
    }
}

ORV_INSTANTIATE_FOR_BACKENDS(OfficeLoadTest);

}  // namespace
}  // namespace orv::test
