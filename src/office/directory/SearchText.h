#pragma once

#include "persistence/Backend.h"

#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

namespace orv::office::search {

// What the employee typed, matched anywhere in a text (or at its start), ignoring case, umlauts
// included, and taking every typed character literally. A text is compared twice, both times
// natively: first cheaply with LIKE (ILIKE) where a letter outside ASCII stands for any one
// character, then exactly, only where the first passed, with a pattern in which each letter is
// the class of its two cases (SQLite GLOB, a PostgreSQL regular expression). Folding every
// row's text through LOWER and REPLACE, or the exact pattern alone, took several frames for
// 20,000 clients.
struct TextPattern {
    QString coarse;
    QString exact;
};
TextPattern patternContaining(db::Backend backend, const QString& typed);
TextPattern patternStarting(db::Backend backend, const QString& typed);
// "(column LIKE $n ... AND column GLOB $n+1)": the pattern's two parts bound from parameter n.
QString textCondition(db::Backend backend, const char* column, int parameter);

// The closed ranges of 32-bit numbers whose decimal form starts with digits ("12": 12, 120-129,
// 1200-1299, ...); empty when digits is empty, no number or too long.
std::vector<std::pair<std::int64_t, std::int64_t>> numberPrefixRanges(const QString& digits);
// "(column BETWEEN $first AND $first+1 OR ...)" for the ranges, numbering the parameters from
// first; "(1 = 0)" without ranges.
QString rangeCondition(const char* column, std::size_t rangeCount, int first);

bool isDigits(const QString& text);

}  // namespace orv::office::search
