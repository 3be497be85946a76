#include "platform/timer/EventLoopTimer.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <tuple>

namespace orv::test {
namespace {

using namespace std::chrono_literals;
using platform::EventLoopTimer;

constexpr auto kInterval = 5ms;
// Generous: the machine running the tests may be busy with other work.
constexpr auto kPatience = 10s;

// Runs a nested event loop, as a modal dialog does, until the condition holds or the patience is
// used up.
bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = kPatience) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done()) {
            loop.quit();
        }
    });
    poll.start(1ms);
    QTimer::singleShot(limit, &loop, &QEventLoop::quit);
    if (!done()) {
        loop.exec();
    }
    return done();
}

// Long enough for several intervals.
void runFor(std::chrono::milliseconds duration) {
    runUntil([] { return false; }, duration);
}

struct Counter final : platform::TimerNotify {
    void TimerTick() override { onTick(++ticks); }
    int ticks = 0;
    std::function<void(int)> onTick = [](int) {};
};

// Ticks come only after start and while the event loop runs; stop holds them back and start
// resumes them; they go to whoever took them last. Finished from another event's handler while
// its own timeout is already due: no tick comes after, and neither start nor take brings them
// back. Released from inside its own tick: no tick comes after, and nothing of it is touched.
TEST(EventLoopTimerTest, StartStopTakeFinishAndReleaseDecideWhenAndWhereTicksGo) {
    Counter first, second, later;
    EventLoopTimer timer(kInterval);
    timer.take(&first);
    runFor(50ms);
    EXPECT_EQ(first.ticks, 0);
    timer.start();
    ASSERT_TRUE(runUntil([&] { return first.ticks >= 3; })) << first.ticks;
    timer.stop();
    const int stoppedAt = first.ticks;
    runFor(60ms);
    timer.start();
    timer.take(&second);
    EXPECT_TRUE(runUntil([&] { return second.ticks >= 2; }));
    QTimer::singleShot(0, [&] {
        std::this_thread::sleep_for(kInterval * 6);
        timer.finish();
    });
    runFor(60ms);
    const int finishedAt = second.ticks;
    timer.start();
    timer.take(&later);
    auto owned = std::make_unique<EventLoopTimer>(kInterval);
    later.onTick = [&](int) { owned.reset(); };
    owned->take(&later);
    owned->start();
    runFor(60ms);
    EXPECT_EQ(std::tuple(first.ticks, second.ticks, later.ticks),
              std::tuple(stoppedAt, finishedAt, 1));
    EXPECT_EQ(owned, nullptr);
}

// A modal dialog or message box runs its own event loop: the stopwatch keeps counting in it,
// but a tick whose handler opens one is not entered a second time meanwhile, also when that
// handler stopped and started the timer; ticks resume once it returned.
TEST(EventLoopTimerTest, NestedLoopsGetTicksButNeverANestedTick) {
    for (const bool restartInHandler : {false, true}) {
        Counter counter;
        EventLoopTimer timer(kInterval);
        int depth = 0, deepest = 0;
        counter.onTick = [&](int) {
            deepest = std::max(deepest, ++depth);
            if (counter.ticks == 1) {
                if (restartInHandler) {
                    timer.stop();
                    timer.start();
                }
                runFor(kInterval * 6);  // several of the timer's intervals pass inside
            }
            --depth;
        };
        timer.take(&counter);
        timer.start();
        EXPECT_TRUE(runUntil([&] { return counter.ticks >= 3; })) << counter.ticks;
        EXPECT_EQ(deepest, 1) << (restartInHandler ? "restarted in the handler" : "");

        // A dialog opened by another event's handler.
        counter.onTick = [](int) {};
        int ticksInDialog = -1;
        QTimer::singleShot(0, [&] {
            const int before = counter.ticks;
            runUntil([&] { return counter.ticks >= before + 3; });
            ticksInDialog = counter.ticks - before;
        });
        EXPECT_TRUE(runUntil([&] { return ticksInDialog >= 0; }, kPatience * 2));
        EXPECT_GE(ticksInDialog, 3);
        timer.finish();
    }
}

}  // namespace
}  // namespace orv::test
