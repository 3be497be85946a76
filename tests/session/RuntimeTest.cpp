#include "session/diagnostics/OrvError.h"
#include "session/runtime/Runtime.h"

#include "TestQueries.h"

#include <gtest/gtest.h>

#include <limits>

namespace orv {
namespace {

template <typename F>
std::int32_t errorNumberOf(F&& f) {
    const std::optional<OrvError> error = test::failureOf(std::forward<F>(f));
    return error ? error->number() : 0;
}

TEST(RuntimeTest, WholeNumbersRoundHalfToEvenAndReportOverflow) {
    EXPECT_EQ(rt::roundToLong(2.5), 2);
    EXPECT_EQ(rt::roundToLong(3.5), 4);
    EXPECT_EQ(rt::roundToLong(-2.5), -2);
    EXPECT_EQ(rt::addLong(40, 2), 42);
    EXPECT_EQ(errorNumberOf([] { rt::roundToLong(3e9); }), err::kOverflow);
    EXPECT_EQ(errorNumberOf([] { rt::addLong(std::numeric_limits<std::int32_t>::max(), 1); }),
              err::kOverflow);
    EXPECT_EQ(errorNumberOf([] { rt::subtractLong(std::numeric_limits<std::int32_t>::min(), 1); }),
              err::kOverflow);
}

TEST(RuntimeTest, DurationAndClockTexts) {
    for (const auto& [seconds, text] : {std::pair{0, "00:00:00"},
                                        {3725, "01:02:05"},
                                        {35999, "09:59:59"},
                                        {360000, "100:00:00"},
                                        {-65, "00:-01:-05"}}) {
        EXPECT_EQ(rt::durationText(seconds), QString::fromLatin1(text)) << seconds;
    }
    EXPECT_EQ(rt::industrialHoursText(20), QStringLiteral("0,01"));
    EXPECT_EQ(rt::industrialHoursText(4500000), QStringLiteral("1.250,00"));
    // 0.00125 hours round to 0.0012, then the floor of 0.01 applies.
    EXPECT_EQ(rt::industrialHours(4), 0.01);
    EXPECT_EQ(rt::industrialHours(3618), 1.005);
    EXPECT_EQ(rt::left(QString::fromUtf8("a\xF0\x9F\x98\x80"
                                         "b"),
                       2),
              QString::fromUtf8("a\xF0\x9F\x98\x80"));
    // The night the clocks go forward: 01:59:59 to 03:00:00 is one second.
    const QDateTime before(QDate(2026, 3, 29), QTime(1, 59, 59));
    const QDateTime after(QDate(2026, 3, 29), QTime(3, 0, 0));
    EXPECT_EQ(rt::secondsBetween(before, after), 1);
    EXPECT_EQ(rt::secondsBetween(after, before), -1);
}

}  // namespace
}  // namespace orv
