#pragma once

#include "persistence/driver/Connection.h"

#include <QString>

#include <string>
#include <unordered_map>

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

    struct Cached {
        sqlite3_stmt* stmt = nullptr;
        bool inUse = false;
    };
    // A statement lent out for one run; without a cache entry it is a second copy of a text in
    // use and is finalized when handed back.
    struct Lease {
        sqlite3_stmt* stmt = nullptr;
        Cached* cached = nullptr;
        bool bound = false;
    };
    // Hands a statement back to the cache once its run or cursor is done with it.
    void giveBack(const Lease& lease);

private:
    Lease acquire(std::string_view sql);
    void bind(Lease& lease, std::span<const DbValue> params, std::string_view sql);
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
};

}  // namespace orv::db
