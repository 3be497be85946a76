#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace orv::db {
class Database;
}

namespace orv::stoppuhren {

struct Employee {
    std::int32_t id = 0;
    std::int32_t number = 0;
    QString name;
};

// The office's employees, by number.
std::vector<Employee> officeEmployees(db::Database& database);

// The small login window of the desktop program: the employee picks their name. 0 when they
// cancel or the office has no employees (then they are told).
std::int32_t chooseEmployee(db::Database& database);

}  // namespace orv::stoppuhren
