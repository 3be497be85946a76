#include "session/diagnostics/OrvError.h"
#include "session/runtime/KeyedCollection.h"
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

TEST(RuntimeTest, NumbersReadFromTexts) {
    const std::pair<const char*, double> leading[] = {
        {"  9 Verwaltung", 9}, {"12.75abc", 12.75}, {"-3", -3}, {"1 2 3", 123},
        {"2e3x", 2000},        {"2ex", 2},          {"abc", 0}, {"", 0}};
    for (const auto& [text, value] : leading) {
        EXPECT_EQ(rt::leadingNumber(QString::fromUtf8(text)), value) << text;
    }
    // The user's format: German decimal comma and thousands point.
    const std::pair<const char*, double> typed[] = {
        {"12,0", 12}, {" 1.234,5 ", 1234.5}, {"   ", 0}};
    for (const auto& [text, value] : typed) {
        EXPECT_EQ(rt::toDouble(QString::fromUtf8(text)), value) << text;
    }
    EXPECT_EQ(errorNumberOf([] { rt::toDouble(QStringLiteral("12x")); }), err::kTypeMismatch);
    EXPECT_TRUE(rt::isNumeric(QStringLiteral(" 12 ")));
    EXPECT_TRUE(rt::isNumeric(QStringLiteral("1,5")));
    EXPECT_FALSE(rt::isNumeric(QStringLiteral("l12")));
    EXPECT_FALSE(rt::isNumeric(QString()));
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
    EXPECT_EQ(rt::durationText(3725), QStringLiteral("01:02:05"));
    EXPECT_EQ(rt::durationText(360000), QStringLiteral("100:00:00"));
    EXPECT_EQ(rt::format0000(7), QStringLiteral("0007"));
    EXPECT_EQ(rt::format00(-5), QStringLiteral("-05"));
    EXPECT_EQ(rt::industrialHoursText(20), QStringLiteral("0,01"));
    EXPECT_EQ(rt::industrialHoursText(4500000), QStringLiteral("1.250,00"));
    // 0.00125 hours round to 0.0012, then the floor of 0.01 applies.
    EXPECT_EQ(rt::industrialHours(4), 0.01);
    EXPECT_EQ(rt::industrialHours(3618), 1.005);
    EXPECT_EQ(rt::clockText(QDateTime()), QString());
    EXPECT_EQ(rt::clockText(QDateTime(QDate(2026, 3, 16), QTime(17, 4, 9))),
              QStringLiteral("17:04:09"));
    EXPECT_EQ(rt::left(QStringLiteral("Größe"), 3), QStringLiteral("Grö"));
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

struct Item {
    int value;
};

TEST(RuntimeTest, KeyedCollectionsFindByKeyOrPosition) {
    KeyedCollection<Item> items;
    const auto values = [&] {
        QStringList out;
        for (const auto& item : items) {
            out << QString::number(item->value);
        }
        return out.join(QLatin1Char(','));
    };
    items.Add(std::make_shared<Item>(Item{1}), QStringLiteral("a1"));
    items.Add(std::make_shared<Item>(Item{2}), QStringLiteral("a2"));
    items.Add(std::make_shared<Item>(Item{3}));  // by position only
    items.Add(std::make_shared<Item>(Item{4}), QStringLiteral("a4"));
    EXPECT_EQ(items.item(QStringLiteral("a2"))->value, 2);
    EXPECT_EQ(items.item(QStringLiteral("3"))->value, 3);
    EXPECT_EQ(items.find(QStringLiteral("a9")), nullptr);
    EXPECT_EQ(errorNumberOf([&] { items.item(QStringLiteral("a9")); }), err::kInvalidCall);
    EXPECT_EQ(errorNumberOf([&] { items.item(QStringLiteral("5")); }), err::kSubscript);
    EXPECT_EQ(errorNumberOf([&] { items.Add(std::make_shared<Item>(), QStringLiteral("a1")); }),
              err::kDuplicateKey);

    // Removing keeps the order and the keys of the items after it.
    items.Remove(QStringLiteral("a2"));
    EXPECT_EQ(values(), QStringLiteral("1,3,4"));
    EXPECT_EQ(items.item(QStringLiteral("a4"))->value, 4);
    EXPECT_EQ(items.item(QStringLiteral("2"))->value, 3);
    // Put back where it stood, the items after it are found by their keys again; dropped from
    // the end, their keys are free.
    items.Insert(1, std::make_shared<Item>(Item{2}), QStringLiteral("a2"));
    EXPECT_EQ(values(), QStringLiteral("1,2,3,4"));
    EXPECT_EQ(items.positionOf(QStringLiteral("a4")), 3u);
    EXPECT_EQ(items.item(QStringLiteral("a4"))->value, 4);
    EXPECT_EQ(items.keyAt(3), QStringLiteral("a4"));
    items.truncate(2);
    EXPECT_EQ(values(), QStringLiteral("1,2"));
    EXPECT_EQ(items.positionOf(QStringLiteral("a4")), std::nullopt);
    items.Add(std::make_shared<Item>(Item{5}), QStringLiteral("a4"));
    EXPECT_EQ(items.at(3)->value, 5);
}

}  // namespace
}  // namespace orv
