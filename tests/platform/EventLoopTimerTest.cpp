#include "platform/timer/EventLoopTimer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
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

// Runs this thread's event loop until the condition holds or the patience is used up.
bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = kPatience) {
    if (done()) {
        return true;
    }
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(1ms);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done()) {
            loop.quit();
        }
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    poll.start();
    deadline.start(limit);
    loop.exec();
    return done();
}

// Runs this thread's event loop for a while, long enough for several intervals.
void runFor(std::chrono::milliseconds duration) {
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}

class Counter final : public platform::TimerNotify {
public:
    void TimerTick() override {
        ++ticks;
        if (onTick) {
            onTick();
        }
    }
    int ticks = 0;
    std::function<void()> onTick;
};

TEST(EventLoopTimerTest, TicksArriveWhileTheEventLoopRunsAndOnlyAfterStart) {
    Counter counter;
    EventLoopTimer timer(kInterval);
    timer.take(&counter);
    runFor(50ms);
    EXPECT_EQ(counter.ticks, 0);
    timer.start();
    EXPECT_TRUE(runUntil([&] { return counter.ticks >= 3; })) << counter.ticks;
    timer.finish();
}

// A modal dialog or message box runs its own event loop; the stopwatch must keep counting.
TEST(EventLoopTimerTest, TicksArriveInsideTheNestedLoopOfAModalDialog) {
    Counter counter;
    EventLoopTimer timer(kInterval);
    timer.take(&counter);
    timer.start();
    bool inDialog = false;
    bool dialogClosed = false;
    int ticksInDialog = 0;
    counter.onTick = [&] { ticksInDialog += inDialog ? 1 : 0; };
    QTimer::singleShot(0, [&] {
        inDialog = true;
        QEventLoop dialog;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (ticksInDialog >= 3) {
                dialog.quit();
            }
        });
        poll.start(1ms);
        QTimer::singleShot(kPatience, &dialog, &QEventLoop::quit);
        dialog.exec();
        inDialog = false;
        dialogClosed = true;
    });
    ASSERT_TRUE(runUntil([&] { return dialogClosed; }, kPatience * 2));
    EXPECT_GE(ticksInDialog, 3);
    timer.finish();
}

// A tick whose handler opens a dialog or shows an error report runs a nested loop in which the
// QTimer keeps firing: the handler must not be entered a second time meanwhile. Returns how deep
// ticks were nested; ticks must also resume once the handler returned.
int deepestTickNesting(bool restartInHandler) {
    Counter counter;
    EventLoopTimer timer(kInterval);
    int depth = 0;
    int deepest = 0;
    int probeTimeouts = 0;
    counter.onTick = [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        if (counter.ticks == 1) {
            if (restartInHandler) {
                timer.stop();
                timer.start();
            }
            // Shows that the nested loop ran timers of this interval several times over.
            QEventLoop dialog;
            QTimer probe;
            QObject::connect(&probe, &QTimer::timeout, [&] {
                if (++probeTimeouts >= 5) {
                    dialog.quit();
                }
            });
            probe.start(kInterval);
            QTimer::singleShot(kPatience, &dialog, &QEventLoop::quit);
            dialog.exec();
        }
        --depth;
    };
    timer.take(&counter);
    timer.start();
    EXPECT_TRUE(runUntil([&] { return counter.ticks >= 3; })) << counter.ticks;
    EXPECT_GE(probeTimeouts, 5);
    timer.finish();
    return deepest;
}

TEST(EventLoopTimerTest, NoTickWhileTheHandlerOfOneRunsANestedLoop) {
    EXPECT_EQ(deepestTickNesting(false), 1);
}

// Stopped and started again by a handler, the timer runs anew while that handler has not
// returned yet.
TEST(EventLoopTimerTest, NoTickWhileAHandlerThatRestartedTheTimerRunsANestedLoop) {
    EXPECT_EQ(deepestTickNesting(true), 1);
}

// Stop holds ticks back and start resumes them; ticks go to whoever took them last.
TEST(EventLoopTimerTest, StopAndTakeDecideWhereTicksGo) {
    Counter first;
    Counter second;
    EventLoopTimer timer(kInterval);
    timer.take(&first);
    timer.start();
    ASSERT_TRUE(runUntil([&] { return first.ticks >= 1; }));
    timer.stop();
    const int stoppedAt = first.ticks;
    runFor(60ms);
    EXPECT_EQ(first.ticks, stoppedAt);
    timer.start();
    EXPECT_TRUE(runUntil([&] { return first.ticks >= stoppedAt + 2; })) << first.ticks;
    timer.take(nullptr);
    const int firstTicks = first.ticks;
    runFor(60ms);
    timer.take(&second);
    EXPECT_TRUE(runUntil([&] { return second.ticks >= 1; }));
    EXPECT_EQ(first.ticks, firstTicks);
    timer.finish();
}

// Finished from another event's handler while its own timeout is already due: that tick never
// comes, and neither start nor take brings ticks back.
TEST(EventLoopTimerTest, FinishEndsTicksForGoodAlsoOneAlreadyDue) {
    Counter counter;
    Counter later;
    EventLoopTimer timer(kInterval);
    timer.take(&counter);
    timer.start();
    ASSERT_TRUE(runUntil([&] { return counter.ticks >= 1; }));
    bool finished = false;
    QTimer::singleShot(0, [&] {
        std::this_thread::sleep_for(kInterval * 6);
        timer.finish();
        finished = true;
    });
    ASSERT_TRUE(runUntil([&] { return finished; }));
    const int finishedAt = counter.ticks;
    runFor(60ms);
    timer.start();
    timer.take(&later);
    runFor(60ms);
    EXPECT_EQ(counter.ticks, finishedAt);
    EXPECT_EQ(later.ticks, 0);
}

TEST(EventLoopTimerTest, AHandlerMayFinishOrReleaseTheTimerItIsCalledBy) {
    Counter finishing;
    EventLoopTimer timer(kInterval);
    finishing.onTick = [&] { timer.finish(); };
    timer.take(&finishing);
    timer.start();
    ASSERT_TRUE(runUntil([&] { return finishing.ticks >= 1; }));
    runFor(60ms);
    EXPECT_EQ(finishing.ticks, 1);

    // The component may end, and release its timer, from inside a tick.
    Counter releasing;
    auto owned = std::make_unique<EventLoopTimer>(kInterval);
    releasing.onTick = [&] { owned.reset(); };
    owned->take(&releasing);
    owned->start();
    ASSERT_TRUE(runUntil([&] { return releasing.ticks >= 1; }));
    runFor(60ms);
    EXPECT_EQ(releasing.ticks, 1);
    EXPECT_EQ(owned, nullptr);
}

TEST(EventLoopTimerTest, TicksArriveOnTheThreadThatCreatedTheTimer) {
    QThread* creator = nullptr;
    int ticks = 0;
    int ticksElsewhere = 0;
    bool enough = false;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        creator = QThread::currentThread();
        Counter counter;
        counter.onTick = [&] { ticksElsewhere += QThread::currentThread() == creator ? 0 : 1; };
        EventLoopTimer timer(kInterval);
        timer.take(&counter);
        timer.start();
        enough = runUntil([&] { return counter.ticks >= 3; });
        timer.finish();
        ticks = counter.ticks;
    }));
    worker->start();
    ASSERT_TRUE(worker->wait(QDeadlineTimer(kPatience * 2)));
    EXPECT_TRUE(enough) << ticks;
    EXPECT_NE(creator, QThread::currentThread());
    EXPECT_EQ(ticksElsewhere, 0);
}

}  // namespace
}  // namespace orv::test
