#pragma once

#include <QStringList>

#include <cstdint>
#include <map>

namespace orv::db {
class Database;
}

namespace orv::load {

// One employee's seconds as the office database holds them after a run.
struct EmployeeAccount {
    std::int64_t expected = 0;  // simulated working time minus pauses, from the run
    // Services booked for the employee, in seconds: dmAnzahl x 3600, exact for every service
    // above the minimum of 0,01 hours.
    std::int64_t booked = 0;
    // Services of exactly 0,01 hours: each stands for 0 to 36 recorded seconds.
    int minimumServices = 0;
    // Provisional entry rows still in tLeistungZeiterfassung (a day that was not closed).
    std::int64_t provisional = 0;
    int provisionalRows = 0;    // all provisional rows left, orders included
    std::int64_t loggedIn = 0;  // closed logins of kind 0
    int openLogins = 0;

    // Recorded seconds lie in [lowest, highest]; exact when no minimum service was booked.
    std::int64_t lowest() const { return booked - 36 * minimumServices + provisional; }
    std::int64_t highest() const { return booked + provisional; }
};

struct CheckResult {
    std::map<std::int32_t, EmployeeAccount> accounts;
    QStringList failures;  // one German line per employee whose seconds do not add up
    bool ok() const { return failures.isEmpty(); }
};

// Compares, for every employee of the run, the seconds the database holds with the simulated
// working time: expected maps employee ids to their simulated time minus pauses.
CheckResult checkAccounting(db::Database& database,
                            const std::map<std::int32_t, std::int64_t>& expected);

}  // namespace orv::load
