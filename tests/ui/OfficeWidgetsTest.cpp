#include "WidgetHarness.h"

#include "office/host/OfficeIconService.h"
#include "office/widgets/Expression.h"
#include "office/widgets/ctlDatePicker.h"
#include "office/widgets/ctlNumPicker.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QIcon>
#include <QImage>
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

// F4 opens the number picker's calculator, whose result the picker takes, and the month
// picker's calendar; a month set before its year waits for it.
TEST(OfficeWidgetsTest, PickersOpenTheirHelpersOnF4) {
    QWidget window;
    auto* number = new ctlNumPicker(&window);
    number->DisplayFormat(QStringLiteral("#0.00;-#0.00;0.00;{};"));
    number->Wert(1.5);
    auto* month = new ctlDatePicker(&window);
    month->Format(QStringLiteral("MM.yyyy"));
    month->Monat(0);
    month->Jahr(0);
    EXPECT_FALSE(month->Datum().isValid());
    month->Monat(3);
    EXPECT_EQ(month->Monat(), 3) << "a month waits for its year";
    month->Jahr(2026);
    EXPECT_EQ(month->Datum(), QDate(2026, 3, 1));
    test::showActive(window);

    number->lineEdit()->setFocus();
    test::press(number->lineEdit(), QStringLiteral("{F4}"));
    auto* line = window.findChild<QLineEdit*>(QStringLiteral("txtRechnung"));
    ASSERT_TRUE(line != nullptr && line->isVisible());
    test::press(line, QStringLiteral("{End}*3{Return}"));
    EXPECT_EQ(number->Text(), QStringLiteral("4,50"));
    EXPECT_EQ(number->Wert(), 4.5);
    EXPECT_FALSE(line->isVisible());

    month->dateEdit()->setFocus();
    test::press(month->dateEdit(), QStringLiteral("{F4}"));
    EXPECT_TRUE(month->dateEdit()->calendarWidget()->isVisible());
    EXPECT_EQ(month->Datum(), QDate(2026, 3, 1));
}

}  // namespace
// Every icon the windows ask for is drawn, each its own picture; an unknown number has none.
TEST(OfficeWidgetsTest, TheOfficeDrawsEveryIconTheWindowsAskFor) {
    office::OfficeIconService icons;
    std::vector<QImage> drawn;
    for (const int number : {1000, 1001, 1002, 1062, 1063, 1091, 1131, 1137, 1162}) {
        const QString path = icons.Icon(number);
        ASSERT_FALSE(path.isEmpty()) << number;
        const QImage image = QIcon(path).pixmap(16, 16).toImage();
        ASSERT_EQ(image.size(), QSize(16, 16)) << number;
        int opaque = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                opaque += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
            }
        }
        EXPECT_GT(opaque, 40) << number << " is nearly blank";
        for (const QImage& other : drawn) {
            EXPECT_NE(other, image) << number << " looks like another icon";
        }
        drawn.push_back(image);
    }
    EXPECT_TRUE(icons.Icon(1003).isEmpty());
}

}  // namespace orv::office
