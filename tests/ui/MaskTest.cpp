#include "WidgetHarness.h"

#include "ui/controls/TimeLineEdit.h"
#include "ui/controls/ctlMskzeit.h"

#include <QLineEdit>

namespace orv::ui {
namespace {

constexpr int kAll = -1;  // the whole field selected, as on entering it

constexpr int kAny = -2;  // the caret where a drop leaves it

struct KeyCase {
    const char* name;
    bool clockCheck;
    const char* start;  // hh:mm or hh:mm:ss, the field's format
    int caret;
    // {Drop}: the clipboard's text dropped onto the field; {Set}: set by the program
    const char* keys;
    const char* clipboard;  // pasted with {Ctrl+V}
    const char* text;       // the field afterwards
    int caretAfter;
    const char* message;  // part of the refusal; empty: none
};

const KeyCase kKeyCases[] = {
    // clang-format off
    {"ClockCheckRefusesMinutes94", true, "12:34:56", 2, "9", "", "12:34:56", 2, ""},
    {"WithoutClockCheckColonIsSteppedOver", false, "12:34:56", 2, "9", "", "12:94:56", 4, ""},
    {"BackspaceBehindColonLandsBeforeIt", false, "12:34:56", 4, "{Backspace}", "", "12:04:56", 2, ""},
    {"BackspaceOnColonZeroesHourDigit", false, "12:34:56", 3, "{Backspace}", "", "10:34:56", 1, ""},
    {"BackspaceInSecondsStaysBehindColon", false, "12:34:56", 7, "{Backspace}", "", "12:34:06", 6, ""},
    {"BackspaceAtStartDoesNothing", false, "12:34:56", 0, "{Backspace}", "", "12:34:56", 0, ""},
    {"SelectionAndBackspaceGiveZeros", false, "12:34:56", kAll, "{Backspace}", "", "00:00:00", 0, ""},
    {"LettersColonsBlanksChangeNothing", false, "12:34:56", 3, "a: x-", "", "12:34:56", 3, ""},
    {"LongFormatEndTakesNothing", false, "12:34:56", 8, "1", "", "12:34:56", 8, ""},
    {"DigitsFillTheWholeMask", false, "00:00:00", 0, "083015", "", "08:30:15", 8, ""},
    {"ShortFormatTyping", true, "00:00", 0, "1745", "", "17:45", 5, ""},
    {"ClockCheckRefusesHour25", true, "12:34:56", 0, "25", "", "22:34:56", 1, ""},
    {"TypingOverSelectionStartsAtFirstDigit", false, "12:34:56", kAll, "9", "", "92:34:56", 1, ""},
    {"DeleteZeroesNextDigit", false, "12:34:56", 2, "{Del}", "", "12:04:56", 4, ""},
    {"DeleteAtEndDoesNothing", false, "12:34:56", 8, "{Del}", "", "12:34:56", 8, ""},
    {"UndoIsNoWayAroundTheMask", false, "12:34:56", 0, "9{Ctrl+Z}", "", "92:34:56", 1, ""},
    {"CutLeavesZeros", false, "12:34:56", 3, "{Shift+End}{Ctrl+X}", "", "00:00:00", 3, ""},
    {"PasteWholeTime", true, "12:34:56", 3, "{Ctrl+V}", " 7:45:00 ", "07:45:00", 8, ""},
    {"PasteDigitsTypesThem", false, "12:34:56", 3, "{Ctrl+V}", "45", "12:45:56", 5, ""},
    {"PasteBrokenTimeRefused", false, "12:34:56", 0, "{Ctrl+V}", "12:3x:00", "12:34:56", 0, "keine Zeit im Format hh:mm:ss"},
    {"PasteBeyondClockRefused", true, "12:34:56", 0, "{Ctrl+V}", "25:61:99", "12:34:56", 0, "keine gültige Uhrzeit"},
    {"PasteBeyondClockWithoutCheck", false, "12:34:56", 0, "{Ctrl+V}", "25:61:59", "25:61:59", 8, ""},
    {"PasteLongerThanMaskRefused", false, "12:34:56", 0, "{Ctrl+V}", "1234567", "12:34:56", 0, "passt nicht"},
    {"PasteShortIntoLongRefused", false, "12:34:56", 0, "{Ctrl+V}", "12:30", "12:34:56", 0, "keine Zeit"},
    {"PasteAboveLongRangeRefused", false, "12:34:56", 0, "{Ctrl+V}", "600000:00:00", "12:34:56", 0, "zu groß: höchstens 596523:14:07"},
    {"WideHoursTypeInPlace", false, "100:00:00", 0, "2", "", "200:00:00", 1, ""},
    {"WideHoursBackspaceAfterColon", false, "123:45:00", 4, "{Backspace}", "", "120:45:00", 2, ""},
    {"WideHoursRefuseOverflow", false, "596523:14:07", 0, "9", "", "596523:14:07", 0, ""},
    {"DropBrokenTimeRefused", false, "12:34:56", 0, "{Drop}", "abc", "12:34:56", kAny, "„abc“ ist keine Zeit"},
    {"DropWholeTime", false, "12:34:56", 0, "{Drop}", "09:15:00", "09:15:00", kAny, ""},
    {"SetEmptyIsZero", false, "11:11:11", 0, "{Set}", "", "00:00:00", kAny, ""},
    {"SetWithClockCheckRefuses24", true, "11:11:11", 0, "{Set}", "24:00:00", "11:11:11", kAny, "keine gültige Uhrzeit"},
    {"SetDurationOf24Hours", false, "11:11:11", 0, "{Set}", "24:00:00", "24:00:00", kAny, ""},
    {"SetLongerThanMaskRefused", false, "11:11:11", 0, "{Set}", "12:34:567", "11:11:11", kAny, "keine Zeit"},
    {"SetLeadingHourZerosDropped", false, "11:11:11", 0, "{Set}", "0100:00:00", "100:00:00", kAny, ""},
    // clang-format on
};

TEST(MaskKeys, LeaveAWellFormedField) {
    for (const KeyCase& c : kKeyCases) {
        SCOPED_TRACE(c.name);
        ctlMskzeit field;
        QString message;
        QObject::connect(&field, &ctlMskzeit::Eingabefehler,
                         [&](const QString& m) { message = m; });
        test::showActive(field);
        auto* txt = test::child<TimeLineEdit>(field, "txtZeit");
        txt->setFocus();
        field.ZeitFormat(QString::fromUtf8(c.start).count(QLatin1Char(':')) - 1);
        field.pbUhrZeit(c.clockCheck);
        ASSERT_TRUE(field.Text(QString::fromUtf8(c.start)));
        c.caret == kAll ? txt->selectAll() : txt->setCursorPosition(c.caret);
        test::setClipboard(QString::fromUtf8(c.clipboard));
        if (QByteArray(c.keys) == "{Drop}") {
            test::dropText(txt, QString::fromUtf8(c.clipboard), QPoint(2, txt->height() / 2));
        } else if (QByteArray(c.keys) == "{Set}") {
            EXPECT_EQ(field.Text(QString::fromUtf8(c.clipboard)), !*c.message);
        } else {
            test::press(txt, QString::fromUtf8(c.keys));
        }
        EXPECT_EQ(field.Text(), QString::fromUtf8(c.text));
        EXPECT_TRUE(c.caretAfter == kAny || txt->cursorPosition() == c.caretAfter)
            << txt->cursorPosition();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.message))) << message.toStdString();
        EXPECT_EQ(message.isEmpty(), !*c.message) << message.toStdString();
    }
}

