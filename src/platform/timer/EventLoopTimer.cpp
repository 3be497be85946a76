#include "platform/timer/EventLoopTimer.h"

#include <QObject>
#include <QTimer>

namespace orv::platform {

EventLoopTimer::EventLoopTimer(std::chrono::milliseconds interval)
    : timer_(std::make_unique<QTimer>()) {
    timer_->setInterval(interval);
    QObject::connect(timer_.get(), &QTimer::timeout, [this] { deliver(); });
}

EventLoopTimer::~EventLoopTimer() {
    timer_->stop();
    QObject::disconnect(timer_.get(), nullptr, nullptr, nullptr);
    if (destroyed_ != nullptr) {
        *destroyed_ = true;
        // Released from inside its own tick: the QTimer is still emitting and goes once the
        // event loop has left it.
        timer_.release()->deleteLater();
    }
}

void EventLoopTimer::take(TimerNotify* notify) {
    if (!finished_) {
        notify_ = notify;
    }
}

void EventLoopTimer::start() {
    if (finished_) {
        return;
    }
    running_ = true;
    timer_->start();
}

void EventLoopTimer::stop() {
    running_ = false;
    timer_->stop();
}

void EventLoopTimer::finish() {
    stop();
    finished_ = true;
    notify_ = nullptr;
}

void EventLoopTimer::deliver() noexcept {
    // The flags also hold back a timeout the event loop had already taken up when the timer was
    // stopped or finished.
    if (ticking_ || !running_ || notify_ == nullptr) {
        return;
    }
    bool destroyed = false;
    destroyed_ = &destroyed;
    ticking_ = true;
    notify_->TimerTick();
    if (destroyed) {
        return;
    }
    ticking_ = false;
    destroyed_ = nullptr;
}

}  // namespace orv::platform
