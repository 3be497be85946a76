#include "persistence/DbValue.h"

#include "persistence/SqlDateText.h"

#include <cmath>

namespace orv::db {

Currency Currency::fromDouble(double value) {
    return Currency{static_cast<std::int64_t>(std::nearbyint(value * 10000.0))};
}

QString Currency::toSqlText() const {
    const std::int64_t magnitude = tenThousandths < 0 ? -tenThousandths : tenThousandths;
    return QStringLiteral("%1%2.%3")
        .arg(tenThousandths < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 10000)
        .arg(magnitude % 10000, 4, 10, QLatin1Char('0'));
}

bool isNull(const DbValue& value) {
    if (std::holds_alternative<std::monostate>(value)) {
        return true;
    }
    const auto* date = std::get_if<QDateTime>(&value);
    return date != nullptr && !date->isValid();
}

std::int64_t toInt64(const DbValue& value) {
    return std::visit(
        [](const auto& v) -> std::int64_t {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::int64_t>) {
                return v;
            } else if constexpr (std::is_same_v<T, Currency>) {
                return static_cast<std::int64_t>(std::nearbyint(v.toDouble()));
            } else if constexpr (std::is_same_v<T, double>) {
                return static_cast<std::int64_t>(std::nearbyint(v));
            } else if constexpr (std::is_same_v<T, QString>) {
                return v.trimmed().toLongLong();
            } else {
                return 0;
            }
        },
        value);
}

QString toText(const DbValue& value) {
    return std::visit(
        [](const auto& v) -> QString {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::int64_t>) {
                return QString::number(v);
            } else if constexpr (std::is_same_v<T, Currency>) {
                return v.toSqlText();
            } else if constexpr (std::is_same_v<T, double>) {
                return QString::number(v, 'g', 17);
            } else if constexpr (std::is_same_v<T, QString>) {
                return v;
            } else if constexpr (std::is_same_v<T, QDateTime>) {
                return v.isValid() ? formatSqlDate(v) : QString();
            } else {
                return QString();
            }
        },
        value);
}

}  // namespace orv::db
