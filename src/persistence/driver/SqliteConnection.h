#pragma once

#include "persistence/driver/Connection.h"

#include <QString>

#include <string>
#include <unordered_map>
#include <unordered_set>

struct sqlite3;
struct sqlite3_stmt;

namespace orv::db {

class FaultInjector;
class ProcedureCatalogue;

// The embedded office database: one file in WAL mode with synchronous=NORMAL. Prepared
// statements are kept per SQL text, the most recently used ones first.
class SqliteConnection final : public Connection {
public:
    SqliteConnection(const QString& path, const ProcedureCatalogue* catalogue,
                     FaultInjector& faults);
    ~SqliteConnection() override;

    Backend backend() const override { return Backend::Sqlite; }
    std::int64_t execute(std::string_view sql, std::span<const DbValue> params) override;
    std::unique_ptr<Cursor> query(std::string_view sql, std::span<const DbValue> params) override;
    void executeScript(std::string_view sql) override;
    bool isBroken() const override { return false; }

    // Hands a statement back to the cache once its cursor is done with it.
    void giveBack(sqlite3_stmt* stmt);

private:
    struct Cached {
        sqlite3_stmt* stmt = nullptr;
        bool inUse = false;
    };

    sqlite3_stmt* acquire(std::string_view sql);
    void bind(sqlite3_stmt* stmt, std::span<const DbValue> params, std::string_view sql);
    [[noreturn]] void fail(std::string_view sql);
    void registerFunctions(const ProcedureCatalogue& catalogue);
    void runScript(std::string_view sql);

    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };

    sqlite3* db_ = nullptr;
    FaultInjector& faults_;
    std::unordered_map<std::string, Cached, TextHash, std::equal_to<>> cache_;
    std::unordered_set<sqlite3_stmt*> uncached_;  // extra copies while a text is in use twice
};

}  // namespace orv::db
