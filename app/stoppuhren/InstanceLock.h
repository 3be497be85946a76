#pragma once

#include "persistence/DbTarget.h"

#include <QString>

#include <cstdint>
#include <memory>

class QLockFile;

namespace orv::db {
class Database;
}

namespace orv::stoppuhren {

// One employee's stopwatches run once per office database: a second program for the same
// employee would count every second twice. On PostgreSQL the server holds the lock for the
// program's own connection, so it works across workstations and goes with a crashed program's
// connection; on SQLite a lock file next to the database, which a crashed program's successor
// recognises as stale.
class InstanceLock {
public:
    InstanceLock(const db::DbTarget& target, std::int32_t employeeId);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another program holds the employee's stopwatches; `error` then says so in
    // German.
    bool acquire(QString& error);

private:
    db::DbTarget target_;
    std::int32_t employeeId_;
    std::unique_ptr<db::Database> lockDatabase_;  // the connection that holds the server's lock
    std::unique_ptr<QLockFile> lockFile_;
};

}  // namespace orv::stoppuhren
