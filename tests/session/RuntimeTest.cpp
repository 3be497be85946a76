#include "session/diagnostics/OrvError.h"
#include "session/runtime/Runtime.h"

#include "TestQueries.h"

#include <gtest/gtest.h>

#include <limits>

namespace orv {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// Whole numbers round half to even; what leaves their range is an overflow, never a wrap.
// Durations and industrial hours read as the office writes them.
TEST(RuntimeTest, NumbersRoundHalfToEvenAndTextsAreGerman) {
    EXPECT_EQ(rt::roundToLong(2.5), 2);
    EXPECT_EQ(rt::roundToLong(3.5), 4);
    EXPECT_EQ(rt::roundToLong(-2.5), -2);
    const auto overflows = [](auto call) {
        const std::optional<OrvError> error = test::failureOf(call);
        return error && error->number() == err::kOverflow;
    };
    EXPECT_TRUE(overflows([] { rt::roundToLong(3e9); }));
    EXPECT_TRUE(overflows([] { rt::addLong(kMax, 1); }));
    EXPECT_TRUE(overflows([] { rt::subtractLong(-kMax - 1, 1); }));
    EXPECT_EQ(rt::durationText(3725), QStringLiteral("01:02:05"));
    EXPECT_EQ(rt::durationText(360000), QStringLiteral("100:00:00"));
    EXPECT_EQ(rt::durationText(-65), QStringLiteral("00:-01:-05"));
    EXPECT_EQ(rt::industrialHoursText(20), QStringLiteral("0,01"));
    EXPECT_EQ(rt::industrialHoursText(4500000), QStringLiteral("1.250,00"));
    // 0.00125 hours round to 0.0012, then the floor of 0.01 applies.
    EXPECT_EQ(rt::industrialHours(4), 0.01);
    EXPECT_EQ(rt::industrialHours(3618), 1.005);
    // Cut in characters: a surrogate pair stays whole.
    const QString smiley = QString::fromUtf8("a\xF0\x9F\x98\x80");
    EXPECT_EQ(rt::left(smiley + QLatin1Char('b'), 2), smiley);
}

}  // namespace
}  // namespace orv
