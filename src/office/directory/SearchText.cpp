#include "office/directory/SearchText.h"

#include <limits>
#include <string>

namespace orv::office::search {
QString fold(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        if (c >= u'A' && c <= u'Z') {
            c = QChar(c.unicode() + (u'a' - u'A'));
        } else if (c == u'Ä') {
            c = u'ä';
        } else if (c == u'Ö') {
            c = u'ö';
        } else if (c == u'Ü') {
            c = u'ü';
        }
    }
    return out;
}

QString foldSql(db::Backend backend, const QString& column) {
    return QStringLiteral("lower(replace(replace(replace(%1, 'Ä', 'ä'), 'Ö', 'ö'), 'Ü', 'ü')%2)")
        .arg(column,
             backend == db::Backend::Postgres ? QStringLiteral(" COLLATE \"C\"") : QString());
}

QString containsCondition(db::Backend backend, const QString& expression, int parameter) {
    return QStringLiteral("%1(%2, $%3) > 0")
        .arg(backend == db::Backend::Postgres ? QStringLiteral("strpos") : QStringLiteral("instr"),
             expression)
        .arg(parameter);
}

std::optional<QString> prefixEnd(const QString& folded) {
    std::u32string points = folded.toStdU32String();
    while (!points.empty()) {
        char32_t last = points.back() + 1;
        points.pop_back();
        if (last >= 0xD800 && last <= 0xDFFF) {
            last = 0xE000;  // no text holds a lone surrogate
        }
        if (last <= 0x10FFFF) {
            return QString::fromStdU32String(points + last);
        }
    }
    return std::nullopt;
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
