#include "persistence/driver/Connection.h"

#include <string>

namespace orv::db {

bool Cursor::readInt64(int column, std::int64_t& out) const {
    if (isNull(column)) {
        return false;
    }
    out = toInt64(column);
    return true;
}

bool Cursor::readBool(int column, bool& out) const {
    if (isNull(column)) {
        return false;
    }
    out = toBool(column);
    return true;
}

bool Cursor::readText(int column, QString& out) const {
    if (isNull(column)) {
        return false;
    }
    out = toText(column);
    return true;
}

bool Cursor::readDate(int column, QDateTime& out) const {
    if (isNull(column)) {
        return false;
    }
    out = toDate(column);
    return true;
}

void Connection::begin() {
    if (transactionDepth_ == 0) {
        // SQLite takes the write lock at once: a transaction that began by reading could not
        // write any more once another workstation wrote in between.
        execute(backend() == Backend::Sqlite ? "BEGIN IMMEDIATE" : "BEGIN");
    } else {
        execute("SAVEPOINT orv_sp" + std::to_string(transactionDepth_));
    }
    ++transactionDepth_;
}

void Connection::commit() {
    --transactionDepth_;
    if (transactionDepth_ == 0) {
        try {
            execute("COMMIT");
        } catch (...) {
            // A commit that failed (SQLite busy, a server gone) may leave the transaction open:
            // it ends here, so that nothing of it is kept later by the next one's commit.
            try {
                execute("ROLLBACK");
            } catch (...) {
                // A lost connection has no transaction left.
            }
            throw;
        }
    } else {
        execute("RELEASE SAVEPOINT orv_sp" + std::to_string(transactionDepth_));
    }
}

void Connection::rollback() {
    --transactionDepth_;
    if (transactionDepth_ == 0) {
        execute("ROLLBACK");
    } else {
        const std::string name = "orv_sp" + std::to_string(transactionDepth_);
        execute("ROLLBACK TO SAVEPOINT " + name);
        execute("RELEASE SAVEPOINT " + name);
    }
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
    connection_.begin();
}

Transaction::~Transaction() {
    if (!done_) {
        try {
            connection_.rollback();
        } catch (...) {
            // The statement that failed already carries the error; a lost connection
            // has no transaction left to roll back.
        }
    }
}

void Transaction::commit() {
    done_ = true;
    connection_.commit();
}

}  // namespace orv::db
