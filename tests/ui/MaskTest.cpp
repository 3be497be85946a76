#include "WidgetHarness.h"

#include "ui/controls/TimeLineEdit.h"
#include "ui/controls/ctlMskzeit.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <memory>

namespace orv::ui {
namespace {

constexpr int kAll = -1;  // the whole field selected, as on entering it

struct KeyCase {
    const char* name;
    bool longFormat;
    bool clockCheck;
    const char* start;
    int caret;
    const char* keys;
    const char* clipboard;  // pasted with {Ctrl+V}
    const char* text;       // the field afterwards
    int caretAfter;
    const char* message;  // part of the refusal; empty: none
};

const KeyCase kKeyCases[] = {
    // clang-format off
    {"ClockCheckRefusesMinutes94", true, true, "12:34:56", 2, "9", "", "12:34:56", 2, ""},
    {"WithoutClockCheckColonIsSteppedOver", true, false, "12:34:56", 2, "9", "", "12:94:56", 4, ""},
    {"BackspaceBehindColonLandsBeforeIt", true, false, "12:34:56", 4, "{Backspace}", "", "12:04:56", 2, ""},
    {"BackspaceOnColonZeroesHourDigit", true, false, "12:34:56", 3, "{Backspace}", "", "10:34:56", 1, ""},
    {"BackspaceInSecondsStaysBehindColon", true, false, "12:34:56", 7, "{Backspace}", "", "12:34:06", 6, ""},
    {"BackspaceAtStartDoesNothing", true, false, "12:34:56", 0, "{Backspace}", "", "12:34:56", 0, ""},
    {"SelectionAndBackspaceGiveZeros", true, false, "12:34:56", kAll, "{Backspace}", "", "00:00:00", 0, ""},
    {"LettersColonsBlanksChangeNothing", true, false, "12:34:56", 3, "a: x-", "", "12:34:56", 3, ""},
    {"ShortFormatEndTakesNothing", false, false, "12:34", 5, "1", "", "12:34", 5, ""},
    {"LongFormatEndTakesNothing", true, false, "12:34:56", 8, "1", "", "12:34:56", 8, ""},
    {"DigitsFillTheWholeMask", true, false, "00:00:00", 0, "083015", "", "08:30:15", 8, ""},
    {"ShortFormatTyping", false, true, "00:00", 0, "1745", "", "17:45", 5, ""},
    {"ClockCheckRefusesHour25", true, true, "12:34:56", 0, "25", "", "22:34:56", 1, ""},
    {"TypingOverSelectionStartsAtFirstDigit", true, false, "12:34:56", kAll, "9", "", "92:34:56", 1, ""},
    {"DeleteZeroesNextDigit", true, false, "12:34:56", 2, "{Del}", "", "12:04:56", 4, ""},
    {"DeleteAtEndDoesNothing", true, false, "12:34:56", 8, "{Del}", "", "12:34:56", 8, ""},
    {"DeleteSelectionGivesZeros", true, false, "12:34:56", kAll, "{Del}", "", "00:00:00", 0, ""},
    {"UndoIsNoWayAroundTheMask", true, false, "12:34:56", 0, "9{Ctrl+Z}", "", "92:34:56", 1, ""},
    {"CutLeavesZeros", true, false, "12:34:56", 3, "{Shift+End}{Ctrl+X}", "", "00:00:00", 3, ""},
    {"PasteWholeTime", true, true, "12:34:56", 3, "{Ctrl+V}", " 7:45:00 ", "07:45:00", 8, ""},
    {"PasteDigitsTypesThem", true, false, "12:34:56", 3, "{Ctrl+V}", "45", "12:45:56", 5, ""},
    {"PasteBrokenTimeRefused", true, false, "12:34:56", 0, "{Ctrl+V}", "12:3x:00", "12:34:56", 0, "keine Zeit im Format hh:mm:ss"},
    {"PasteBeyondClockRefused", true, true, "12:34:56", 0, "{Ctrl+V}", "25:61:99", "12:34:56", 0, "keine gültige Uhrzeit"},
    {"PasteBeyondClockWithoutCheck", true, false, "12:34:56", 0, "{Ctrl+V}", "25:61:59", "25:61:59", 8, ""},
    {"PasteLongerThanMaskRefused", true, false, "12:34:56", 0, "{Ctrl+V}", "1234567", "12:34:56", 0, "passt nicht"},
    {"PasteTooManyPartsRefused", true, false, "12:34:56", 0, "{Ctrl+V}", "12:30:00:00", "12:34:56", 0, "keine Zeit"},
    {"PasteShortIntoLongRefused", true, false, "12:34:56", 0, "{Ctrl+V}", "12:30", "12:34:56", 0, "keine Zeit"},
    {"PasteAboveLongRangeRefused", true, false, "12:34:56", 0, "{Ctrl+V}", "600000:00:00", "12:34:56", 0, "zu groß: höchstens 596523:14:07"},
    {"WideHoursTypeInPlace", true, false, "100:00:00", 0, "2", "", "200:00:00", 1, ""},
    {"WideHoursBackspaceAfterColon", true, false, "123:45:00", 4, "{Backspace}", "", "120:45:00", 2, ""},
    {"WideHoursRefuseOverflow", true, false, "596523:14:07", 0, "9", "", "596523:14:07", 0, ""},
    // clang-format on
};

class MaskKeys : public ::testing::TestWithParam<KeyCase> {
protected:
    void SetUp() override {
        field_ = std::make_unique<ctlMskzeit>();
        QObject::connect(field_.get(), &ctlMskzeit::Eingabefehler,
                         [this](const QString& text) { message_ = text; });
        test::showActive(*field_);
        txt_ = test::child<TimeLineEdit>(*field_, "txtZeit");
        txt_->setFocus();
    }
    std::unique_ptr<ctlMskzeit> field_;
    TimeLineEdit* txt_ = nullptr;
    QString message_;
};

TEST_P(MaskKeys, LeaveAWellFormedField) {
    const KeyCase& c = GetParam();
    field_->ZeitFormat(c.longFormat ? 1 : 0);
    field_->pbUhrZeit(c.clockCheck);
    ASSERT_TRUE(field_->Text(QString::fromUtf8(c.start)));
    if (c.caret == kAll) {
        txt_->selectAll();
    } else {
        txt_->setCursorPosition(c.caret);
    }
    test::setClipboard(QString::fromUtf8(c.clipboard));
    test::press(txt_, QString::fromUtf8(c.keys));
    EXPECT_EQ(field_->Text(), QString::fromUtf8(c.text));
    EXPECT_EQ(txt_->cursorPosition(), c.caretAfter);
    EXPECT_TRUE(message_.contains(QString::fromUtf8(c.message))) << message_.toStdString();
    EXPECT_EQ(message_.isEmpty(), QByteArray(c.message).isEmpty()) << message_.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, MaskKeys, ::testing::ValuesIn(kKeyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MaskKeys, DropsFollowTheRulesOfPasting) {
    field_->ZeitFormat(1);
    field_->Text(QStringLiteral("12:34:56"));
    test::dropText(txt_, QStringLiteral("abc"), QPoint(2, txt_->height() / 2));
    EXPECT_EQ(field_->Text(), QStringLiteral("12:34:56"));
    EXPECT_TRUE(message_.contains(QStringLiteral("„abc“ ist keine Zeit")))
        << message_.toStdString();
    test::dropText(txt_, QStringLiteral("09:15:00"), QPoint(2, txt_->height() / 2));
    EXPECT_EQ(field_->Text(), QStringLiteral("09:15:00"));
}

TEST_F(MaskKeys, EnteringSelectsAllAndLeavingValidates) {
    QWidget window;
    auto* field = new ctlMskzeit(&window);
    auto* next = new QLineEdit(&window);
    int validated = 0;
    bool keep = false;
    QObject::connect(field, &ctlMskzeit::Validate, [&](bool& cancel) {
        ++validated;
        cancel = keep;
    });
    test::showActive(window);
    next->setFocus();
    validated = 0;
    keep = true;
    test::press(next, QStringLiteral("{Tab}"));
    auto* txt = test::child<TimeLineEdit>(*field, "txtZeit");
    ASSERT_TRUE(txt->hasFocus());
    EXPECT_EQ(txt->selectedText(), QStringLiteral("00:00"));
    EXPECT_EQ(txt->selectionStart(), 0);
    test::press(txt, QStringLiteral("{Tab}"));
    EXPECT_EQ(validated, 1);
    EXPECT_TRUE(txt->hasFocus()) << "a cancelled validation keeps the focus";
    keep = false;
    test::press(txt, QStringLiteral("{Return}"));
    EXPECT_EQ(validated, 2);
    test::press(txt, QStringLiteral("{Tab}"));
    EXPECT_TRUE(next->hasFocus());
}

struct SetCase {
    const char* name;
    bool clockCheck;
    const char* text;
    const char* shown;  // the field afterwards (it started at 11:11:11)
    const char* message;
};

const SetCase kSetCases[] = {
    {"EmptyIsZero", false, "", "00:00:00", ""},
    {"LettersRefused", false, "ab:cd:ef", "11:11:11", "keine Zeit"},
    {"ClockCheckRefuses24", true, "24:00:00", "11:11:11", "keine gültige Uhrzeit"},
    {"DurationOf24HoursTaken", false, "24:00:00", "24:00:00", ""},
    {"LongerThanMaskRefused", false, "12:34:567", "11:11:11", "keine Zeit"},
    {"LeadingHourZerosDropped", false, "0100:00:00", "100:00:00", ""},
};

class MaskText : public ::testing::TestWithParam<SetCase> {};

TEST_P(MaskText, SetsOnlyWellFormedTimes) {
    const SetCase& c = GetParam();
    ctlMskzeit field;
    QString message;
    QObject::connect(&field, &ctlMskzeit::Eingabefehler, [&](const QString& m) { message = m; });
    field.ZeitFormat(1);
    field.Text(QStringLiteral("11:11:11"));
    field.pbUhrZeit(c.clockCheck);
    EXPECT_EQ(field.Text(QString::fromUtf8(c.text)), QByteArray(c.message).isEmpty());
    EXPECT_EQ(field.Text(), QString::fromUtf8(c.shown));
    EXPECT_TRUE(message.contains(QString::fromUtf8(c.message)));
}

INSTANTIATE_TEST_SUITE_P(Cases, MaskText, ::testing::ValuesIn(kSetCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orv::ui
