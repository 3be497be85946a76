#include "office/procedures/ProcedureSupport.h"

#include "persistence/SqlDateText.h"
#include "persistence/driver/Connection.h"
#include "session/diagnostics/OrvError.h"

#include <span>

namespace orv::office::procedures {
namespace {

std::span<const db::DbValue> asSpan(std::initializer_list<db::DbValue> params) {
    return {params.begin(), params.size()};
}

QString nameText(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

db::DbValue number(const db::ProcedureCall& call, std::string_view name) {
    return call.longValue(name);
}

db::DbValue text(const db::ProcedureCall& call, std::string_view name) {
    return call.textValue(name);
}

QDateTime date(const db::ProcedureCall& call, std::string_view name) {
    const db::DbValue& value = call.value(name);
    if (db::isNull(value)) {
        return {};
    }
    if (const auto* d = std::get_if<QDateTime>(&value)) {
        return *d;
    }
    if (const auto* t = std::get_if<QString>(&value)) {
        const QByteArray utf8 = t->trimmed().toUtf8();
        if (utf8.isEmpty()) {
            return {};
        }
        QDateTime parsed = db::parseSqlDate(
            std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
        if (parsed.isValid()) {
            return parsed;
        }
    }
    throw OrvError(err::kDatabase, QStringLiteral("Prozedur"),
                   QStringLiteral("Der Parameter %1 enthält kein gültiges Datum: \"%2\".")
                       .arg(nameText(name), db::toText(value)));
}

db::DbValue dateOrNull(const db::ProcedureCall& call, std::string_view name) {
    const QDateTime value = date(call, name);
    if (!value.isValid()) {
        return std::monostate{};
    }
    return value;
}

db::Currency amount(const db::ProcedureCall& call, std::string_view name) {
    const db::DbValue& value = call.value(name);
    if (const auto* c = std::get_if<db::Currency>(&value)) {
        return *c;
    }
    if (const auto* d = std::get_if<double>(&value)) {
        return db::Currency::fromDouble(*d);
    }
    if (const auto* n = std::get_if<std::int64_t>(&value)) {
        return db::Currency{*n * 10000};
    }
    if (const auto* t = std::get_if<QString>(&value)) {
        bool ok = false;
        const double parsed = t->trimmed().toDouble(&ok);
        if (ok) {
            return db::Currency::fromDouble(parsed);
        }
        if (!t->trimmed().isEmpty()) {
            throw OrvError(err::kDatabase, QStringLiteral("Prozedur"),
                           QStringLiteral("Der Parameter %1 enthält keine gültige Zahl: \"%2\".")
                               .arg(nameText(name), *t));
        }
    }
    return db::Currency{};
}

std::int64_t insertReturningId(db::Connection& connection, std::string_view sql,
                               std::initializer_list<db::DbValue> params) {
    auto cursor = connection.query(sql, asSpan(params));
    if (!cursor->next() || cursor->isNull(0)) {
        throw OrvError(err::kDatabase, QStringLiteral("Prozedur"),
                       QStringLiteral("Die Datenbank hat für die neue Zeile keinen Schlüssel "
                                      "vergeben.\r\nSQL: %1")
                           .arg(nameText(sql)));
    }
    return cursor->toInt64(0);
}

std::int64_t insertReturningIdOrZero(db::Connection& connection, std::string_view sql,
                                     std::initializer_list<db::DbValue> params) {
    auto cursor = connection.query(sql, asSpan(params));
    return cursor->next() && !cursor->isNull(0) ? cursor->toInt64(0) : 0;
}

bool rowExists(db::Connection& connection, std::string_view sql,
               std::initializer_list<db::DbValue> params) {
    return connection.query(sql, asSpan(params))->next();
}

std::int64_t execute(db::Connection& connection, std::string_view sql,
                     std::initializer_list<db::DbValue> params) {
    return connection.execute(sql, asSpan(params));
}

QDateTime workstationNow() {
    const QDateTime now = QDateTime::currentDateTime();
    const QTime time = now.time();
    return QDateTime(now.date(), QTime(time.hour(), time.minute(), time.second()));
}

}  // namespace orv::office::procedures
