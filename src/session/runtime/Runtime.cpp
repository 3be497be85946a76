#include "session/runtime/Runtime.h"

#include "session/diagnostics/OrvError.h"

#include <cmath>
#include <limits>

namespace orv::rt {
namespace {

const QString kSource = QStringLiteral("ORVkStoppUhren");

[[noreturn]] void overflow() {
    throw OrvError(err::kOverflow, kSource, QStringLiteral("Überlauf"));
}

std::int32_t checkedLong(std::int64_t value) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        overflow();
    }
    return static_cast<std::int32_t>(value);
}

QString padded(std::int64_t value, int digits) {
    const QString number =
        QString::number(value < 0 ? -value : value).rightJustified(digits, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + number : number;
}

}  // namespace

double leadingNumber(const QString& text) {
    QString digits;
    bool seenDigit = false;
    bool seenPoint = false;
    bool seenExponent = false;
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) {
            ++i;
        }
    };
    skipBlanks();
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        digits += text[i++];
    }
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            continue;  // blanks inside a number are skipped, as the runtime does
        }
        if (c.isDigit() && c.unicode() < 128) {
            digits += c;
            seenDigit = true;
        } else if (c == QLatin1Char('.') && !seenPoint && !seenExponent) {
            digits += c;
            seenPoint = true;
        } else if ((c == QLatin1Char('e') || c == QLatin1Char('E')) && seenDigit && !seenExponent) {
            // An exponent counts only with a digit after it.
            qsizetype j = i + 1;
            QString exponent = QStringLiteral("e");
            if (j < text.size() && (text[j] == QLatin1Char('-') || text[j] == QLatin1Char('+'))) {
                exponent += text[j++];
            }
            if (j >= text.size() || !text[j].isDigit()) {
                break;
            }
            digits += exponent;
            seenExponent = true;
            i = j - 1;
        } else {
            break;
        }
    }
    if (!seenDigit) {
        return 0;
    }
    bool ok = false;
    const double value = digits.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0;
}

bool isNumeric(const QString& text, const QLocale& locale) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return false;
    }
    bool ok = false;
    locale.toDouble(trimmed, &ok);
    return ok;
}

double toDouble(const QString& text, const QLocale& locale) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return 0;
    }
    bool ok = false;
    const double value = locale.toDouble(trimmed, &ok);
    if (!ok) {
        throw OrvError(err::kTypeMismatch, kSource,
                       QStringLiteral("Typen unverträglich: \"%1\" ist keine Zahl.").arg(trimmed));
    }
    return value;
}

std::int32_t roundToLong(double value) {
    if (!std::isfinite(value)) {
        overflow();
    }
    const double rounded = std::nearbyint(value);  // the default mode rounds half to even
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max()) {
        overflow();
    }
    return static_cast<std::int32_t>(rounded);
}

std::int32_t toLong(std::int64_t value) {
    return checkedLong(value);
}

std::int32_t addLong(std::int32_t a, std::int32_t b) {
    return checkedLong(std::int64_t{a} + b);
}

std::int32_t subtractLong(std::int32_t a, std::int32_t b) {
    return checkedLong(std::int64_t{a} - b);
}

QString format00(std::int64_t value) {
    return padded(value, 2);
}

QString format0000(std::int64_t value) {
    return padded(value, 4);
}

QString formatHours(double hours, const QLocale& locale) {
    QLocale grouped = locale;
    grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(hours, 'f', 2);
}

double industrialHours(std::int32_t seconds) {
    const double hours = std::nearbyint(seconds / 3600.0 * 10000.0) / 10000.0;
    return hours < 0.01 ? 0.01 : hours;
}

QString industrialHoursText(std::int32_t seconds, const QLocale& locale) {
    return formatHours(industrialHours(seconds), locale);
}

QString durationText(std::int32_t seconds) {
    const std::int32_t hours = seconds / 3600;
    const std::int32_t rest = seconds % 3600;
    if (seconds < 0) {
        return format00(hours) + QLatin1Char(':') + format00(rest / 60) + QLatin1Char(':') +
               format00(rest % 60);
    }
    // Written digit by digit: the stopwatch window shows several of these every second.
    char text[16];
    char* end = text + sizeof text;
    char* p = end;
    const auto two = [&p](std::int32_t v) {
        *--p = static_cast<char>('0' + v % 10);
        *--p = static_cast<char>('0' + v / 10);
    };
    two(rest % 60);
    *--p = ':';
    two(rest / 60);
    *--p = ':';
    std::int32_t h = hours;
    do {
        *--p = static_cast<char>('0' + h % 10);
        h /= 10;
    } while (h > 0);
    if (hours < 10) {
        *--p = '0';
    }
    return QString::fromLatin1(p, end - p);
}

QString clockText(const QDateTime& time) {
    return time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : QString();
}

std::int64_t secondsBetween(const QDateTime& from, const QDateTime& to) {
    const std::int64_t a = from.isValid() ? from.toSecsSinceEpoch() : 0;
    const std::int64_t b = to.isValid() ? to.toSecsSinceEpoch() : 0;
    return b - a;
}

QString left(const QString& text, qsizetype n) {
    // Counted in characters: a surrogate pair is never cut in half.
    qsizetype units = 0;
    for (qsizetype chars = 0; chars < n && units < text.size(); ++chars) {
        units += text[units].isHighSurrogate() && units + 1 < text.size() ? 2 : 1;
    }
    return text.left(units);
}

}  // namespace orv::rt
