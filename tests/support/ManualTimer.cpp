#include "ManualTimer.h"

#include "SettableClock.h"

#include <gtest/gtest.h>

namespace orv::test {

void ManualTimer::start() {
    // A finished timer is on its way out; the component must not count on it any more.
    EXPECT_FALSE(finished_) << "Der Timer wurde nach finish() noch einmal gestartet.";
    running_ = true;
}

bool ManualTimer::tick() {
    if (!running_ || notify_ == nullptr) {
        return false;
    }
    notify_->TimerTick();
    return true;
}

bool ManualTimer::tick(SettableClock& clock, qint64 seconds) {
    clock.advance(seconds);
    return tick();
}

}  // namespace orv::test