// Entering selects the whole field; leaving it, by Tab or Enter, validates, and a cancelled
// validation keeps the focus.
TEST(MaskFocus, EnteringSelectsAllAndLeavingValidates) {
    QWidget window;
    auto* field = new ctlMskzeit(&window);
    auto* next = new QLineEdit(&window);
    int validated = 0;
    QObject::connect(field, &ctlMskzeit::Validate, [&](bool& cancel) { cancel = ++validated < 3; });
    // The field never had the focus before: the window opens on the line after it.
    next->setFocus();
    test::showActive(window);
    test::press(next, QStringLiteral("{Tab}"));
    auto* txt = test::child<TimeLineEdit>(*field, "txtZeit");
    ASSERT_TRUE(txt->hasFocus());
    EXPECT_EQ(txt->selectedText(), QStringLiteral("00:00"));
    EXPECT_EQ(validated, 0);
    // Cancelled twice, by Tab and by Enter; the third leave passes.
    for (const char* key : {"{Tab}", "{Return}", "{Tab}"}) {
        EXPECT_TRUE(txt->hasFocus()) << key;
        test::press(txt, QString::fromLatin1(key));
    }
    EXPECT_EQ(validated, 3);
    EXPECT_TRUE(next->hasFocus());
}

}  // namespace
}  // namespace orv::ui
