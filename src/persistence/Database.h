#pragma once

#include "persistence/DbTarget.h"
#include "persistence/FaultInjector.h"

#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace orv::db {

class Connection;
class ProcedureCatalogue;

// The office database as the component reaches it: one connection per thread, opened on first
// use and kept (a PostgreSQL connection costs about 20 ms to open), replaced when the server
// dropped it. DbService and DbProcedure borrow the thread's connection for one call.
class Database {
public:
    explicit Database(DbTarget target, const ProcedureCatalogue* catalogue = nullptr);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const DbTarget& target() const { return target_; }
    Backend backend() const { return target_.backend; }
    const ProcedureCatalogue* catalogue() const { return catalogue_; }
    FaultInjector& faults() { return faults_; }

    // This thread's connection; a broken one is replaced by a fresh connection.
    std::shared_ptr<Connection> connection();
    // Closes this thread's connection, for a thread that is about to end.
    void releaseThreadConnection();

private:
    std::shared_ptr<Connection> open();

    DbTarget target_;
    const ProcedureCatalogue* catalogue_;
    FaultInjector faults_;
    std::mutex mutex_;
    std::unordered_map<std::thread::id, std::shared_ptr<Connection>> connections_;
};

}  // namespace orv::db
