#pragma once

#include "platform/Clock.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace orv {
class _CStoppUhren;
}

namespace orv::stoppuhren {

// The demo's time: it starts at the real present and moves only when the script says so, so a
// working morning takes seconds.
class DemoClock final : public platform::Clock {
public:
    DemoClock();
    QDateTime now() const override { return now_; }
    void advance(qint64 seconds) { now_ = now_.addSecs(seconds); }

private:
    QDateTime now_;
};

// While the demo runs, whatever the component asks is answered as an employee who agrees would
// answer (the default button), and other windows that open modal are read out and closed; all
// of it is written to the terminal, so nothing waits for a person.
class DemoAnswers final : public QObject {
public:
    DemoAnswers();

private:
    void answer();
    QTimer timer_;
};

// A short working morning through the stopwatch window, for a machine without a display:
// start an order, switch to another, stop, release and book an entry; screenshots of both tabs
// (and of the tray with its menu, where the desktop has one) go to `folder`, the day's totals
// to the terminal, and the session ends. True when every step did what it should.
bool runDemo(_CStoppUhren& component, DemoClock& clock, const QString& folder);

}  // namespace orv::stoppuhren
