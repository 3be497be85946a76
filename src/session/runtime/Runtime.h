#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <cstdint>

// The few behaviours of the office's original runtime that the component's texts and numbers
// rely on, in one place: reading numbers out of texts, the number and time formats, whole
// seconds between two times and 32-bit arithmetic that reports an overflow instead of wrapping.
namespace orv::rt {

// The leading number of a text, read with "." as the decimal point whatever the locale, as
// option texts written by other programs are: blanks are skipped, reading stops at the first
// character that cannot continue the number; no number gives 0.
double leadingNumber(const QString& text);

// Whether the text, trimmed, is a number in the user's locale.
bool isNumeric(const QString& text, const QLocale& locale = QLocale());

// A text in the user's number format as a double: 0 when it is empty after trimming blanks;
// a text that is no number raises error 13.
double toDouble(const QString& text, const QLocale& locale = QLocale());

// Rounds half to even and raises error 6 when the result does not fit 32 bits.
std::int32_t roundToLong(double value);

// 32-bit values, sums and differences; error 6 instead of a wrapped result.
std::int32_t toLong(std::int64_t value);
std::int32_t addLong(std::int32_t a, std::int32_t b);
std::int32_t subtractLong(std::int32_t a, std::int32_t b);

// At least two (or four) digits; a minus sign stands before the digits.
QString format00(std::int64_t value);
QString format0000(std::int64_t value);

// "#,##0.00" in the locale: grouped thousands, two decimals.
QString formatHours(double hours, const QLocale& locale = QLocale());

// Industrial hours of a duration: seconds / 3600 rounded (half to even) to four decimals,
// raised to 0.01 when smaller, as "#,##0.00". Nobody books less than 0.01 hours.
double industrialHours(std::int32_t seconds);
QString industrialHoursText(std::int32_t seconds, const QLocale& locale = QLocale());

// A duration as "hh:nn:ss": hours truncated toward zero, each part at least two digits,
// hours grow beyond two digits, no day part.
QString durationText(std::int32_t seconds);

// A clock time as "hh:nn:ss" (24 hours); empty for a date that is not set.
QString clockText(const QDateTime& time);

// The number of second boundaries from one time to a later one (negative when it is earlier):
// real seconds, also across a change to or from summer time. Callers test for unset times.
std::int64_t secondsBetween(const QDateTime& from, const QDateTime& to);

// The first n characters (not bytes).
QString left(const QString& text, qsizetype n);

}  // namespace orv::rt
