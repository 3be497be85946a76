#include "SessionTestSupport.h"

#include "persistence/Dialect.h"
#include "persistence/FaultInjector.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace orv {
namespace {

using namespace office::demo;

QDateTime at(int month, int day, int hour, int minute, int second = 0) {
    return QDateTime(QDate(2026, month, day), QTime(hour, minute, second));
}

QString sqlDate(const QDateTime& value) {
    return value.isValid() ? QLatin1Char('\'') + db::DbService::SqlDate(value) + QLatin1Char('\'')
                           : QStringLiteral("NULL");
}

QString dateText(const QDateTime& value) {
    return value.isValid() ? db::DbService::SqlDate(value) : QStringLiteral("NULL");
}

class GatewayTest : public test::SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        // The start wrote the session's login; these tests set up the logins they need.
        if (!IsSkipped() && !HasFatalFailure()) {
            execute(QStringLiteral("DELETE FROM tLeistungZeiterfassungLogins"));
        }
    }

    QString settings() {
        return table(QStringLiteral("SELECT * FROM tBenutzerEinstellung ORDER BY dsSubKey, diKey"),
                     {"flMitarbeiter", "dsSubKey", "diKey", "dcValue", "diDataType"});
    }
    // An explicit id only to stand for the session's current login.
    void addLogin(std::int32_t employee, const QDateTime& von, const QDateTime& bis,
                  std::optional<std::int32_t> id = std::nullopt) {
        execute(QStringLiteral("INSERT INTO tLeistungZeiterfassungLogins (%1Ps_Id,"
                               " LeistungserfassungAnmeldung, LeistungserfassungAbmeldung)"
                               " VALUES (%2%3, %4, %5)")
                    .arg(id ? QStringLiteral("idLeistungZeiterfassungLogin, ") : QString(),
                         id ? QString::number(*id) + QStringLiteral(", ") : QString(),
                         QString::number(employee), sqlDate(von), sqlDate(bis)));
    }
    QString option(std::int32_t index) { return gateway().OptionsWertErmitteln(index); }
};

TEST_P(GatewayTest, LoginOfTodayIsTheNewestClosedLoginOtherThanTheCurrentOne) {
    const QDateTime untouched = at(1, 1, 12, 0);
    QDateTime lastLogout = untouched;
    // The session's current login is no earlier login.
    ASSERT_GT(session_->LoginId(), 0);
    addLogin(kEmployeeWithRights, at(3, 16, 6, 50), at(3, 16, 7, 0), session_->LoginId());
    EXPECT_FALSE(gateway().ExistiertLoginHeute(lastLogout));
    EXPECT_EQ(dateText(lastLogout), dateText(untouched));

    // Another employee's logout and an open login of the employee tell nothing.
    addLogin(kEmployeeWithoutRights, at(3, 16, 6, 0), at(3, 16, 7, 30));
    addLogin(kEmployeeWithRights, at(3, 16, 7, 45), QDateTime());
    EXPECT_FALSE(gateway().ExistiertLoginHeute(lastLogout));

    addLogin(kEmployeeWithRights, at(3, 15, 14, 0), at(3, 15, 23, 59, 58));
    EXPECT_FALSE(gateway().ExistiertLoginHeute(lastLogout));

    // Up to the last second of yesterday: the gap starts at midnight. The open login must not
    // hide it, though NULL sorts first in descending order on PostgreSQL.
    addLogin(kEmployeeWithRights, at(3, 15, 20, 0), at(3, 15, 23, 59, 59));
    EXPECT_TRUE(gateway().ExistiertLoginHeute(lastLogout));
    EXPECT_EQ(dateText(lastLogout), "2026-03-16 00:00:00");

    addLogin(kEmployeeWithRights, at(3, 16, 6, 0), at(3, 16, 6, 30));
    EXPECT_TRUE(gateway().ExistiertLoginHeute(lastLogout));
    EXPECT_EQ(dateText(lastLogout), "2026-03-16 06:30:01");
}

TEST_P(GatewayTest, LoginPruefenRefusesPeriodsSharingTimeWithALogin) {
    addLogin(kEmployeeWithRights, at(3, 16, 6, 0), at(3, 16, 7, 0));
    addLogin(kEmployeeWithoutRights, at(3, 16, 9, 0), at(3, 16, 10, 0));
    EXPECT_FALSE(gateway().LoginPruefen(at(3, 16, 6, 30), at(3, 16, 7, 30)));
    EXPECT_FALSE(gateway().LoginPruefen(at(3, 16, 5, 0), at(3, 16, 8, 0)));
    EXPECT_TRUE(gateway().LoginPruefen(at(3, 16, 7, 0), at(3, 16, 8, 0)));
    EXPECT_TRUE(gateway().LoginPruefen(at(3, 16, 9, 0), at(3, 16, 10, 0)));
    // A period that ends before it begins is never free.
    EXPECT_FALSE(gateway().LoginPruefen(at(3, 16, 12, 0), at(3, 16, 11, 0)));

    // An open login lasts until the workstation's real now, not beyond.
    QDateTime realNow = QDateTime::currentDateTime();
    realNow = realNow.addMSecs(-realNow.time().msec());
    addLogin(kEmployeeWithRights, realNow.addSecs(-7200), QDateTime());
    EXPECT_FALSE(gateway().LoginPruefen(realNow.addSecs(-3600), realNow.addSecs(-1800)));
    EXPECT_TRUE(gateway().LoginPruefen(realNow.addSecs(3600), realNow.addSecs(7200)));
}

