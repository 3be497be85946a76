#include "ManualTimer.h"

#include "CallJournal.h"
#include "SettableClock.h"

#include <gtest/gtest.h>

namespace orv::test {

void ManualTimer::take(platform::TimerNotify* notify) {
    ++takes_;
    notify_ = notify;
    note(journal_, QStringLiteral("Timer.take"));
}

void ManualTimer::start() {
    // A finished timer is on its way out; the component must not count on it any more.
    if (finished()) {
        ADD_FAILURE() << "Der Timer wurde nach finish() noch einmal gestartet.";
    }
    ++starts_;
    running_ = true;
    note(journal_, QStringLiteral("Timer.start"));
}

void ManualTimer::stop() {
    ++stops_;
    running_ = false;
    note(journal_, QStringLiteral("Timer.stop"));
}

void ManualTimer::finish() {
    ++finishes_;
    running_ = false;
    note(journal_, QStringLiteral("Timer.finish"));
}

bool ManualTimer::tick() {
    if (!running_ || notify_ == nullptr) {
        return false;
    }
    ++ticks_;
    note(journal_, QStringLiteral("Timer.TimerTick"));
    notify_->TimerTick();
    return true;
}

bool ManualTimer::tick(SettableClock& clock, qint64 seconds) {
    clock.advance(seconds);
    return tick();
}

void ManualTimer::markReleased() {
    released_ = true;
    note(journal_, QStringLiteral("Timer.release"));
}

}  // namespace orv::test
