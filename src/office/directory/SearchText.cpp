#include "office/directory/SearchText.h"

#include <limits>

namespace orv::office::search {
namespace {

QString folded(const QString& typed) {
    return typed.toLower();
}

QString escaped(const QString& text) {
    QString out;
    out.reserve(text.size() * 2);
    for (const QChar c : text) {
        if (c == u'%' || c == u'_' || c == u'!') {
            out += u'!';
        }
        out += c;
    }
    return out;
}

}  // namespace

QString foldedColumn(const char* column) {
    return QStringLiteral("LOWER(REPLACE(REPLACE(REPLACE(%1, 'Ä', 'ä'), 'Ö', 'ö'), 'Ü', 'ü'))")
        .arg(QLatin1String(column));
}

QString patternStarting(const QString& typed) {
    return escaped(folded(typed)) + u'%';
}

QString patternContaining(const QString& typed) {
    return u'%' + escaped(folded(typed)) + u'%';
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
