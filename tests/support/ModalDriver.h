#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>

namespace orv::test {

// A modal window runs an event loop of its own, inside the call that opened it; a test acts in
// it from outside. Call this before the call that opens the window: as soon as the active modal
// widget is a W, shown and active, the action runs on it once, inside the window's loop. The
// action ends by closing the window (a click, Enter, Escape), or the opening call never returns.
// When no such window shows within the time, the test fails and whatever modal window is open is
// closed, so the test does not hang.
template <typename W>
void whenModal(std::function<void(W&)> action, int timeoutMs = 10000) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QElapsedTimer elapsed;
    elapsed.start();
    QObject::connect(poll, &QTimer::timeout, [poll, elapsed, timeoutMs, act = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* window = qobject_cast<W*>(modal);
        if (window != nullptr && window->isVisible() && window->isActiveWindow()) {
            poll->stop();
            poll->deleteLater();
            act(*window);
            return;
        }
        if (elapsed.hasExpired(timeoutMs)) {
            poll->stop();
            poll->deleteLater();
            ADD_FAILURE() << "Kein modales Fenster " << W::staticMetaObject.className()
                          << " erschienen.";
            if (modal != nullptr) {
                modal->close();
            }
        }
    });
    poll->start();
}

}  // namespace orv::test
