#include "persistence/driver/PgConnection.h"

#include "persistence/FaultInjector.h"
#include "persistence/SqlDateText.h"
#include "persistence/driver/DriverError.h"

#include <libpq-fe.h>

#include <QTimeZone>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>
#include <vector>

namespace orv::db {
namespace {

constexpr const char* kName = "PostgreSQL";

// Without a limit, a server host that stopped answering holds the workstation for as long as the
// operating system keeps the socket waiting, minutes or more. Half a minute, because a busy server
// that a whole office connects to at nine o'clock takes its time to answer each. The connection
// string's own setting, or PGCONNECT_TIMEOUT, still decides when there is one.
QString withConnectTimeout(const QString& conninfo) {
    if (conninfo.contains(QLatin1String("connect_timeout")) ||
        qEnvironmentVariableIsSet("PGCONNECT_TIMEOUT")) {
        return conninfo;
    }
    const QString trimmed = conninfo.trimmed();
    if (trimmed.startsWith(QLatin1String("postgresql://")) ||
        trimmed.startsWith(QLatin1String("postgres://"))) {
        return trimmed +
               (trimmed.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) +
               QStringLiteral("connect_timeout=30");
    }
    return QStringLiteral("connect_timeout=30 ") + conninfo;
}

struct ResultDeleter {
    void operator()(PGresult* r) const { PQclear(r); }
};
using ResultPtr = std::unique_ptr<PGresult, ResultDeleter>;

class PgCursor final : public Cursor {
public:
    explicit PgCursor(ResultPtr result)
        : result_(std::move(result)), rows_(PQntuples(result_.get())) {}

    bool next() override { return ++row_ < rows_; }
    int columnCount() const override { return PQnfields(result_.get()); }
    std::string_view columnName(int column) const override {
        return PQfname(result_.get(), column);
    }
    bool isNull(int column) const override { return PQgetisnull(result_.get(), row_, column) != 0; }
    std::int64_t toInt64(int column) const override {
        const std::string_view t = text(column);
        if (t == "t") {
            return 1;
        }
        std::int64_t value = 0;
        const auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
        if (ec == std::errc() && ptr != t.data() + t.size() && *ptr == '.') {
            return static_cast<std::int64_t>(toDouble(column));
        }
        return value;
    }
    double toDouble(int column) const override {
        const std::string_view t = text(column);
        double value = 0;
        std::from_chars(t.data(), t.data() + t.size(), value);
        return value;
    }
    bool toBool(int column) const override {
        const std::string_view t = text(column);
        if (t == "t" || t == "true") {
            return true;
        }
        if (t == "f" || t == "false" || t.empty()) {
            return false;
        }
        return toDouble(column) != 0.0;
    }
    QString toText(int column) const override {
        const std::string_view t = text(column);
        return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
    }
    QDateTime toDate(int column) const override {
        if (isNull(column)) {
            return {};
        }
        return parseSqlDate(text(column));
    }

    bool readInt64(int column, std::int64_t& out) const override {
        if (PQgetisnull(result_.get(), row_, column) != 0) {
            return false;
        }
        const std::string_view t = text(column);
        const auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), out);
        if (ec != std::errc() || ptr != t.data() + t.size()) {
            out = toInt64(column);  // booleans and numbers with decimals
        }
        return true;
    }
    bool readText(int column, QString& out) const override {
        if (PQgetisnull(result_.get(), row_, column) != 0) {
            return false;
        }
        const std::string_view t = text(column);
        out = QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
        return true;
    }
    bool readDate(int column, QDateTime& out) const override {
        if (PQgetisnull(result_.get(), row_, column) != 0) {
            return false;
        }
        out = parseSqlDate(text(column));
        return true;
    }

private:
    std::string_view text(int column) const {
        return {PQgetvalue(result_.get(), row_, column),
                static_cast<std::size_t>(PQgetlength(result_.get(), row_, column))};
    }

    ResultPtr result_;
    int rows_;
    int row_ = -1;
};

void ignoreNotice(void*, const char*) {}

// Parameters go to the server as text; NULL as a null pointer.
struct TextParams {
    std::vector<QByteArray> storage;
    std::vector<const char*> values;

    explicit TextParams(std::span<const DbValue> params) {
        storage.reserve(params.size());
        values.reserve(params.size());
        for (const DbValue& v : params) {
            if (isNull(v)) {
                storage.emplace_back();
                values.push_back(nullptr);
                continue;
            }
            if (const auto* t = std::get_if<QDateTime>(&v)) {
                storage.push_back(formatSqlDateUtf8(*t));
            } else {
                storage.push_back(toText(v).toUtf8());
            }
            values.push_back(storage.back().constData());
        }
    }
};

}  // namespace

struct PgConnection::Result {
    ResultPtr result;
};

