#pragma once

#include "platform/Clock.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace orv::test {

// The time as the test says. Starts on Monday 16 March 2026 at 08:00 local time, a working day
// on which the demo office's orders run.
class SettableClock final : public platform::Clock {
public:
    static QDateTime startTime() { return QDateTime(QDate(2026, 3, 16), QTime(8, 0, 0)); }

    QDateTime now() const override { return now_; }

    // The clock keeps whole seconds, as the component's times do.
    void set(const QDateTime& time) { now_ = time.addMSecs(-time.time().msec()); }
    // Real seconds: across a daylight-saving change the wall clock moves by an hour more or less.
    void advance(qint64 seconds) { now_ = now_.addSecs(seconds); }

private:
    QDateTime now_ = startTime();
};

}  // namespace orv::test
