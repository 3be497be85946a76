#pragma once

#include "platform/Timer.h"

#include <QtGlobal>

namespace orv::test {

class CallJournal;
class SettableClock;

// A timer that ticks only when the test says so, and remembers how the component handled it.
class ManualTimer final : public platform::TimerObject {
public:
    void take(platform::TimerNotify* notify) override;
    void start() override;
    void stop() override;
    void finish() override;

    // One tick: calls TimerTick when the timer runs and someone takes the ticks. True when it
    // called.
    bool tick();
    // Lets the seconds pass on the clock first: a real tick comes after time has passed, also
    // when the timer is stopped.
    bool tick(SettableClock& clock, qint64 seconds);

    bool running() const { return running_; }
    bool finished() const { return finishes_ > 0; }
    bool released() const { return released_; }
    platform::TimerNotify* notify() const { return notify_; }
    int takes() const { return takes_; }
    int starts() const { return starts_; }
    int stops() const { return stops_; }
    int finishes() const { return finishes_; }
    int ticks() const { return ticks_; }

    void setJournal(CallJournal* journal) { journal_ = journal; }
    // Called by whoever handed the timer out when the component lets go of it.
    void markReleased();

private:
    platform::TimerNotify* notify_ = nullptr;
    bool running_ = false;
    bool released_ = false;
    int takes_ = 0;
    int starts_ = 0;
    int stops_ = 0;
    int finishes_ = 0;
    int ticks_ = 0;
    CallJournal* journal_ = nullptr;
};

}  // namespace orv::test
