#pragma once

#include <cstdint>
#include <vector>

namespace orv::db {
class Database;
}

namespace orv::load {

// The office a load run works in: the demo office, the run's employees and the office orders
// they record their time on.
struct LoadOffice {
    std::vector<std::int32_t> employees;
    std::vector<std::int32_t> orders;
    // The order on which every employee books the day's idle time at the day closing.
    std::int32_t idleBookingOrder = 0;
};

// The first employee id of a run; the run's employees follow without gaps. Far above the demo
// office's employees, so that none of them is the administrative employee.
inline constexpr std::int32_t kFirstEmployee = 1001;

// Migrates the database, loads the demo office and adds the employees (with the rights to edit,
// sum and browse) and the office orders. The database must not hold a run's employees yet.
LoadOffice prepareLoadOffice(db::Database& database, int employees, int orders);

}  // namespace orv::load
