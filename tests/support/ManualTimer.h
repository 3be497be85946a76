#pragma once

#include "SettableClock.h"

#include "platform/Timer.h"

#include <gtest/gtest.h>

#include <QtGlobal>

namespace orv::test {

// A timer that ticks only when the test says so, and remembers how the component handled it.
class ManualTimer final : public platform::TimerObject {
public:
    void take(platform::TimerNotify* notify) override { notify_ = notify; }
    void start() override {
        // A finished timer is on its way out; the component must not count on it any more.
        EXPECT_FALSE(finished_) << "Der Timer wurde nach finish() noch einmal gestartet.";
        running_ = true;
    }
    void stop() override { running_ = false; }
    void finish() override {
        finished_ = true;
        running_ = false;
    }

    // One tick after the seconds passed on the clock (also when the timer is stopped, as real
    // time passes): calls TimerTick when the timer runs and someone takes the ticks. True when
    // it called.
    bool tick(SettableClock& clock, qint64 seconds) {
        clock.advance(seconds);
        return tick();
    }
    bool tick() {
        if (!running_ || notify_ == nullptr) {
            return false;
        }
        notify_->TimerTick();
        return true;
    }

    bool finished() const { return finished_; }

private:
    platform::TimerNotify* notify_ = nullptr;
    bool running_ = false;
    bool finished_ = false;
};

}  // namespace orv::test