TEST_P(GatewayTest, LogOutClosesEveryOpenLoginOfTheEmployeeAtTheClocksTime) {
    addLogin(kEmployeeWithRights, at(3, 15, 8, 0), at(3, 15, 16, 0));
    addLogin(kEmployeeWithoutRights, at(3, 16, 7, 0), QDateTime());
    addLogin(kEmployeeWithRights, at(3, 16, 7, 15), QDateTime());
    const std::int32_t id = gateway().LogIn(at(3, 16, 8, 0));
    EXPECT_EQ(table(QStringLiteral("SELECT * FROM tLeistungZeiterfassungLogins"
                                   " WHERE idLeistungZeiterfassungLogin = %1")
                        .arg(id),
                    {"Ps_Id", "LeistungserfassungAnmeldung", "LeistungserfassungAbmeldung"}),
              "7|2026-03-16 08:00:00|NULL");

    clock().set(at(3, 16, 17, 30));
    gateway().LogOut();
    EXPECT_EQ(
        table(QStringLiteral("SELECT * FROM tLeistungZeiterfassungLogins"
                             " ORDER BY idLeistungZeiterfassungLogin"),
              {"Ps_Id", "LeistungserfassungAnmeldung", "LeistungserfassungAbmeldung", "LoginArt"}),
        "7|2026-03-15 08:00:00|2026-03-15 16:00:00|0 / "
        "8|2026-03-16 07:00:00|NULL|0 / "
        "7|2026-03-16 07:15:00|2026-03-16 17:30:00|0 / "
        "7|2026-03-16 08:00:00|2026-03-16 17:30:00|0");
}

// Far from the database's time, the component's clock would show in a stamp; the end closes
// only the employee's open pauses.
TEST_P(GatewayTest, PausesAreStampedByTheDatabaseClock) {
    clock().set(QDateTime(QDate(2006, 1, 2), QTime(8, 0)));
    execute(
        QStringLiteral("INSERT INTO tLeistungZeiterfassungPausen (PauseVon, PauseBis, Ps_id)"
                       " VALUES ('2026-03-16 06:00:00', '2026-03-16 06:15:00', 7),"
                       " ('2026-03-16 07:00:00', NULL, 8), ('2026-03-16 07:10:00', NULL, 7)"));
    gateway().PauseBeginn();
    gateway().PausenEnde();
    db::DbService s(database());
    s.Open();
    s.OpenQuery(QStringLiteral("SELECT %1 AS n").arg(db::dialectFor(backend()).now));
    const QDateTime jetzt = s.FieldDate("n");
    QString pauses;
    for (bool more = s.OpenQuery(QStringLiteral("SELECT * FROM tLeistungZeiterfassungPausen"
                                                " ORDER BY idLeistungZeiterfassungPause")) == 1;
         more; more = s.Move(3)) {
        const auto stamp = [&](const char* column) {
            const QDateTime t = s.FieldDate(column);
            return t.isValid() && std::abs(t.secsTo(jetzt)) <= 5 ? QStringLiteral("jetzt")
                                                                 : dateText(t);
        };
        pauses += QString::number(s.FieldLong("Ps_id")) + '|' + stamp("PauseVon") + '|' +
                  stamp("PauseBis") + " / ";
    }
    EXPECT_EQ(pauses,
              "7|2026-03-16 06:00:00|2026-03-16 06:15:00 / 8|2026-03-16 07:00:00|NULL / "
              "7|2026-03-16 07:10:00|jetzt / 7|jetzt|jetzt / ");
}

// Options 0 to 2 are office settings, read at the start; 3, the office's global switch, is read
// anew each time. Only the idle booking order is ever written.
TEST_P(GatewayTest, OptionsAreReadEachTimeAndOnlyTheIdleBookingOrderIsWritten) {
    EXPECT_EQ(option(-1) + option(4) + option(3), "0");
    execute(QStringLiteral("UPDATE tGlobaleWerte SET dbWert = 1 WHERE dlNummer = 31"));
    EXPECT_EQ(option(3), "-1");
    EXPECT_TRUE(gateway().OptionsWertSchreiben(2, QStringLiteral("5003")));
    EXPECT_EQ(option(2), "5003");
    const QString written = settings();
    EXPECT_TRUE(written.contains(QLatin1String("0|ORV.Common.KOrg.Zeiterfassung|3|5003|3")));
    // Another option names no setting; a write that fails: the caller is told, nothing changes.
    for (const auto& [number, fails] : {std::pair{0, false}, std::pair{2, true}}) {
        if (fails) {
            faults().failStatement(1);
        }
        const int index = number;  // clang++ 14 captures no structured binding
        EXPECT_TRUE(test::failureOf(
            [&] { gateway().OptionsWertSchreiben(index, QStringLiteral("5004")); }));
        EXPECT_EQ(settings(), written);
    }
}

ORV_INSTANTIATE_FOR_BACKENDS(GatewayTest);

}  // namespace
}  // namespace orv
