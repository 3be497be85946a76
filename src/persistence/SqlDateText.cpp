#include "persistence/SqlDateText.h"

namespace orv::db {
namespace {

bool readNumber(std::string_view text, std::size_t pos, std::size_t len, int& out) {
    int value = 0;
    for (std::size_t i = pos; i < pos + len; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    out = value;
    return true;
}

void writeNumber(char* out, int value, int width) {
    for (int i = width - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

}  // namespace

QDateTime parseSqlDate(std::string_view text) {
    // "2026-12-06 08:48:33", optionally followed by fractions the component never writes.
    if (text.size() < 19 || text[4] != '-' || text[7] != '-' ||
        (text[10] != ' ' && text[10] != 'T') || text[13] != ':' || text[16] != ':') {
        return {};
    }
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (!readNumber(text, 0, 4, y) || !readNumber(text, 5, 2, mo) || !readNumber(text, 8, 2, d) ||
        !readNumber(text, 11, 2, h) || !readNumber(text, 14, 2, mi) ||
        !readNumber(text, 17, 2, s)) {
        return {};
    }
    const QDate date(y, mo, d);
    const QTime time(h, mi, s);
    if (!date.isValid() || !time.isValid()) {
        return {};
    }
    return QDateTime(date, time);
}

QByteArray formatSqlDateUtf8(const QDateTime& value) {
    if (!value.isValid()) {
        return {};
    }
    const QDate date = value.date();
    const QTime time = value.time();
    QByteArray out(19, '\0');
    char* p = out.data();
    writeNumber(p, date.year(), 4);
    p[4] = '-';
    writeNumber(p + 5, date.month(), 2);
    p[7] = '-';
    writeNumber(p + 8, date.day(), 2);
    p[10] = ' ';
    writeNumber(p + 11, time.hour(), 2);
    p[13] = ':';
    writeNumber(p + 14, time.minute(), 2);
    p[16] = ':';
    writeNumber(p + 17, time.second(), 2);
    return out;
}

QString formatSqlDate(const QDateTime& value) {
    return QString::fromLatin1(formatSqlDateUtf8(value));
}

}  // namespace orv::db
