#include "WidgetHarness.h"

#include "ui/controls/TimeLineEdit.h"
#include "ui/controls/ctlMskzeit.h"

#include <QLineEdit>

namespace orv::ui {
namespace {

struct KeyCase {
    const char* name;
    bool clockCheck;
    const char* start;  // hh:mm or hh:mm:ss, the field's format
    int caret;
    // {Drop}: the clipboard's text dropped onto the field
    const char* keys;
    const char* clipboard;  // pasted with {Ctrl+V}
    const char* text;       // the field afterwards
    const char* message;    // part of the refusal; empty: none
};

const KeyCase kKeyCases[] = {
    // clang-format off
    {"ClockCheckRefusesMinutes94", true, "12:34:56", 2, "9", "", "12:34:56", ""},
    {"WithoutClockCheckColonIsSteppedOver", false, "12:34:56", 2, "9", "", "12:94:56", ""},
    {"BackspaceBehindColonLandsBeforeIt", false, "12:34:56", 4, "{Backspace}", "", "12:04:56", ""},
    {"LettersColonsBlanksChangeNothing", false, "12:34:56", 3, "a: x-", "", "12:34:56", ""},
    {"DigitsFillTheWholeMask", false, "00:00:00", 0, "083015", "", "08:30:15", ""},
    {"UndoIsNoWayAroundTheMask", false, "12:34:56", 0, "9{Ctrl+Z}", "", "92:34:56", ""},
    {"PasteWholeTime", true, "12:34:56", 3, "{Ctrl+V}", " 7:45:00 ", "07:45:00", ""},
    {"PasteBrokenTimeRefused", false, "12:34:56", 0, "{Ctrl+V}", "12:3x:00", "12:34:56", "keine Zeit im Format hh:mm:ss"},
    {"PasteBeyondClockRefused", true, "12:34:56", 0, "{Ctrl+V}", "25:61:99", "12:34:56", "keine gültige Uhrzeit"},
    {"PasteAboveLongRangeRefused", false, "12:34:56", 0, "{Ctrl+V}", "600000:00:00", "12:34:56", "zu groß: höchstens 596523:14:07"},
    {"WideHoursRefuseOverflow", false, "596523:14:07", 0, "9", "", "596523:14:07", ""},
    {"DropBrokenTimeRefused", false, "12:34:56", 0, "{Drop}", "abc", "12:34:56", "„abc“ ist keine Zeit"},
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
        txt->setCursorPosition(c.caret);
        test::setClipboard(QString::fromUtf8(c.clipboard));
        if (QByteArray(c.keys) == "{Drop}") {
            test::dropText(txt, QString::fromUtf8(c.clipboard), QPoint(2, txt->height() / 2));
        } else {
            test::press(txt, QString::fromUtf8(c.keys));
        }
        EXPECT_EQ(field.Text(), QString::fromUtf8(c.text));
        EXPECT_TRUE(*c.message ? message.contains(QString::fromUtf8(c.message)) : message.isEmpty())
            << message.toStdString();
    }
}

}  // namespace
}  // namespace orv::ui
