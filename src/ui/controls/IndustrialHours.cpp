#include "ui/controls/IndustrialHours.h"

#include <cmath>
#include <limits>

namespace orv::ui {

std::variant<std::int64_t, QString> parseIndustrialHours(const QString& text,
                                                         const QLocale& locale) {
    const QString typed = text.trimmed();
    const QString example =
        QStringLiteral(" Bitte die Zeit in Industriestunden eingeben, z. B. %1.")
            .arg(locale.toString(1.5, 'f', 2));
    if (typed.isEmpty()) {
        return QStringLiteral("Es ist keine Zeit angegeben.") + example;
    }
    bool ok = false;
    const double hours = locale.toDouble(typed, &ok);
    if (!ok || !std::isfinite(hours)) {
        return QStringLiteral("„%1“ ist keine Zahl.").arg(typed) + example;
    }
    if (hours < 0 || typed.startsWith(locale.negativeSign())) {
        return QStringLiteral("„%1“: eine Zeit kann nicht negativ sein.").arg(typed) + example;
    }
    const qsizetype point = typed.indexOf(locale.decimalPoint());
    if (point >= 0 && typed.size() - point - 1 > 2) {
        return QStringLiteral("„%1“ hat mehr als zwei Nachkommastellen.").arg(typed) + example;
    }
    return static_cast<std::int64_t>(std::round(hours * 100));
}

std::variant<std::int32_t, QString> secondsOfHundredths(std::int64_t hundredths,
                                                        const QString& typed,
                                                        const QLocale& locale) {
    constexpr std::int64_t kMaxHundredths = std::numeric_limits<std::int32_t>::max() / 36;
    if (hundredths > kMaxHundredths) {
        return QStringLiteral("„%1“ ist zu groß: höchstens %2 Stunden.")
            .arg(typed.trimmed(), locale.toString(kMaxHundredths / 100.0, 'f', 2));
    }
    return static_cast<std::int32_t>(hundredths * 36);
}

}  // namespace orv::ui
