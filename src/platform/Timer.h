#pragma once

namespace orv::platform {

// What the timer calls periodically on the component's thread.
class TimerNotify {
public:
    virtual ~TimerNotify() = default;
    virtual void TimerTick() = 0;
};

// The periodic timer: told whom to call, started, stopped, and finished once before release.
// The component neither sets nor reads its interval: time is always measured from the clock.
class TimerObject {
public:
    virtual ~TimerObject() = default;
    virtual void take(TimerNotify* notify) = 0;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual void finish() = 0;
};

}  // namespace orv::platform
