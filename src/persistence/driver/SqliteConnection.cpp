#include "persistence/driver/SqliteConnection.h"

#include "persistence/FaultInjector.h"
#include "persistence/ProcedureCatalogue.h"
#include "persistence/SqlDateText.h"
#include "persistence/driver/DriverError.h"

#include <sqlite3.h>

#include <charconv>
#include <string>
#include <vector>

namespace orv::db {
namespace {

constexpr std::size_t kCacheLimit = 512;
constexpr const char* kName = "SQLite";

std::string_view columnTextView(sqlite3_stmt* stmt, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    if (text == nullptr) {
        return {};
    }
    return {text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column))};
}

class SqliteCursor final : public Cursor {
public:
    SqliteCursor(SqliteConnection& owner, const SqliteConnection::Lease& lease)
        : owner_(owner), lease_(lease), stmt_(lease.stmt) {}
    ~SqliteCursor() override { owner_.giveBack(lease_); }

    bool next() override {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) {
            return true;
        }
        if (rc == SQLITE_DONE) {
            return false;
        }
        throwDriverError(kName, sqlite3_errmsg(sqlite3_db_handle(stmt_)), sqlite3_sql(stmt_));
    }
    int columnCount() const override { return sqlite3_column_count(stmt_); }
    // Copied on first use: the first step re-prepares a statement whose plan depends on a bound
    // value (a LIKE pattern) and frees the names SQLite handed out before.
    std::string_view columnName(int column) const override {
        if (names_.empty()) {
            for (int i = 0; i < sqlite3_column_count(stmt_); ++i) {
                const char* name = sqlite3_column_name(stmt_, i);
                names_.emplace_back(name != nullptr ? name : "");
            }
        }
        return names_.at(static_cast<std::size_t>(column));
    }
    bool isNull(int column) const override {
        return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
    }
    std::int64_t toInt64(int column) const override {
        if (sqlite3_column_type(stmt_, column) == SQLITE_FLOAT) {
            return static_cast<std::int64_t>(sqlite3_column_double(stmt_, column));
        }
        return sqlite3_column_int64(stmt_, column);
    }
    double toDouble(int column) const override { return sqlite3_column_double(stmt_, column); }
    bool toBool(int column) const override {
        if (sqlite3_column_type(stmt_, column) == SQLITE_TEXT) {
            const std::string_view t = columnTextView(stmt_, column);
            return t == "t" || t == "true" || t == "-1" || t == "1";
        }
        return sqlite3_column_int64(stmt_, column) != 0;
    }
    QString toText(int column) const override {
        const std::string_view t = columnTextView(stmt_, column);
        return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
    }
    QDateTime toDate(int column) const override {
        if (sqlite3_column_type(stmt_, column) != SQLITE_TEXT) {
            return {};
        }
        return parseSqlDate(columnTextView(stmt_, column));
    }
    bool readInt64(int column, std::int64_t& out) const override {
        // NULL reads as 0: only a 0 needs the second question whether it was NULL.
        const std::int64_t value = sqlite3_column_int64(stmt_, column);
        if (value == 0 && sqlite3_column_type(stmt_, column) == SQLITE_NULL) {
            return false;
        }
        out = value;
        return true;
    }
    bool readText(int column, QString& out) const override {
        // A NULL value has no text at all, an empty text has an empty one.
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        if (text == nullptr) {
            return false;
        }
        out = QString::fromUtf8(text, sqlite3_column_bytes(stmt_, column));
        return true;
    }
    bool readDate(int column, QDateTime& out) const override {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        if (text == nullptr) {
            return false;
        }
        out = parseSqlDate({text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))});
        return true;
    }

private:
    SqliteConnection& owner_;
    SqliteConnection::Lease lease_;
    sqlite3_stmt* stmt_;
    mutable std::vector<std::string> names_;
};

struct FunctionContext {
    SqliteConnection* connection;
    const ScalarFunctionDef* def;
};

// Runs a catalogue function's SELECT on the calling connection and returns its first value.
void callCatalogueFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    auto* fc = static_cast<FunctionContext*>(sqlite3_user_data(ctx));
    try {
        std::vector<DbValue> args;
        args.reserve(static_cast<std::size_t>(argc));
        for (int i = 0; i < argc; ++i) {
            switch (sqlite3_value_type(argv[i])) {
                case SQLITE_INTEGER:
                    args.emplace_back(static_cast<std::int64_t>(sqlite3_value_int64(argv[i])));
                    break;
                case SQLITE_FLOAT:
                    args.emplace_back(sqlite3_value_double(argv[i]));
                    break;
                case SQLITE_NULL:
                    args.emplace_back(std::monostate{});
                    break;
                default:
                    args.emplace_back(QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_value_text(argv[i])),
                        sqlite3_value_bytes(argv[i])));
                    break;
            }
        }
        auto cursor = fc->connection->query(fc->def->sql, args);
        if (!cursor->next() || cursor->isNull(0)) {
            sqlite3_result_null(ctx);
        } else {
            sqlite3_result_int64(ctx, cursor->toInt64(0));
        }
    } catch (const std::exception& e) {
        sqlite3_result_error(ctx, e.what(), -1);
    }
}

void destroyFunctionContext(void* p) {
    delete static_cast<FunctionContext*>(p);
}

}  // namespace

