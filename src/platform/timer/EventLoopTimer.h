#pragma once

#include "platform/Timer.h"

#include <chrono>
#include <memory>

class QTimer;

namespace orv::platform {

// The production timer: a QTimer on the thread that creates it, so its ticks arrive through
// that thread's event loop, also while a modal dialog or message box runs a nested loop there.
// Create, start, stop and finish it on that one thread.
//
// A tick is not re-entrant. Its handler may itself run a nested event loop (a dialog opened from
// the tick, a message box reporting an error), and the component would otherwise see a tick
// while it is still handling one, half-way through changing its state. Qt holds back the timer
// whose timeout it is delivering, but a timer stopped and started again inside the handler is a
// new Qt timer that fires in the nested loop; so ticks that come while one is being handled are
// dropped here. Nothing is lost: the component measures time from the clock, never by counting
// ticks.
class EventLoopTimer final : public TimerObject {
public:
    static constexpr std::chrono::milliseconds kDefaultInterval{1000};

    explicit EventLoopTimer(std::chrono::milliseconds interval = kDefaultInterval);
    ~EventLoopTimer() override;
    EventLoopTimer(const EventLoopTimer&) = delete;
    EventLoopTimer& operator=(const EventLoopTimer&) = delete;

    void take(TimerNotify* notify) override;
    void start() override;
    void stop() override;
    // For good: a later start does nothing, and no tick follows, not even one already due.
    void finish() override;

private:
    // Qt cannot carry an exception through its event loop, and the component reports the errors
    // of a tick itself: one escaping is a fault that ends the program here, not inside Qt.
    void deliver() noexcept;

    std::unique_ptr<QTimer> timer_;
    TimerNotify* notify_ = nullptr;
    bool running_ = false;
    bool finished_ = false;
    bool ticking_ = false;
    // Set while a tick runs: the handler may release the timer, and the tick must then not touch
    // it again once the handler returned.
    bool* destroyed_ = nullptr;
};

}  // namespace orv::platform
