#include "SessionTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using namespace office::demo;

QDateTime at(int day, int hour, int minute, int second = 0) {
    return QDateTime(QDate(2026, 3, day), QTime(hour, minute, second));
}

QString dateText(const QDateTime& value) {
    return value.isValid() ? db::DbService::SqlDate(value) : QStringLiteral("NULL");
}

// The tests set up the logins they need: the one the start wrote goes first.
class GatewayTest : public test::SessionTest {
protected:
    // An explicit id only to stand for the session's current login.
    void addLogin(std::int32_t employee, const QDateTime& von, const QDateTime& bis,
                  std::int32_t id = 0) {
        const auto sql = [](const QDateTime& t) {
            return t.isValid() ? QLatin1Char('\'') + dateText(t) + QLatin1Char('\'') : dateText(t);
        };
        execute(QStringLiteral("INSERT INTO tLeistungZeiterfassungLogins (%1Ps_Id,"
                               " LeistungserfassungAnmeldung, LeistungserfassungAbmeldung)"
                               " VALUES (%2%3, %4, %5)")
                    .arg(id ? QStringLiteral("idLeistungZeiterfassungLogin, ") : QString(),
                         id ? QString::number(id) + QStringLiteral(", ") : QString(),
                         QString::number(employee), sql(von), sql(bis)));
    }
    void noLogins() { execute(QStringLiteral("DELETE FROM tLeistungZeiterfassungLogins")); }
};

// Each login added in turn, and the newest logout found, which offers a gap when it is today's.
TEST_P(GatewayTest, LoginOfTodayIsTheNewestClosedLoginOtherThanTheCurrentOne) {
    noLogins();
    const std::tuple<std::int32_t, QDateTime, QDateTime, std::int32_t, const char*> cases[] = {
        // The session's current login is no earlier login.
        {kEmployeeWithRights, at(16, 6, 50), at(16, 7, 0), session_->LoginId(), "NULL"},
        // Another employee's logout, an open login of the employee and yesterday tell nothing.
        {kEmployeeWithoutRights, at(16, 6, 0), at(16, 7, 30), 0, "NULL"},
        {kEmployeeWithRights, at(16, 7, 45), QDateTime(), 0, "NULL"},
        {kEmployeeWithRights, at(15, 14, 0), at(15, 23, 59, 58), 0, "2026-03-15 23:59:59"},
        // Up to the last second of yesterday: the gap starts at midnight. The open login must
        // not hide it, though NULL sorts first in descending order on PostgreSQL.
        {kEmployeeWithRights, at(15, 20, 0), at(15, 23, 59, 59), 0, "2026-03-16 00:00:00"},
        {kEmployeeWithRights, at(16, 6, 0), at(16, 6, 30), 0, "2026-03-16 06:30:01"},
    };
    ASSERT_GT(session_->LoginId(), 0);
    for (const auto& [employee, von, bis, id, found] : cases) {
        addLogin(employee, von, bis, id);
        QDateTime lastLogout;
        EXPECT_EQ(gateway().ExistiertLoginHeute(lastLogout),
                  QString(found).startsWith("2026-03-16"));
        EXPECT_EQ(dateText(lastLogout), found);
    }
}

// A period that shares only its begin with a login's end, or time with another employee's
// login, is free; one that ends before it begins never is. (Overlaps the external time's window
// shows.)
TEST_P(GatewayTest, LoginPruefenRefusesPeriodsSharingTimeWithALogin) {
    noLogins();
    addLogin(kEmployeeWithRights, at(16, 6, 0), at(16, 7, 0));
    addLogin(kEmployeeWithoutRights, at(16, 9, 0), at(16, 10, 0));
    EXPECT_TRUE(gateway().LoginPruefen(at(16, 7, 0), at(16, 8, 0)));
    EXPECT_TRUE(gateway().LoginPruefen(at(16, 9, 0), at(16, 10, 0)));
    EXPECT_FALSE(gateway().LoginPruefen(at(16, 12, 0), at(16, 11, 0)));
    EXPECT_FALSE(gateway().LoginPruefen(at(16, 6, 30), at(16, 7, 30)));
}

TEST_P(GatewayTest, LogOutClosesEveryOpenLoginOfTheEmployeeAtTheClocksTime) {
    noLogins();
    addLogin(kEmployeeWithRights, at(15, 8, 0), at(15, 16, 0));
    addLogin(kEmployeeWithoutRights, at(16, 7, 0), QDateTime());
    addLogin(kEmployeeWithRights, at(16, 7, 15), QDateTime());
    EXPECT_GT(gateway().LogIn(at(16, 8, 0)), 0);
    clock().set(at(16, 17, 30));
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

ORV_INSTANTIATE_FOR_BACKENDS(GatewayTest);

}  // namespace
}  // namespace orv
