#include "persistence/DbValue.h"

#include "persistence/SqlDateText.h"

#include <algorithm>
#include <cmath>

namespace orv::db {

Currency Currency::fromDouble(double value) {
    // A decimal half such as 0.00015 is not exact in binary; treat what lies within rounding
    // noise of a half as the half and round it to even, as the office's runtime does.
    const double scaled = value * 10000.0;
    const double lower = std::floor(scaled);
    const double tolerance = 1e-9 * std::max(1.0, std::fabs(scaled));
    if (std::fabs(scaled - lower - 0.5) < tolerance) {
        const auto down = static_cast<std::int64_t>(lower);
        return Currency{down % 2 == 0 ? down : down + 1};
    }
    return Currency{static_cast<std::int64_t>(std::nearbyint(scaled))};
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
