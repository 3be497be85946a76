#include "WidgetHarness.h"

#include "ui/desktop/ProblemReportDialog.h"
#include "ui/desktop/QtMessageBoxes.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace orv::ui {
namespace {

using platform::MsgAnswer;
using platform::MsgButtons;
using platform::MsgIcon;

// Runs `act` on the modal dialog once it shows; the dialog's own loop is running then.
void whenModal(std::function<void(QWidget&)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr) << "no modal dialog shows";
        act(*modal);
    });
}

QStringList captions(const QWidget& dialog) {
    QStringList out;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
        out << button->text();
    }
    out.sort();
    return out;
}

TEST(DesktopTest, MessageBoxesSpeakGermanAndEscapeChangesLeast) {
    struct Case {
        MsgButtons buttons;
        QStringList shown;
        const char* press;  // a button's caption, or empty for Escape
        MsgAnswer answer;
    };
    const Case cases[] = {
        {MsgButtons::OkOnly, {"OK"}, "", MsgAnswer::Ok},
        {MsgButtons::OkCancel, {"Abbrechen", "OK"}, "", MsgAnswer::Cancel},
        {MsgButtons::OkCancel, {"Abbrechen", "OK"}, "OK", MsgAnswer::Ok},
        {MsgButtons::YesNo, {"Ja", "Nein"}, "", MsgAnswer::No},
        {MsgButtons::YesNo, {"Ja", "Nein"}, "Ja", MsgAnswer::Yes},
        {MsgButtons::YesNoCancel, {"Abbrechen", "Ja", "Nein"}, "Nein", MsgAnswer::No},
        {MsgButtons::YesNoCancel, {"Abbrechen", "Ja", "Nein"}, "", MsgAnswer::Cancel},
    };
    QtMessageBoxes boxes;
    for (const Case& c : cases) {
        QString text;
        whenModal([&](QWidget& box) {
            EXPECT_EQ(captions(box), c.shown);
            text = static_cast<QMessageBox&>(box).text();
            EXPECT_EQ(static_cast<QMessageBox&>(box).textFormat(), Qt::PlainText);
            if (QString(c.press).isEmpty()) {
                test::press(&box, "{Esc}");
                return;
            }
            for (QPushButton* button : box.findChildren<QPushButton*>()) {
                if (button->text() == c.press) {
                    button->click();
                }
            }
        });
        EXPECT_EQ(boxes.show("<b>Müller & Söhne</b>", c.buttons, MsgIcon::Question, "Stoppuhren"),
                  c.answer)
            << c.press;
        EXPECT_EQ(text, "<b>Müller & Söhne</b>");
    }
}

TEST(DesktopTest, TheProblemReportShowsNumberDescriptionAndCallPathAndCopiesThem) {
    std::int32_t number = 5;
    QString source = "CStoppUhren.Starten -> CDBAccess.LoginSchreiben";
    QString description = "Die Verbindung zur Datenbank ist unterbrochen.";
    QString details;
    whenModal([&](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Problembericht");
        auto* text = test::child<QPlainTextEdit>(dialog, "txtDetails");
        EXPECT_FALSE(text->isVisible()) << "details show only on request";
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->text() == "Details" || button->text() == "Kopieren") {
                button->click();
            }
        }
        EXPECT_TRUE(text->isVisible());
        details = text->toPlainText();
        test::press(&dialog, "{Return}");
    });
    ProblemReportServer().TQ_gShowError(number, source, description);
    EXPECT_EQ(details,
              "Fehler 5: Die Verbindung zur Datenbank ist unterbrochen.\n"
              "Aufrufpfad: CStoppUhren.Starten -> CDBAccess.LoginSchreiben");
    EXPECT_EQ(QApplication::clipboard()->text(), details);
}

}  // namespace
}  // namespace orv::ui
