#include "office/directory/SearchText.h"

#include <limits>

namespace orv::office::search {
namespace {

// LIKE ignores the case of ASCII letters only; any other letter with two cases matches any one
// character here and is told apart by the exact pattern.
QString coarsePattern(const QString& typed) {
    QString out;
    for (const QChar c : typed) {
        if (c == u'%' || c == u'_' || c == u'!') {
            out += u'!';
            out += c;
        } else if (c.unicode() > 127 && c.toLower() != c.toUpper()) {
            out += u'_';
        } else {
            out += c;
        }
    }
    return out;
}

// Each typed character as a pattern of its own.
QString exactPattern(db::Backend backend, const QString& typed) {
    QString out;
    for (const QChar c : typed) {
        const QChar lower = c.toLower();
        const QChar upper = c.toUpper();
        if (lower != upper) {
            out += u'[';
            out += lower;
            out += upper;
            out += u']';
        } else if (backend == db::Backend::Postgres) {
            // A backslash before anything but a letter or digit stands for that character.
            if (!c.isLetterOrNumber()) {
                out += u'\\';
            }
            out += c;
        } else if (c == u'*' || c == u'?' || c == u'[') {
            out += u'[';
            out += c;
            out += u']';
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

QString textCondition(db::Backend backend, const char* column, int parameter) {
    const bool postgres = backend == db::Backend::Postgres;
    return QStringLiteral("(%1 %2 $%3 ESCAPE '!' AND %1 %4 $%5)")
        .arg(QLatin1String(column), postgres ? QStringLiteral("ILIKE") : QStringLiteral("LIKE"))
        .arg(parameter)
        .arg(postgres ? QStringLiteral("~") : QStringLiteral("GLOB"))
        .arg(parameter + 1);
}

TextPattern patternContaining(db::Backend backend, const QString& typed) {
    const QString exact = exactPattern(backend, typed);
    return {u'%' + coarsePattern(typed) + u'%',
            backend == db::Backend::Postgres ? exact : u'*' + exact + u'*'};
}

TextPattern patternStarting(db::Backend backend, const QString& typed) {
    const QString exact = exactPattern(backend, typed);
    return {coarsePattern(typed) + u'%',
            backend == db::Backend::Postgres ? u'^' + exact : exact + u'*'};
}

bool isDigits(const QString& text) {
    if (text.isEmpty()) {
        return false;
    }
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

std::vector<std::pair<std::int64_t, std::int64_t>> numberPrefixRanges(const QString& digits) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::vector<std::pair<std::int64_t, std::int64_t>> ranges;
    if (!isDigits(digits) || digits.size() > 10) {
        return ranges;
    }
    const std::int64_t value = digits.toLongLong();
    // A leading zero is no number's beginning except that of 0 itself.
    if (digits.size() > 1 && digits.front() == u'0') {
        return ranges;
    }
    std::int64_t low = value;
    std::int64_t width = 1;
    while (low <= kMax) {
        ranges.emplace_back(low, std::min(low + width - 1, kMax));
        if (value == 0) {
            break;
        }
        low *= 10;
        width *= 10;
    }
    return ranges;
}

QString rangeCondition(const char* column, std::size_t rangeCount, int first) {
    if (rangeCount == 0) {
        return QStringLiteral("(1 = 0)");
    }
    QString sql = QStringLiteral("(");
    for (std::size_t i = 0; i < rangeCount; ++i) {
        const int p = first + static_cast<int>(2 * i);
        if (i > 0) {
            sql += QStringLiteral(" OR ");
        }
        sql +=
            QStringLiteral("%1 BETWEEN $%2 AND $%3").arg(QLatin1String(column)).arg(p).arg(p + 1);
    }
    return sql + u')';
}

}  // namespace orv::office::search
