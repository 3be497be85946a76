#include "persistence/DbService.h"

#include "persistence/Database.h"
#include "persistence/SqlDateText.h"
#include "persistence/driver/Connection.h"
#include "session/diagnostics/OrvError.h"

#include <cstring>
#include <limits>

namespace orv::db {
namespace {

std::int32_t clampToLong(std::int64_t value) {
    if (value > std::numeric_limits<std::int32_t>::max() ||
        value < std::numeric_limits<std::int32_t>::min()) {
        throw OrvError(err::kOverflow, QStringLiteral("DbService"), QStringLiteral("Überlauf"));
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

DbService::DbService(Database& database) : database_(database) {}

DbService::~DbService() {
    Close();
}

bool DbService::Open() {
    if (connection_ == nullptr) {
        connection_ = database_.connection();
    }
    return true;
}

void DbService::Close() {
    CloseQuery();
    connection_.reset();
}

Connection& DbService::connection() {
    // A statement on a service that was never opened opens it, as the office's objects do.
    Open();
    return *connection_;
}

std::int32_t DbService::OpenQuery(const QString& sql, int, const QString&) {
    return openQuery(sql, {});
}

std::int32_t DbService::OpenQuery(const QString& sql, const Params& params) {
    return openQuery(sql, params);
}

std::int32_t DbService::openQuery(const QString& sql, std::span<const DbValue> params) {
    CloseQuery();
    const QByteArray text = sql.toUtf8();
    cursor_ = connection().query(
        std::string_view(text.constData(), static_cast<std::size_t>(text.size())), params);
    const int count = cursor_->columnCount();
    columns_.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        // The first of two columns of the same name wins, as with the office's objects.
        columns_.emplace(cursor_->columnName(i), i);
    }
    hasRow_ = cursor_->next();
    return hasRow_ ? 1 : 0;
}

void DbService::CloseQuery() {
    columns_.clear();
    sequence_.clear();
    position_ = 0;
    cursor_.reset();
    hasRow_ = false;
}

bool DbService::Move(int direction) {
    if (direction != 3) {
        throw OrvError(err::kInvalidCall, QStringLiteral("DbService"),
                       QStringLiteral("Ungültige Bewegungsrichtung %1.").arg(direction));
    }
    if (!hasRow_) {
        return false;
    }
    position_ = 0;
    hasRow_ = cursor_->next();
    return hasRow_;
}

std::int32_t DbService::Execute(const QString& sql) {
    return execute(sql, {});
}

std::int32_t DbService::Execute(const QString& sql, const Params& params) {
    return execute(sql, params);
}

std::int32_t DbService::execute(const QString& sql, std::span<const DbValue> params) {
    const QByteArray text = sql.toUtf8();
    return clampToLong(connection().execute(
        std::string_view(text.constData(), static_cast<std::size_t>(text.size())), params));
}

int DbService::column(std::string_view name) const {
    if (cursor_ == nullptr) {
        return -1;
    }
    if (position_ < sequence_.size()) {
        const ColumnLookup& expected = sequence_[position_];
        if (expected.address == name.data() && expected.name == name) {
            ++position_;
            return hasRow_ ? expected.index : -1;
        }
    }
    const auto it = columns_.find(name);
    if (it == columns_.end()) {
        throw OrvError(
            3265, QStringLiteral("DbService"),
            QStringLiteral("Die Spalte %1 gibt es in der Abfrage nicht.")
                .arg(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))));
    }
    // Learn the order while it is followed from the first field on; a reader that jumps about
    // simply keeps using the map.
    constexpr std::size_t kLongestSequence = 128;
    if (position_ == sequence_.size() && sequence_.size() < kLongestSequence) {
        sequence_.push_back(ColumnLookup{name.data(), std::string(name), it->second});
        ++position_;
    }
    return hasRow_ ? it->second : -1;
}

bool DbService::FieldBool(std::string_view name, bool defaultValue) const {
    const int c = column(name);
    bool value = defaultValue;
    if (c >= 0) {
        cursor_->readBool(c, value);
    }
    return value;
}

QDateTime DbService::FieldDate(std::string_view name, const QDateTime& defaultValue) const {
    const int c = column(name);
    QDateTime value;
    if (c >= 0 && cursor_->readDate(c, value)) {
        return value;
    }
    return defaultValue;
}

std::int32_t DbService::FieldLong(std::string_view name, std::int32_t defaultValue) const {
    const int c = column(name);
    std::int64_t value = defaultValue;
    if (c >= 0) {
        cursor_->readInt64(c, value);
    }
    return clampToLong(value);
}

QString DbService::FieldText(std::string_view name, const QString& defaultValue) const {
    const int c = column(name);
    QString value;
    if (c >= 0 && cursor_->readText(c, value)) {
        return value;
    }
    return defaultValue;
}

QString DbService::SqlDate(const QDateTime& value) {
    return formatSqlDate(value);
}

}  // namespace orv::db
