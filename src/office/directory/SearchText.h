#pragma once

#include "persistence/Backend.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace orv::office::search {

// Names are searched in a folded form: ASCII letters in lower case and Ä Ö Ü as ä ö ü; nothing
// else changes. The database keeps the folded client names in columns of their own (filled by
// triggers, so rows other programs write are folded too); typed text is folded here the same way.
QString fold(const QString& text);
// The same folding as an SQL expression over column, identical on both backends: lower() is held
// to ASCII on PostgreSQL as well, whatever the server's locale.
QString foldSql(db::Backend backend, const QString& column);

// "expression contains $parameter" as a plain substring test (instr, strpos): no pattern
// characters to escape, and several times faster than LIKE over every client.
QString containsCondition(db::Backend backend, const QString& expression, int parameter);
// The smallest text above every text that starts with folded: folded with its last character
// incremented. Texts t with folded <= t < end are exactly those starting with folded when
// compared by code point (bytewise UTF-8). Nothing when no such text exists.
std::optional<QString> prefixEnd(const QString& folded);

// The closed ranges of 32-bit numbers whose decimal form starts with digits ("12": 12, 120-129,
// 1200-1299, ...); empty when digits is empty, no number or too long.
std::vector<std::pair<std::int64_t, std::int64_t>> numberPrefixRanges(const QString& digits);
// "(column BETWEEN $first AND $first+1 OR ...)" for the ranges, numbering the parameters from
// first; "(1 = 0)" without ranges.
QString rangeCondition(const char* column, std::size_t rangeCount, int first);

bool isDigits(const QString& text);

}  // namespace orv::office::search