PgConnection::PgConnection(const QString& conninfo, FaultInjector& faults) : faults_(faults) {
    conn_ = PQconnectdb(withConnectTimeout(conninfo).toUtf8().constData());
    if (PQstatus(conn_) != CONNECTION_OK) {
        const std::string message = PQerrorMessage(conn_);
        PQfinish(conn_);
        conn_ = nullptr;
        throwDriverError(kName, "Keine Verbindung zum Datenbankserver: " + message, {});
    }
    PQsetNoticeProcessor(conn_, &ignoreNotice, nullptr);
    PQsetClientEncoding(conn_, "UTF8");
    ResultPtr r(PQexec(conn_, "SET datestyle TO ISO, YMD"));
    if (PQresultStatus(r.get()) != PGRES_COMMAND_OK) {
        const std::string message = PQerrorMessage(conn_);
        PQfinish(conn_);
        conn_ = nullptr;
        throwDriverError(kName, message, "SET datestyle TO ISO, YMD");
    }
    useWorkstationTimeZone();
}

// Dates are local times of the workstation; the server's own clock (pauses are stamped by it)
// must speak the same local time, whatever zone the server itself runs in.
void PgConnection::useWorkstationTimeZone() {
    const QByteArray zone = QTimeZone::systemTimeZoneId();
    const bool plainName = !zone.isEmpty() && std::all_of(zone.begin(), zone.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '/' || c == '_' || c == '-' ||
               c == '+';
    });
    if (plainName) {
        const std::string sql = "SET TimeZone TO '" + zone.toStdString() + "'";
        ResultPtr r(PQexec(conn_, sql.c_str()));
        if (PQresultStatus(r.get()) == PGRES_COMMAND_OK) {
            return;
        }
    }
    // A zone the server does not know: its current offset is right until the next change.
    const int offset = QDateTime::currentDateTime().offsetFromUtc();
    const std::string sql = "SET TimeZone TO " + std::to_string(offset / 3600.0);
    ResultPtr r(PQexec(conn_, sql.c_str()));
}

PgConnection::~PgConnection() {
    if (conn_ != nullptr) {
        PQfinish(conn_);
    }
}

bool PgConnection::isBroken() const {
    return conn_ == nullptr || PQstatus(conn_) == CONNECTION_BAD;
}

void PgConnection::throwStatementError(const char* message, std::string_view sql) const {
    // libpq tells a lost server in English; the user reads first what it means.
    if (isBroken()) {
        throwDriverError(
            kName,
            std::string("Die Verbindung zum Datenbankserver ist unterbrochen.\r\n") + message, sql);
    }
    throwDriverError(kName, message, sql);
}

const std::string& PgConnection::preparedName(std::string_view sql, int paramCount) {
    auto it = prepared_.find(sql);
    if (it != prepared_.end()) {
        return it->second;
    }
    std::string name = "orv" + std::to_string(prepared_.size() + 1);
    const std::string text(sql);
    ResultPtr r(PQprepare(conn_, name.c_str(), text.c_str(), paramCount, nullptr));
    if (PQresultStatus(r.get()) != PGRES_COMMAND_OK) {
        throwStatementError(PQerrorMessage(conn_), sql);
    }
    return prepared_.emplace(text, std::move(name)).first->second;
}

PgConnection::Result PgConnection::run(std::string_view sql, std::span<const DbValue> params) {
    faults_.beforeStatement(kName, sql);
    if (isBroken()) {
        throwDriverError(kName, "Die Verbindung zum Datenbankserver ist unterbrochen.", sql);
    }
    ResultPtr r;
    if (params.empty()) {
        const std::string text(sql);
        r.reset(PQexecParams(conn_, text.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0));
    } else {
        const std::string& name = preparedName(sql, static_cast<int>(params.size()));
        const TextParams text(params);
        r.reset(PQexecPrepared(conn_, name.c_str(), static_cast<int>(params.size()),
                               text.values.data(), nullptr, nullptr, 0));
    }
    const ExecStatusType status = PQresultStatus(r.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        const char* message = r ? PQresultErrorMessage(r.get()) : PQerrorMessage(conn_);
        if (message == nullptr || *message == '\0') {
            message = PQerrorMessage(conn_);
        }
        // A deadlock broken by the server, or a serialization failure: done again, it may pass.
        const char* state = r ? PQresultErrorField(r.get(), PG_DIAG_SQLSTATE) : nullptr;
        if (state != nullptr &&
            (std::string_view(state) == "40P01" || std::string_view(state) == "40001")) {
            throwDriverError(kName, message, sql, true);
        }
        throwStatementError(message, sql);
    }
    return Result{std::move(r)};
}

std::int64_t PgConnection::execute(std::string_view sql, std::span<const DbValue> params) {
    const Result r = run(sql, params);
    const char* tuples = PQcmdTuples(r.result.get());
    std::int64_t changed = 0;
    std::from_chars(tuples, tuples + std::char_traits<char>::length(tuples), changed);
    return changed;
}

std::unique_ptr<Cursor> PgConnection::query(std::string_view sql, std::span<const DbValue> params) {
    Result r = run(sql, params);
    return std::make_unique<PgCursor>(std::move(r.result));
}

void PgConnection::executeScript(std::string_view sql) {
    faults_.beforeStatement(kName, sql);
    if (isBroken()) {
        throwDriverError(kName, "Die Verbindung zum Datenbankserver ist unterbrochen.", sql);
    }
    const std::string text(sql);
    ResultPtr r(PQexec(conn_, text.c_str()));
    const ExecStatusType status = PQresultStatus(r.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        throwStatementError(PQerrorMessage(conn_), sql);
    }
}

}  // namespace orv::db
