// The office load tool on real databases: a small office's simulated day adds up to the second,
// and the check finds seconds that are missing, counted twice or left behind.

#include "TestDatabases.h"

#include "load/AccountingCheck.h"
#include "load/LoadOffice.h"
#include "load/OfficeRun.h"

#include "office/procedures/OfficeCatalogue.h"
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
            "INSERT INTO tLeistung (flMitarbeiter, flAuftrag, dmAnzahl, dtAngelegt)"
            " VALUES ($1, $2, $3, $4)",
            {std::int64_t{employee}, std::int64_t{office_.orders.front()},
             QString::fromLatin1(hours), QDateTime(QDate(2026, 3, 16), QTime(18, 0))});
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
    load::RunSettings settings;
    settings.sessions = 3;
    settings.days = 1;
    settings.tempo = 0;
    settings.seed = 7;
    const load::RunReport report = load::runOffice(database(), office_, settings);

    ASSERT_EQ(report.employees.size(), 3u);
    std::map<std::int32_t, std::int64_t> expected;
    for (const load::EmployeeResult& e : report.employees) {
        EXPECT_TRUE(e.problems.isEmpty()) << e.problems.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(e.daysClosed, 1);
        EXPECT_GT(e.switches, 10);
        EXPECT_GT(e.bookings + e.edits + e.rebookings, 5);
        // At least 7 hours from 08:30 to 16:30 less an hour's pause.
        EXPECT_GE(e.expectedSeconds, 7 * 3600);
        expected[e.employee] = e.expectedSeconds;
    }
    const load::CheckResult check = checkAccounting(database(), expected);
    EXPECT_TRUE(check.ok()) << check.failures.join(QLatin1Char('\n')).toStdString();
    for (const auto& [employee, a] : check.accounts) {
        EXPECT_EQ(a.loggedIn, a.expected) << employee;
        EXPECT_EQ(a.provisionalRows, 0) << employee;
        EXPECT_GT(a.booked, 0) << employee;
    }
}

TEST_P(OfficeLoadTest, BookedHoursCountToTheSecondAndTheMinimumServiceAsABound) {
    const std::int32_t anna = kFirstEmployee;
    // 1,5 hours, 0,0172 hours (62 seconds) and the minimum for anything up to 36 seconds.
    service(anna, "1.5");
    service(anna, "0.0172");
    service(anna, "0.01");
    login(anna, QTime(8, 0), QTime(9, 31, 22));

    const auto exact = checkAccounting(database(), {{anna, 5400 + 62 + 20}});
    EXPECT_TRUE(exact.ok()) << exact.failures.join(QLatin1Char('\n')).toStdString();
    const load::EmployeeAccount& a = exact.accounts.at(anna);
    EXPECT_EQ(a.highest(), 5400 + 62 + 36);
    EXPECT_EQ(a.lowest(), 5400 + 62);
    EXPECT_EQ(a.minimumServices, 1);
    EXPECT_EQ(a.loggedIn, 5400 + 62 + 20);  // 08:00:00 to 09:31:22

    // One second more than the services can hold, and the logins do not match either.
    const auto over = checkAccounting(database(), {{anna, 5400 + 62 + 37}});
    ASSERT_EQ(over.failures.size(), 1);
    EXPECT_TRUE(over.failures[0].contains(QStringLiteral("erfasst 5462 bis 5498 s statt 5499 s")))
        << over.failures[0].toStdString();
    EXPECT_TRUE(over.failures[0].contains(QStringLiteral("angemeldet 5482 s statt 5499 s")));
}

TEST_P(OfficeLoadTest, LostSecondsLeftRowsAndOpenLoginsAreNamedPerEmployee) {
    const std::int32_t anna = kFirstEmployee;
    const std::int32_t ben = kFirstEmployee + 1;
    const std::int32_t carla = kFirstEmployee + 2;
    service(anna, "1.0");
    login(anna, QTime(8, 0), QTime(9, 0));
    // Ben's day was not closed: an order row of 10 minutes and its entry of 10 minutes.
    execute(
        "INSERT INTO tLeistungZeiterfassung (ps_id, idAuftrag, VorgangKey, VorgangParentId,"
        " Status, Sekunden) VALUES ($1, $2, 'a1', 0, 2, 600)",
        {std::int64_t{ben}, std::int64_t{office_.orders.front()}});
    execute(
        "INSERT INTO tLeistungZeiterfassung (ps_id, idAuftrag, VorgangParentId,"
        " VorgangParentKey, Status, Sekunden) VALUES ($1, $2, 1, 'a1', 2, 600)",
        {std::int64_t{ben}, std::int64_t{office_.orders.front()}});
    login(ben, QTime(8, 0), QTime(8, 10));
    // Carla booked an hour but her session never logged out.
    service(carla, "1.0");
    login(carla, QTime(8, 0), QTime());

    const auto check = checkAccounting(database(), {{anna, 3599}, {ben, 600}, {carla, 3600}});
    ASSERT_EQ(check.failures.size(), 3) << check.failures.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(check.failures[0],
              QStringLiteral("Mitarbeiter 1001: erfasst 3600 s statt 3599 s (Differenz 1 s); "
                             "angemeldet 3600 s statt 3599 s"));
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
