#pragma once

#include <QLocale>
#include <QString>

#include <cstdint>
#include <variant>

namespace orv::ui {

// Industrial hours typed by the employee ("1,5", "1,50", "12"): in the user's locale, at most
// two decimals, never negative, and small enough for a 32-bit count of seconds. The result is
// the hours in hundredths, or the German message that says why the text is refused.
std::variant<std::int64_t, QString> parseIndustrialHours(const QString& text,
                                                         const QLocale& locale = QLocale());

// Seconds of industrial hundredths: 0,01 hours are 36 seconds.
constexpr std::int64_t secondsOfHundredths(std::int64_t hundredths) {
    return hundredths * 36;
}

}  // namespace orv::ui
