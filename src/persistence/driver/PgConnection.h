#pragma once

#include "persistence/driver/Connection.h"

#include <QString>

#include <string>
#include <unordered_map>

struct pg_conn;

namespace orv::db {

class FaultInjector;

// The office database server. Statements with parameters are prepared once per connection and
// then executed by name; results come back whole, so a query may run while another's rows are
// still being read on the same connection.
class PgConnection final : public Connection {
public:
    PgConnection(const QString& conninfo, FaultInjector& faults);
    ~PgConnection() override;

    Backend backend() const override { return Backend::Postgres; }
    std::int64_t execute(std::string_view sql, std::span<const DbValue> params) override;
    std::unique_ptr<Cursor> query(std::string_view sql, std::span<const DbValue> params) override;
    void executeScript(std::string_view sql) override;
    bool isBroken() const override;

private:
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };

    struct Result;
    Result run(std::string_view sql, std::span<const DbValue> params);
    const std::string& preparedName(std::string_view sql, int paramCount);
    void useWorkstationTimeZone();
    [[noreturn]] void throwStatementError(const char* message, std::string_view sql) const;

    pg_conn* conn_ = nullptr;
    FaultInjector& faults_;
    std::unordered_map<std::string, std::string, TextHash, std::equal_to<>> prepared_;
};

}  // namespace orv::db