SqliteConnection::SqliteConnection(const QString& path, const ProcedureCatalogue* catalogue,
                                   FaultInjector& faults)
    : faults_(faults) {
    const QByteArray file = path.toUtf8();
    const int rc =
        sqlite3_open_v2(file.constData(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throwDriverError(
            kName,
            "Die Datenbank " + file.toStdString() + " kann nicht geöffnet werden: " + message, {});
    }
    // A file that is no database opens fine and fails only here; the destructor will not run
    // for a constructor that throws, so the handle is closed on the way out.
    try {
        sqlite3_busy_timeout(db_, 10000);
        runScript("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;");
        if (catalogue != nullptr) {
            registerFunctions(*catalogue);
        }
    } catch (...) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw;
    }
}

SqliteConnection::~SqliteConnection() {
    for (auto& [sql, cached] : cache_) {
        sqlite3_finalize(cached.stmt);
    }
    sqlite3_close_v2(db_);
}

void SqliteConnection::registerFunctions(const ProcedureCatalogue& catalogue) {
    for (const ScalarFunctionDef& def : catalogue.functions()) {
        auto* ctx = new FunctionContext{this, &def};
        const int rc = sqlite3_create_function_v2(db_, def.name.c_str(), def.argumentCount,
                                                  SQLITE_UTF8, ctx, &callCatalogueFunction, nullptr,
                                                  nullptr, &destroyFunctionContext);
        if (rc != SQLITE_OK) {
            fail(def.name);
        }
    }
}

void SqliteConnection::fail(std::string_view sql) {
    throwDriverError(kName, sqlite3_errmsg(db_), sql);
}

SqliteConnection::Lease SqliteConnection::acquire(std::string_view sql) {
    auto it = cache_.find(sql);
    if (it != cache_.end() && !it->second.inUse) {
        it->second.inUse = true;
        return Lease{it->second.stmt, &it->second};
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                           &stmt, nullptr) != SQLITE_OK) {
        fail(sql);
    }
    if (it != cache_.end()) {
        return Lease{stmt, nullptr};
    }
    if (cache_.size() >= kCacheLimit) {
        for (auto c = cache_.begin(); c != cache_.end();) {
            if (c->second.inUse) {
                ++c;
            } else {
                sqlite3_finalize(c->second.stmt);
                c = cache_.erase(c);
            }
        }
    }
    Cached& cached = cache_.emplace(std::string(sql), Cached{stmt, true}).first->second;
    return Lease{stmt, &cached};
}

void SqliteConnection::giveBack(const Lease& lease) {
    if (lease.cached == nullptr) {
        sqlite3_finalize(lease.stmt);
        return;
    }
    sqlite3_reset(lease.stmt);
    if (lease.bound) {
        sqlite3_clear_bindings(lease.stmt);
    }
    lease.cached->inUse = false;
}

void SqliteConnection::bind(Lease& lease, std::span<const DbValue> params, std::string_view sql) {
    sqlite3_stmt* stmt = lease.stmt;
    lease.bound = !params.empty();
    char name[16];
    for (std::size_t i = 0; i < params.size(); ++i) {
        name[0] = '$';
        auto [end, ec] = std::to_chars(name + 1, name + sizeof(name) - 1, i + 1);
        *end = '\0';
        int index = sqlite3_bind_parameter_index(stmt, name);
        if (index == 0) {
            continue;  // the statement does not use this parameter
        }
        const DbValue& v = params[i];
        int rc = SQLITE_OK;
        if (isNull(v)) {
            rc = sqlite3_bind_null(stmt, index);
        } else if (const auto* n = std::get_if<std::int64_t>(&v)) {
            rc = sqlite3_bind_int64(stmt, index, *n);
        } else if (const auto* c = std::get_if<Currency>(&v)) {
            rc = sqlite3_bind_double(stmt, index, c->toDouble());
        } else if (const auto* d = std::get_if<double>(&v)) {
            rc = sqlite3_bind_double(stmt, index, *d);
        } else if (const auto* s = std::get_if<QString>(&v)) {
            const QByteArray utf8 = s->toUtf8();
            rc = sqlite3_bind_text(stmt, index, utf8.constData(), static_cast<int>(utf8.size()),
                                   SQLITE_TRANSIENT);
        } else if (const auto* t = std::get_if<QDateTime>(&v)) {
            const QByteArray text = formatSqlDateUtf8(*t);
            rc = sqlite3_bind_text(stmt, index, text.constData(), static_cast<int>(text.size()),
                                   SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK) {
            const std::string message = sqlite3_errmsg(db_);
            giveBack(lease);
            throwDriverError(kName, message, sql);
        }
    }
}

std::int64_t SqliteConnection::execute(std::string_view sql, std::span<const DbValue> params) {
    faults_.beforeStatement(kName, sql);
    Lease lease = acquire(sql);
    bind(lease, params, sql);
    int rc;
    while ((rc = sqlite3_step(lease.stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        const std::string message = sqlite3_errmsg(db_);
        giveBack(lease);
        throwDriverError(kName, message, sql);
    }
    giveBack(lease);
    return sqlite3_changes64(db_);
}

std::unique_ptr<Cursor> SqliteConnection::query(std::string_view sql,
                                                std::span<const DbValue> params) {
    faults_.beforeStatement(kName, sql);
    Lease lease = acquire(sql);
    bind(lease, params, sql);
    return std::make_unique<SqliteCursor>(*this, lease);
}

void SqliteConnection::executeScript(std::string_view sql) {
    faults_.beforeStatement(kName, sql);
    runScript(sql);
}

void SqliteConnection::runScript(std::string_view sql) {
    const std::string text(sql);
    char* message = nullptr;
    if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string copy = message != nullptr ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        throwDriverError(kName, copy, sql);
    }
}

}  // namespace orv::db
