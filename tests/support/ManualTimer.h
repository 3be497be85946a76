#pragma once

#include "platform/Timer.h"

#include <QtGlobal>

namespace orv::test {

class SettableClock;

// A timer that ticks only when the test says so, and remembers how the component handled it.
class ManualTimer final : public platform::TimerObject {
public:
    void take(platform::TimerNotify* notify) override { notify_ = notify; }
    void start() override;
    void stop() override { running_ = false; }
    void finish() override {
        finished_ = true;
        running_ = false;
    }

    // One tick after the seconds passed on the clock (also when the timer is stopped, as real
    // time passes): calls TimerTick when the timer runs and someone takes the ticks. True when
    // it called.
    bool tick(SettableClock& clock, qint64 seconds);
    bool tick();

    bool running() const { return running_; }
    bool finished() const { return finished_; }
    bool released() const { return released_; }
    // Called by whoever handed the timer out when the component lets go of it.
    void markReleased() { released_ = true; }

private:
    platform::TimerNotify* notify_ = nullptr;
    bool running_ = false;
    bool finished_ = false;
    bool released_ = false;
};

}  // namespace orv::test
