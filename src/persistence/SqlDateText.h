#pragma once

#include <QDateTime>
#include <QString>

#include <string_view>

namespace orv::db {

// Dates travel as local time "yyyy-MM-dd HH:mm:ss". Parsing goes straight from the digits to the
// date and time: reading many rows spends most of its time here, and a format string costs
// several times as much.
QDateTime parseSqlDate(std::string_view text);  // invalid QDateTime for anything else
QString formatSqlDate(const QDateTime& value);  // empty for an invalid value
QByteArray formatSqlDateUtf8(const QDateTime& value);

}  // namespace orv::db
