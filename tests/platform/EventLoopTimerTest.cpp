#include "platform/timer/EventLoopTimer.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

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
// back.
TEST(EventLoopTimerTest, StartStopTakeAndFinishDecideWhenAndWhereTicksGo) {
    Counter first;
    Counter second;
    Counter later;
    EventLoopTimer timer(kInterval);
    timer.take(&first);
    runFor(50ms);
    EXPECT_EQ(first.ticks, 0);
    timer.start();
    ASSERT_TRUE(runUntil([&] { return first.ticks >= 3; })) << first.ticks;
    timer.stop();
    const int stoppedAt = first.ticks;
    runFor(60ms);
    EXPECT_EQ(first.ticks, stoppedAt);
    timer.start();
    EXPECT_TRUE(runUntil([&] { return first.ticks >= stoppedAt + 2; })) << first.ticks;
    timer.take(&second);
    const int firstTicks = first.ticks;
    EXPECT_TRUE(runUntil([&] { return second.ticks >= 1; }));
    EXPECT_EQ(first.ticks, firstTicks);
    QTimer::singleShot(0, [&] {
        std::this_thread::sleep_for(kInterval * 6);
        timer.finish();
    });
    runFor(60ms);
    const int finishedAt = second.ticks;
    timer.start();
    timer.take(&later);
    runFor(60ms);
    EXPECT_EQ(second.ticks, finishedAt);
    EXPECT_EQ(later.ticks, 0);
}

// A modal dialog or message box runs its own event loop: the stopwatch keeps counting in it,
// but a tick whose handler opens one is not entered a second time meanwhile, also when that
// handler stopped and started the timer; ticks resume once it returned.
TEST(EventLoopTimerTest, NestedLoopsGetTicksButNeverANestedTick) {
    for (const bool restartInHandler : {false, true}) {
        Counter counter;
        EventLoopTimer timer(kInterval);
        int depth = 0;
        int deepest = 0;
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

// Finished from inside its own tick, or released there: no tick comes after.
TEST(EventLoopTimerTest, FinishOrReleaseInsideItsOwnTickEndsTicks) {
    Counter finishing;
    Counter releasing;
    EventLoopTimer finished(kInterval);
    auto owned = std::make_unique<EventLoopTimer>(kInterval);
    finishing.onTick = [&](int) { finished.finish(); };
    releasing.onTick = [&](int) { owned.reset(); };
    finished.take(&finishing);
    owned->take(&releasing);
    finished.start();
    owned->start();
    ASSERT_TRUE(runUntil([&] { return finishing.ticks >= 1 && releasing.ticks >= 1; }));
    runFor(60ms);
    EXPECT_EQ(finishing.ticks + releasing.ticks, 2);
    EXPECT_EQ(owned, nullptr);
}

TEST(EventLoopTimerTest, TicksArriveOnTheThreadThatCreatedTheTimer) {
    int ticksElsewhere = -1;
    bool enough = false;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        const QThread* creator = QThread::currentThread();
        Counter counter;
        ticksElsewhere = 0;
        counter.onTick = [&](int) {
            ticksElsewhere += QThread::currentThread() == creator ? 0 : 1;
        };
        EventLoopTimer timer(kInterval);
        timer.take(&counter);
        timer.start();
        enough = runUntil([&] { return counter.ticks >= 3; });
        timer.finish();
    }));
    worker->start();
    ASSERT_TRUE(worker->wait(QDeadlineTimer(kPatience * 2)));
    EXPECT_TRUE(enough);
    EXPECT_EQ(ticksElsewhere, 0);
}

}  // namespace
}  // namespace orv::test
