#pragma once

#include "persistence/Backend.h"
#include "persistence/DbValue.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace orv::db {

// Rows of one query, read straight from the driver's buffers. Positioned before the first row.
class Cursor {
public:
    virtual ~Cursor() = default;

    virtual bool next() = 0;
    virtual int columnCount() const = 0;
    virtual std::string_view columnName(int column) const = 0;

    virtual bool isNull(int column) const = 0;
    virtual std::int64_t toInt64(int column) const = 0;
    virtual double toDouble(int column) const = 0;
    virtual bool toBool(int column) const = 0;
    virtual QString toText(int column) const = 0;
    virtual QDateTime toDate(int column) const = 0;

    // The same reads for a caller with a default: false for NULL, leaving out untouched. One
    // call per value where the driver can tell NULL and read at once.
    virtual bool readInt64(int column, std::int64_t& out) const;
    virtual bool readBool(int column, bool& out) const;
    virtual bool readText(int column, QString& out) const;
    virtual bool readDate(int column, QDateTime& out) const;
};

// One open connection of a driver. Statements with parameters name them $1, $2, ... in both
// dialects; they are prepared once and kept for the connection's life.
class Connection {
public:
    virtual ~Connection() = default;

    virtual Backend backend() const = 0;

    // Runs a statement and returns the number of rows it changed.
    virtual std::int64_t execute(std::string_view sql, std::span<const DbValue> params = {}) = 0;
    virtual std::unique_ptr<Cursor> query(std::string_view sql,
                                          std::span<const DbValue> params = {}) = 0;
    // Several statements without parameters, as migrations need them.
    virtual void executeScript(std::string_view sql) = 0;

    // True once the server has gone away; the next borrower gets a new connection.
    virtual bool isBroken() const = 0;

    // Transactions nest: inner levels become savepoints.
    void begin();
    void commit();
    void rollback();
    int transactionDepth() const { return transactionDepth_; }

private:
    int transactionDepth_ = 0;
};

// Commits on commit(), rolls back when left through an exception.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Connection& connection_;
    bool done_ = false;
};

}  // namespace orv::db
