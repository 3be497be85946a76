#pragma once

#include "ModalDriver.h"
#include "WidgetHarness.h"
#include "session/SessionTestSupport.h"

#include "ui/dialogs/FrmEigenschaftenDialog.h"
#include "ui/dialogs/FrmExterneZeitDialog.h"
#include "ui/dialogs/FrmPauseDialog.h"
#include "ui/dialogs/frmLeistung.h"
#include "ui/dialogs/frmLeistungUmbuchen.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>

namespace orv::test {

// What an employee does in the component's dialogs, all of them the real ones, against a real
// session (with an hour of idle time unless the test asks otherwise).
class DialogTest : public SessionTest {
protected:
    explicit DialogTest(qint64 idleSeconds = 3600, bool started = true)
        : SessionTest(started, idleSeconds) {}
    template <typename Dialog>
    auto fabrik() {
        return [this] { return std::make_unique<Dialog>(*platform_); };
    }
    void SetUp() override {
        SessionTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        auto& windows = platform_->qtWindows();
        windows.FrmLeistung = fabrik<ui::FrmLeistungDialog>();
        windows.FrmLeistungUmbuchen = fabrik<ui::FrmLeistungUmbuchenDialog>();
        windows.FrmPause = fabrik<ui::FrmPauseDialog>();
        windows.FrmExterneZeit = fabrik<ui::FrmExterneZeitDialog>();
        windows.FrmEigenschaften = fabrik<ui::FrmEigenschaftenDialog>();
        // The employee acknowledges every message not scripted otherwise, a question with Yes;
        // the test reads what was said.
        platform_->messageBoxes().answerWith([](const AskedBox& box) {
            return box.buttons >= platform::MsgButtons::YesNo ? platform::MsgAnswer::Yes
                                                              : platform::MsgAnswer::Ok;
        });
    }

    // Opens the dialog through the session's command, lets the employee act in it, and checks
    // what the command answered.
    template <typename Dialog, typename Command, typename R>
    void im(Command&& command, R erwartet, std::function<void(Dialog&)> employee) {
        const std::shared_ptr<bool> ran = whenModal<Dialog>(std::move(employee));
        EXPECT_EQ(command(), erwartet);
        EXPECT_TRUE(*ran) << "the dialog did not show";
    }

    static void klick(const QWidget& dialog, const char* button) {
        QTest::mouseClick(child<QAbstractButton>(dialog, button), Qt::LeftButton);
    }
    // A label's text as the employee sees it: nothing while it is hidden.
    static QString anzeige(const QWidget& dialog, const char* label) {
        const auto* l = child<QLabel>(dialog, label);
        return l->isVisible() ? l->text() : QString();
    }
    // The order picked in the office's browser, from the dialog's tool.
    void waehleAuftrag(const QWidget& dialog, std::int32_t auftragId) {
        platform_->orderBrowser().answer(std::vector<std::int32_t>{auftragId});
        child<QAction>(dialog, "mnuAuftrag")->trigger();
    }
    // Types a time into the clock field, digit by digit as the mask takes it.
    static void zeit(const QWidget& dialog, const QString& ziffern,
                     const QString& danach = QStringLiteral("{Tab}")) {
        auto* edit = child<QLineEdit>(dialog, "txtZeit");
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        press(edit, ziffern + danach);
    }
    // The message boxes shown since the test began, their texts.
    QStringList meldungen() const {
        QStringList texts;
        for (const AskedBox& box : platform_->messageBoxes().asked()) {
            texts << box.text;
        }
        return texts;
    }
    void pruefeSalden() {
        expectBalanced();
        expectRowsMatchObjects();
    }
};

}  // namespace orv::test
