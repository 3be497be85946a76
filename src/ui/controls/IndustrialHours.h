#pragma once

#include <QLocale>
#include <QString>

#include <cstdint>
#include <variant>

namespace orv::ui {

// Industrial hours typed by the employee ("1,5", "1,50", "12"): in the user's locale, at most
// two decimals, never negative. The result is the hours in hundredths, or the German message
// that says why the text is refused.
std::variant<std::int64_t, QString> parseIndustrialHours(const QString& text,
                                                         const QLocale& locale = QLocale());

// The seconds of industrial hundredths, 36 for each (1,50 hours are 5400 seconds), or the German
// message that quotes the typed text when they exceed a 32-bit count of seconds.
std::variant<std::int32_t, QString> secondsOfHundredths(std::int64_t hundredths,
                                                        const QString& typed,
                                                        const QLocale& locale = QLocale());

}  // namespace orv::ui
