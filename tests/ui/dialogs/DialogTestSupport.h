#pragma once

#include "ModalDriver.h"
#include "WidgetHarness.h"
#include "session/SessionTestSupport.h"

#include "platform/MessageBoxes.h"

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QTest>

#include <functional>

namespace orv::test {

// What an employee does in the component's dialogs, against a real session.
class DialogTest : public SessionTest {
protected:
    explicit DialogTest(qint64 idleSeconds = 3600) : SessionTest(true, idleSeconds) {}
    void SetUp() override {
        SessionTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        // The employee acknowledges every message; the test reads what was said.
        platform_->messageBoxes().answerWith([](const AskedBox& box) {
            const bool frage = box.buttons == platform::MsgButtons::YesNo ||
                               box.buttons == platform::MsgButtons::YesNoCancel;
            return frage ? platform::MsgAnswer::Yes : platform::MsgAnswer::Ok;
        });
    }

    // Opens the dialog through the session's command and lets the employee act in it.
    template <typename Dialog, typename Command>
    auto im(std::function<void(Dialog&)> employee, Command&& command) {
        const std::shared_ptr<bool> ran = whenModal<Dialog>(std::move(employee));
        auto result = command();
        EXPECT_TRUE(*ran) << "the dialog did not show";
        return result;
    }

    static void klick(const QWidget& dialog, const char* button) {
        QTest::mouseClick(child<QAbstractButton>(dialog, button), Qt::LeftButton);
    }
    static void werkzeug(const QWidget& dialog, const char* tool) {
        child<QAction>(dialog, tool)->trigger();
    }
    // Types over a field's whole text (a line edit, or the first in the widget) and leaves it
    // with the keys given.
    static void tippe(const QWidget& dialog, const char* name, const QString& text,
                      const QString& danach = QStringLiteral("{Tab}")) {
        QWidget* field = child<QWidget>(dialog, name);
        auto* edit = qobject_cast<QLineEdit*>(field);
        if (edit == nullptr) {
            edit = field->findChild<QLineEdit*>();
        }
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        setClipboard(text);
        press(edit, QStringLiteral("{Ctrl+V}") + danach);
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
};

}  // namespace orv::test
