// The office load tool on real databases: a small office's simulated day adds up to the second,
// and the check finds seconds that are missing, counted twice or left behind.

#include "TestDatabases.h"
#include "TestQueries.h"

#include "load/AccountingCheck.h"
#include "load/LoadOffice.h"
#include "load/OfficeRun.h"

#include "persistence/driver/Connection.h"

#include <gtest/gtest.h>

#include <QDateTime>

namespace orv::test {
namespace {

using load::checkAccounting;
using load::kFirstEmployee;

class OfficeLoadTest : public BackendTest {
protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (HasFatalFailure() || IsSkipped()) {
            return;
        }
        office_ = load::prepareLoadOffice(database(), 3, 6);
    }

    void execute(std::string_view sql, const db::Params& params = {}) {
        database().connection()->execute(sql, params);
    }
    // A booked service of the employee on the first load order.
    void service(std::int32_t employee, const char* hours) {
        execute(
            "INSERT INTO tLeistung (flMitarbeiter, flAuftrag, dmAnzahl, dtAngelegt) VALUES"
            " ($1, $2, $3, '2026-03-16 18:00:00')",
            {std::int64_t{employee}, std::int64_t{office_.orders.front()},
             QString::fromLatin1(hours)});
    }
    void login(std::int32_t employee, const QTime& from, const QTime& to) {
        const QDate day(2026, 3, 16);
        execute(
            "INSERT INTO tLeistungZeiterfassungLogins (Ps_Id, LeistungserfassungAnmeldung,"
            " LeistungserfassungAbmeldung, LoginArt) VALUES ($1, $2, $3, 0)",
            {std::int64_t{employee}, QDateTime(day, from),
             to.isValid() ? db::DbValue{QDateTime(day, to)} : db::DbValue{}});
    }

    load::LoadOffice office_;
};

TEST_P(OfficeLoadTest, ASmallOfficesDayAddsUpToTheSecond) {
    // Concurrent sessions of an office share a server; SQLite serves one workstation.
    if (backend() != db::Backend::Postgres) {
        GTEST_SKIP() << "Gleichzeitige Sitzungen eines Büros laufen auf PostgreSQL.";
    }
    const load::RunReport report =
        load::runOffice(database(), office_, {.sessions = 3, .days = 1, .seed = 7, .tempo = 0});

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
    const load::CheckResult check = checkAccounting(database(), expected);
    EXPECT_TRUE(check.ok()) << check.failures.join(QLatin1Char('\n')).toStdString();
    for (const auto& [employee, a] : check.accounts) {
        EXPECT_TRUE(a.loggedIn == a.expected && a.provisionalRows == 0 && a.booked > 0) << employee;
    }
}

// Booked hours count to the second, a minimum service as a bound; lost seconds, rows left and
// open logins are named per employee.
TEST_P(OfficeLoadTest, TheCheckCountsBookedHoursAndNamesWhatIsWrong) {
    const std::int32_t anna = kFirstEmployee;
    const std::int32_t ben = kFirstEmployee + 1;
    const std::int32_t carla = kFirstEmployee + 2;
    // 1,5 hours, 0,0172 hours (62 seconds) and the minimum for anything up to 36 seconds.
    service(anna, "1.5");
    service(anna, "0.0172");
    service(anna, "0.01");
    login(anna, QTime(8, 0), QTime(9, 31, 22));
    // Ben's day was not closed: an order row of 10 minutes and its entry of 10 minutes.
    execute(
        "INSERT INTO tLeistungZeiterfassung (ps_id, idAuftrag, VorgangKey, VorgangParentId,"
        " VorgangParentKey, Status, Sekunden) VALUES ($1, $2, 'a1', 0, NULL, 2, 600),"
        " ($1, $2, NULL, 1, 'a1', 2, 600)",
        {std::int64_t{ben}, std::int64_t{office_.orders.front()}});
    login(ben, QTime(8, 0), QTime(8, 10));
    // Carla booked an hour but her session never logged out.
    service(carla, "1.0");
    login(carla, QTime(8, 0), QTime());

    const auto exact = checkAccounting(database(), {{anna, 5400 + 62 + 20}});
    EXPECT_TRUE(exact.ok()) << exact.failures.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(exact.accounts.at(anna).lowest(), 5400 + 62);
    EXPECT_EQ(exact.accounts.at(anna).highest(), 5400 + 62 + 36);

    // One second more than Anna's services can hold, and her logins do not match either.
    const auto check = checkAccounting(database(), {{anna, 5499}, {ben, 600}, {carla, 3600}});
    ASSERT_EQ(check.failures.size(), 3) << check.failures.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(
        check.failures[0].contains(QStringLiteral("erfasst 5462 bis 5498 s statt 5499 s")) &&
        check.failures[0].contains(QStringLiteral("angemeldet 5482 s statt 5499 s")))
        << check.failures[0].toStdString();
    EXPECT_EQ(check.failures[1],
              QStringLiteral("Mitarbeiter 1002: 2 vorläufige Zeile(n) nach dem Tagesabschluss "
                             "übrig"));
    EXPECT_EQ(check.accounts.at(ben).provisional, 600);
    EXPECT_EQ(check.failures[2],
              QStringLiteral("Mitarbeiter 1003: angemeldet 0 s statt 3600 s; 1 offene "
                             "Anmeldung(en)"));
}

ORV_INSTANTIATE_FOR_BACKENDS(OfficeLoadTest);

}  // namespace
}  // namespace orv::test
