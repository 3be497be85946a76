#include "WidgetHarness.h"

#include "ui/desktop/ProblemReportDialog.h"
#include "ui/desktop/QtMessageBoxes.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <tuple>

namespace orv::ui {
namespace {

using platform::MsgAnswer;
using platform::MsgButtons;

// Once the modal dialog shows, in its own loop: notes its title, its sorted captions and its
// text (a message box's with its format, a report's details), after clicking the buttons named;
// then presses the keys.
void whenModal(QString& seen, const QStringList& click, const QString& keys) {
    QTimer::singleShot(0, [&seen, click, keys] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr) << "no modal dialog shows";
        QStringList captions;
        for (QPushButton* button : modal->findChildren<QPushButton*>()) {
            captions << button->text();
            if (click.contains(button->text())) {
                button->click();
            }
        }
        captions.sort();
        const auto* box = qobject_cast<QMessageBox*>(modal);
        seen = modal->windowTitle() + '|' + captions.join(' ') + '|' +
               (box != nullptr ? box->text() + '|' + QString::number(box->textFormat())
                               : test::child<QPlainTextEdit>(*modal, "txtDetails")->toPlainText());
        test::press(modal, keys);
    });
}

// The captions are German, the text is shown as it is, and Escape gives the answer that
// changes least.
TEST(DesktopTest, MessageBoxesSpeakGermanAndEscapeChangesLeast) {
    // the buttons, their captions, the one clicked ("": Escape pressed), the answer
    const std::tuple<MsgButtons, const char*, const char*, MsgAnswer> cases[] = {
        {MsgButtons::OkOnly, "OK", "", MsgAnswer::Ok},
        {MsgButtons::OkCancel, "Abbrechen OK", "", MsgAnswer::Cancel},
        {MsgButtons::YesNo, "Ja Nein", "", MsgAnswer::No},
        {MsgButtons::YesNoCancel, "Abbrechen Ja Nein", "Nein", MsgAnswer::No},
        {MsgButtons::YesNoCancel, "Abbrechen Ja Nein", "", MsgAnswer::Cancel},
    };
    QtMessageBoxes boxes;
    for (const auto& [buttons, shown, click, answer] : cases) {
        QString seen;
        whenModal(seen, {click}, *click != 0 ? QString() : QStringLiteral("{Esc}"));
        EXPECT_EQ(
            boxes.show("<b>Müller & Söhne</b>", buttons, platform::MsgIcon::Question, "Stoppuhren"),
            answer)
            << click;
        EXPECT_EQ(seen, "Stoppuhren|" + QString::fromUtf8(shown) + "|<b>Müller & Söhne</b>|0");
    }
}

TEST(DesktopTest, TheProblemReportShowsNumberDescriptionAndCallPathAndCopiesThem) {
    std::int32_t number = 5;
    QString source = "CStoppUhren.Starten -> CDBAccess.LoginSchreiben";
    QString description = "Die Verbindung zur Datenbank ist unterbrochen.";
    QString seen;
    whenModal(seen, {"Details", "Kopieren"}, "{Return}");
    ProblemReportServer().TQ_gShowError(number, source, description);
    const QString details =
        "Fehler 5: Die Verbindung zur Datenbank ist unterbrochen.\n"
        "Aufrufpfad: CStoppUhren.Starten -> CDBAccess.LoginSchreiben";
    EXPECT_EQ(seen, "Problembericht|Details Kopieren OK|" + details);
    EXPECT_EQ(QApplication::clipboard()->text(), details);
}

}  // namespace
}  // namespace orv::ui
