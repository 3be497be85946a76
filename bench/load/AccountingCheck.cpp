#include "AccountingCheck.h"

#include "persistence/Database.h"
#include "persistence/DbValue.h"
#include "persistence/driver/Connection.h"

#include <QDateTime>

namespace orv::load {
namespace {

// 0,01 hours in ten-thousandths of an hour: the smallest service that booking writes.
constexpr std::int64_t kMinimumService = 100;

// Hours with four decimals back to seconds: 0,0001 hours are 0,36 seconds, so the nearest whole
// second is the one that was booked.
std::int64_t secondsOf(db::Currency hours) {
    return (hours.tenThousandths * 36 + 50) / 100;
}

}  // namespace

CheckResult checkAccounting(db::Database& database,
                            const std::map<std::int32_t, std::int64_t>& expected) {
    CheckResult result;
    if (expected.empty()) {
        return result;
    }
    for (const auto& [employee, seconds] : expected) {
        result.accounts[employee].expected = seconds;
    }
    const db::Params range{std::int64_t{expected.begin()->first},
                           std::int64_t{expected.rbegin()->first}};
    const auto account = [&](std::int64_t employee) -> EmployeeAccount* {
        const auto it = result.accounts.find(static_cast<std::int32_t>(employee));
        return it == result.accounts.end() ? nullptr : &it->second;
    };
    auto c = database.connection();
    {
        auto rows = c->query(
            "SELECT flMitarbeiter, dmAnzahl FROM tLeistung"
            " WHERE flMitarbeiter BETWEEN $1 AND $2",
            range);
        while (rows->next()) {
            if (EmployeeAccount* a = account(rows->toInt64(0))) {
                const db::Currency hours = db::Currency::fromDouble(rows->toDouble(1));
                a->booked += secondsOf(hours);
                if (hours.tenThousandths == kMinimumService) {
                    ++a->minimumServices;
                }
            }
        }
    }
    {
        // Order rows hold the sum of their entries, booked ones included: only entries count.
        auto rows = c->query(
            "SELECT ps_id, COUNT(*),"
            " COALESCE(SUM(CASE WHEN VorgangParentId > 0 THEN Sekunden ELSE 0 END), 0)"
            " FROM tLeistungZeiterfassung WHERE ps_id BETWEEN $1 AND $2 GROUP BY ps_id",
            range);
        while (rows->next()) {
            if (EmployeeAccount* a = account(rows->toInt64(0))) {
                a->provisionalRows = static_cast<int>(rows->toInt64(1));
                a->provisional = rows->toInt64(2);
            }
        }
    }
    {
        auto rows = c->query(
            "SELECT Ps_Id, LeistungserfassungAnmeldung, LeistungserfassungAbmeldung"
            " FROM tLeistungZeiterfassungLogins WHERE Ps_Id BETWEEN $1 AND $2 AND LoginArt = 0",
            range);
        while (rows->next()) {
            if (EmployeeAccount* a = account(rows->toInt64(0))) {
                if (rows->isNull(2)) {
                    ++a->openLogins;
                } else {
                    a->loggedIn += rows->toDate(1).secsTo(rows->toDate(2));
                }
            }
        }
    }
    for (const auto& [employee, a] : result.accounts) {
        QStringList wrong;
        if (a.expected < a.lowest() || a.expected > a.highest()) {
            wrong.append(a.minimumServices == 0
                             ? QStringLiteral("erfasst %1 s statt %2 s (Differenz %3 s)")
                                   .arg(a.highest())
                                   .arg(a.expected)
                                   .arg(a.highest() - a.expected)
                             : QStringLiteral("erfasst %1 bis %2 s statt %3 s")
                                   .arg(a.lowest())
                                   .arg(a.highest())
                                   .arg(a.expected));
        }
        if (a.loggedIn != a.expected) {
            wrong.append(
                QStringLiteral("angemeldet %1 s statt %2 s").arg(a.loggedIn).arg(a.expected));
        }
        if (a.openLogins > 0) {
            wrong.append(QStringLiteral("%1 offene Anmeldung(en)").arg(a.openLogins));
        }
        if (a.provisionalRows > 0) {
            wrong.append(QStringLiteral("%1 vorläufige Zeile(n) nach dem Tagesabschluss übrig")
                             .arg(a.provisionalRows));
        }
        if (!wrong.isEmpty()) {
            result.failures.append(QStringLiteral("Mitarbeiter %1: ").arg(employee) +
                                   wrong.join(QStringLiteral("; ")));
        }
    }
    return result;
}

}  // namespace orv::load
