#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace orv::test {

// A modal dialog runs its own event loop, so a test says beforehand what the employee does in
// it: once a modal widget of type W is the active one, `act` runs on it (and may arrange the
// next dialog the same way). The answer tells afterwards whether it ran. A dialog still open
// long after `act` is a test that forgot to close it: it is cancelled and the test fails.
template <typename W>
std::shared_ptr<bool> whenModal(std::function<void(W&)> act, int timeoutMs = 10000) {
    auto ran = std::make_shared<bool>(false);
    auto* poll = new QTimer(qApp);
    const QDeadlineTimer deadline(timeoutMs);
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        auto* widget = qobject_cast<W*>(QApplication::activeModalWidget());
        if (widget == nullptr || !widget->isVisible()) {
            if (deadline.hasExpired()) {
                poll->deleteLater();
                ADD_FAILURE() << "no modal " << W::staticMetaObject.className() << " showed";
            }
            return;
        }
        poll->stop();
        poll->deleteLater();
        // As the desktop gives a new dialog the keyboard, also one opened from inside another.
        widget->activateWindow();
        if (!QTest::qWaitForWindowActive(widget) || QApplication::activeWindow() != widget) {
            QApplication::setActiveWindow(widget);
        }
        EXPECT_EQ(QApplication::activeWindow(), widget);
        *ran = true;
        QPointer<W> guarded(widget);
        act(*widget);
        QTimer::singleShot(timeoutMs, qApp, [guarded] {
            if (guarded != nullptr && guarded->isVisible()) {
                ADD_FAILURE() << "the modal " << W::staticMetaObject.className()
                              << " was left open";
                if (auto* dialog = qobject_cast<QDialog*>(guarded.data())) {
                    dialog->reject();
                } else {
                    guarded->close();
                }
            }
        });
    });
    poll->start(5);
    return ran;
}

}  // namespace orv::test
