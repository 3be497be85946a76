#include "WidgetHarness.h"

#include "office/widgets/Expression.h"
#include "office/widgets/ctlDatePicker.h"
#include "office/widgets/ctlNumPicker.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QLineEdit>

#include <optional>

namespace orv::office {
namespace {

TEST(OfficeWidgetsTest, CalculatorLinesInGermanNotation) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"1,5 + 2 × 3", 7.5},  {"(1+2)*3", 9.0},        {"10 ÷ 4", 2.5},
        {"9:3 − 1", 2.0},      {"-2 - -3", 1.0},        {"1,2,3", std::nullopt},
        {"2 +", std::nullopt}, {"1 / 0", std::nullopt}, {"(1", std::nullopt},
    };
    for (const auto& [line, value] : cases) {
        EXPECT_EQ(evaluateExpression(QString::fromUtf8(line)), value) << line;
    }
}

TEST(OfficeWidgetsTest, NumberPickerCalculatesOnF4) {
    QWidget window;
    auto* picker = new ctlNumPicker(&window);
    picker->DisplayFormat(QStringLiteral("#0.00;-#0.00;0.00;{};"));
    picker->Wert(1.5);
    test::showActive(window);
    picker->lineEdit()->setFocus();
    test::press(picker->lineEdit(), QStringLiteral("{F4}"));
    auto* line = window.findChild<QLineEdit*>(QStringLiteral("txtRechnung"));
    ASSERT_NE(line, nullptr);
    ASSERT_TRUE(line->isVisible());
    test::press(line, QStringLiteral("{End}*3{Return}"));
    EXPECT_EQ(picker->Text(), QStringLiteral("4,50"));
    EXPECT_EQ(picker->Wert(), 4.5);
    EXPECT_FALSE(line->isVisible());
}

TEST(OfficeWidgetsTest, MonthPickerYieldsMonthAndYear) {
    QWidget window;
    auto* picker = new ctlDatePicker(&window);
    picker->Format(QStringLiteral("MM.yyyy"));
    picker->Monat(0);
    picker->Jahr(0);
    EXPECT_FALSE(picker->Datum().isValid());
    picker->Monat(3);
    EXPECT_EQ(picker->Monat(), 3) << "a month waits for its year";
    picker->Jahr(2026);
    EXPECT_EQ(picker->Datum(), QDate(2026, 3, 1));
    test::showActive(window);
    picker->dateEdit()->setFocus();
    test::press(picker->dateEdit(), QStringLiteral("{F4}"));
    EXPECT_TRUE(picker->dateEdit()->calendarWidget()->isVisible());
    EXPECT_EQ(picker->Datum(), QDate(2026, 3, 1));
}

}  // namespace
}  // namespace orv::office
