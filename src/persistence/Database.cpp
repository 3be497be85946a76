#include "persistence/Database.h"

#include "persistence/driver/PgConnection.h"
#include "persistence/driver/SqliteConnection.h"

#include <utility>

namespace orv::db {

Database::Database(DbTarget target, const ProcedureCatalogue* catalogue)
    : target_(std::move(target)), catalogue_(catalogue) {}

Database::~Database() = default;

std::shared_ptr<Connection> Database::connection() {
    const std::thread::id self = std::this_thread::get_id();
    {
        std::lock_guard lock(mutex_);
        auto it = connections_.find(self);
        if (it != connections_.end() && !it->second->isBroken()) {
            return it->second;
        }
    }
    // Opening takes a while on a server; other threads need not wait for it.
    std::shared_ptr<Connection> fresh = open();
    std::lock_guard lock(mutex_);
    connections_[self] = fresh;
    return fresh;
}

void Database::releaseThreadConnection() {
    std::lock_guard lock(mutex_);
    connections_.erase(std::this_thread::get_id());
}

std::shared_ptr<Connection> Database::open() {
    if (target_.backend == Backend::Sqlite) {
        return std::make_shared<SqliteConnection>(target_.sqlitePath, catalogue_, faults_);
    }
    return std::make_shared<PgConnection>(target_.conninfo, faults_);
}

}  // namespace orv::db
