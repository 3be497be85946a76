#pragma once

#include "persistence/DbValue.h"
#include "persistence/IdentifierCompare.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orv::db {

class Connection;
class Cursor;
class Database;

// Runs SQL text and reads rows. Each use opens it, runs one statement or a short series and
// closes it; Open borrows the thread's connection of the office database and Close gives it back.
class DbService {
public:
    explicit DbService(Database& database);
    ~DbService();
    DbService(const DbService&) = delete;
    DbService& operator=(const DbService&) = delete;

    bool Open();
    void Close();

    // Returns 1 when the query yielded a row, which is then current, else 0. Callers only ask
    // whether rows came back; counting them first would cost SQLite a second pass.
    std::int32_t OpenQuery(const QString& sql, int options = 0, const QString& unused = {});
    // The same with values bound to $1, $2, ...: typed text never becomes part of SQL text.
    std::int32_t OpenQuery(const QString& sql, const Params& params);
    void CloseQuery();
    // Advances to the next row (direction 3); true while a row is current.
    bool Move(int direction = 3);

    // Runs a statement without rows; returns the number of rows it changed.
    std::int32_t Execute(const QString& sql);
    std::int32_t Execute(const QString& sql, const Params& params);

    // The current row's column, or the default when the value is NULL or no row is current.
    // Column names compare without regard to case; an unknown column is an error.
    bool FieldBool(std::string_view column, bool defaultValue = false) const;
    QDateTime FieldDate(std::string_view column, const QDateTime& defaultValue = {}) const;
    std::int32_t FieldLong(std::string_view column, std::int32_t defaultValue = 0) const;
    QString FieldText(std::string_view column, const QString& defaultValue = {}) const;

    // A date as the text of a literal; the caller wraps it in single quotes.
    static QString SqlDate(const QDateTime& value);

    bool isOpen() const { return connection_ != nullptr; }
    bool hasRow() const { return hasRow_; }

private:
    Connection& connection();
    std::int32_t openQuery(const QString& sql, std::span<const DbValue> params);
    std::int32_t execute(const QString& sql, std::span<const DbValue> params);
    int column(std::string_view name) const;  // -1 when no row is current

    Database& database_;
    std::shared_ptr<Connection> connection_;
    std::unique_ptr<Cursor> cursor_;
    bool hasRow_ = false;
    std::unordered_map<std::string_view, int, IdentifierHash, IdentifierEqual> columns_;

    // Readers ask for the same columns in the same order on every row, by the same literal
    // names: the order learnt on the first row answers later rows without hashing a name. The
    // name's bytes are kept, so a reused buffer holding another name cannot match.
    struct ColumnLookup {
        const char* address;
        std::string name;
        int index;
    };
    mutable std::vector<ColumnLookup> sequence_;
    mutable std::size_t position_ = 0;
};

}  // namespace orv::db
