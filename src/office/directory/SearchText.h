#pragma once

#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

namespace orv::office::search {

// What the employee typed, prepared for a LIKE comparison that ignores case and treats every
// typed character literally. Both sides are folded the same way on both backends: LOWER alone
// folds only ASCII letters on SQLite and under the C locale of PostgreSQL, so the German
// capital umlauts are replaced first.
QString foldedColumn(const char* column);
// The typed text as a LIKE pattern, folded and escaped with kEscape ('!').
QString patternStarting(const QString& typed);
QString patternContaining(const QString& typed);
inline constexpr const char* kEscapeClause = " ESCAPE '!'";

// The closed ranges of 32-bit numbers whose decimal form starts with digits ("12": 12, 120-129,
// 1200-1299, ...); empty when digits is empty, no number or too long.
std::vector<std::pair<std::int64_t, std::int64_t>> numberPrefixRanges(const QString& digits);
// "(column BETWEEN $first AND $first+1 OR ...)" for the ranges, numbering the parameters from
// first; "(1 = 0)" without ranges.
QString rangeCondition(const char* column, std::size_t rangeCount, int first);

bool isDigits(const QString& text);

}  // namespace orv::office::search
