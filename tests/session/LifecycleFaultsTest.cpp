// The session between its steps, used as an office uses it: a step cancelled, a step that fails
// and is done again, a host that dies and starts again. Each case counts the seconds that must
// be where they are, and what reaches the login records.
#include "SessionTestSupport.h"

#include "platform/MessageBoxes.h"
#include "session/diagnostics/OrvError.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using office::demo::kEmployeeWithRights;
using test::Creation;
using test::LeistungAnzeigenAnswer;
using test::outcome::kAbbruch;
using test::outcome::kGeaendert;

class LifecycleFaultsTest : public test::SessionTest {};

// The running entry is booked (the order counts on in a fresh entry), the day closing is put off,
// then, with every entry booked, cancelled: each second is counted once, by one stopwatch.
TEST_P(LifecycleFaultsTest, ADayClosingPutOffOrCancelledCountsEverySecondOnce) {
    tick(600);
    const auto auftrag = startNewOrder(5001);
    tick(600);
    const auto buchen = [&] {
        ASSERT_TRUE(release(*auftrag->AktuelleLeistung()));
        session_->EinzelBuchen();
    };
    buchen();
    platform_->messageBoxes().answer(platform::MsgAnswer::No);
    EXPECT_FALSE(session_->Beenden());
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-/0"));
    tick(30);
    EXPECT_EQ(idle(), 600);
    EXPECT_EQ(auftrag->Sekunden(), 630) << "put off, the order counts on in its fresh entry";
    endOrder(*auftrag);
    buchen();
    platform_->frmLeistung().answer(LeistungAnzeigenAnswer{kAbbruch, std::nullopt, std::nullopt});
    EXPECT_FALSE(session_->Beenden());
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-/0"));
    tick(30);  // fails unless the clock runs again
    EXPECT_EQ(idle(), 630) << "the idle time counts from the stop, not from its own last tick";
    EXPECT_EQ(session_->AuftragsSekunden(), 630);
}

TEST_P(LifecycleFaultsTest, EndingAnOrderMovesTheRunningStopwatchOnlyWhenItIsThatOrder) {
    const auto a = startNewOrder(5001);
    tick(60);
    const auto b = startNewOrder(5003);
    tick(60);
    const std::int32_t idleBefore = idle();
    endOrder(*a);
    tick(300);
    EXPECT_EQ(a->Status(), AuftragStatus_Beendet);
    EXPECT_EQ(b->Sekunden(), 360) << "the order that runs goes on counting";
    EXPECT_EQ(idle(), idleBefore);
    endOrder(*b);
    tick(30);
    EXPECT_EQ(b->Sekunden(), 360);
    EXPECT_EQ(idle(), idleBefore + 30) << "ending the running order falls back to idle time";
    EXPECT_EQ(session_->AktuellerAuftrag(), nullptr);
    expectBalanced();
}

TEST_P(LifecycleFaultsTest, StartingTheRunningOrderAgainNeitherSplitsNorLosesSeconds) {
    const auto auftrag = startNewOrder(5001);
    tick(30);
    advance(5);  // a tick is due: the seconds since the last one belong to the order
    counted_ += 5;
    const QString key = auftrag->Key();
    EXPECT_TRUE(startOrder(key));
    tick(10);
    EXPECT_EQ(auftrag->Leistungen().Count(), 1);
    EXPECT_EQ(auftrag->Sekunden(), 45);
    EXPECT_EQ(auftrag->AktuelleLeistung()->Sekunden(), 45);
    // Stopped and started twice within one second: no entry of no seconds is left to book.
    switchTo(key);
    switchTo(key);
    tick(20);
    for (const auto& leistung : auftrag->Leistungen()) {
        EXPECT_GT(leistung->Sekunden(), 0) << leistung->Key().toStdString();
    }
    expectRowsMatchObjects();  // and no row of the stretch is left behind
    expectBalanced();
}

// Starten stops at its last step, the clock: the window is open, the session has no clock.
TEST_P(LifecycleFaultsTest, WithoutItsClockTheSessionReportsAndCanStillBeEnded) {
    struct Case {
        const char* name;
        bool timerCreation;  // else the database refuses the login
    };
    for (const Case c : {Case{"login", false}, Case{"timer", true}}) {
        SCOPED_TRACE(c.name);
        session_ = newSession();
        execute(QStringLiteral("DELETE FROM tLeistungZeiterfassungLogins"));  // no gap to offer
        if (c.timerCreation) {
            platform_->failCreation(Creation::Timer);
        } else {
            faults().failStatementsContaining("INSERT INTO tLeistungZeiterfassungLogins");
        }
        EXPECT_FALSE(starten());
        platform_->failCreation(Creation::Timer, false);
        faults().clear();
        const std::optional<OrvError> error = test::failureOf([&] { session_->Pause(); });
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->number(), err::kObjectNotSet);
        EXPECT_TRUE(error->description().contains(QStringLiteral("Uhr der Stoppuhren")));
        confirmDayClosing();
        EXPECT_TRUE(session_->Beenden());
        EXPECT_EQ(openLogins(), 0);
        EXPECT_FALSE(session_->Beenden()) << "ended once";
    }
    EXPECT_EQ(platform_->frmStoppUhr().schliessen, 2);
}

TEST_P(LifecycleFaultsTest, AStartDoneAgainLoadsOnceAndAStartOfARunningSessionChangesNothing) {
    startNewOrder(5001);
    tick(100);
    switchTo(CAuftrag::LeerlaufKey());
    session_ = newSession();  // the host lets go without Beenden
    advance(60);
    platform_->failCreation(Creation::Timer);
    EXPECT_FALSE(starten());
    platform_->failCreation(Creation::Timer, false);
    const std::size_t reports = platform_->errorReports().size();
    ASSERT_TRUE(starten());
    EXPECT_EQ(session_->AuftragsSekunden(), 100);
    EXPECT_EQ(session_->Auftraege().Count(), 1);
    EXPECT_EQ(session_->AktuellerAuftrag(), nullptr);
    EXPECT_EQ(openLogins(), 1);

    const std::size_t timers = platform_->timersCreated();
    const QString loginsBefore = logins();
    EXPECT_FALSE(starten(office::demo::kAdministrativeEmployee));
    ASSERT_EQ(platform_->errorReports().size(), reports + 1);
    EXPECT_EQ(platform_->errorReports().back().number, err::kInvalidCall);
    EXPECT_TRUE(platform_->errorReports().back().description.contains(
        QStringLiteral("Die Stoppuhren laufen bereits")));
    EXPECT_EQ(session_->MitarbeiterId(), kEmployeeWithRights);
    EXPECT_EQ(session_->AuftragsSekunden(), 100);
    EXPECT_EQ(platform_->timersCreated(), timers);
    EXPECT_EQ(logins(), loginsBefore);
    const std::int32_t idleLoaded = idle();
    tick(10);
    EXPECT_EQ(idle(), idleLoaded + 10);
}

// A pause, later a host that dies; the employee starts again an hour after.
TEST_P(LifecycleFaultsTest, ARestartAfterACrashOffersNoGapAndClosesTheOpenLoginWhereItsWorkEnded) {
    tick(600);
    const auto a = startNewOrder(5001);
    tick(6600);  // until 10:00
    platform_->frmPause().answer(1800);
    session_->Pause();
    tick(1800);  // 11:00
    const auto b = startNewOrder(5003);
    ticks(60, 30);  // the 60th tick saves at 11:30
    ticks(20, 30);  // 11:40, ten minutes unsaved
    const std::int32_t saved = row(session_->LeerlaufAuftrag().Id())->sekunden +
                               row(a->Id())->sekunden + row(b->Id())->sekunden;
    EXPECT_EQ(saved, 600 + 8400 + 1800);
    session_ = newSession();  // the host dies
    clock().set(QDateTime(test::SettableClock::startTime().date(), QTime(13, 0)));
    start();  // a box asked here fails the test: nobody answers it
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-10:00:00/0 10:30:00-11:30:00/0 13:00:00-/0"));
    EXPECT_EQ(session_->LeerlaufAuftrag().Sekunden() + session_->AuftragsSekunden(), saved)
        << "lost only the unsaved ten minutes, nothing added";
}

// Whichever of the pause's statements the database refuses, every stretch the clock runs has
// its login, and the session still ends.
TEST_P(LifecycleFaultsTest, AFailedPauseKeepsALoginForEveryStretchTheClockRuns) {
    struct Case {
        const char* refused;
        bool pauseBegan;  // the dialog opened: the login was closed, a new one is due after it
    };
    for (const Case c : {Case{"INSERT INTO tLeistungZeiterfassungPausen", false},
                         Case{"UPDATE tLeistungZeiterfassungPausen", true},
                         Case{"INSERT INTO tLeistungZeiterfassungLogins", true}}) {
        SCOPED_TRACE(c.refused);
        session_ = newSession();
        clock().set(test::SettableClock::startTime());
        execute(QStringLiteral("DELETE FROM tLeistungZeiterfassungLogins"));
        start();
        tick(600);
        if (c.pauseBegan) {
            platform_->frmPause().answer(300);
        }
        faults().failStatementsContaining(c.refused);
        EXPECT_TRUE(test::failureOf([&] { session_->Pause(); }).has_value());
        tick(1);  // the clock runs; still refused, the login waits
        faults().clear();
        tick(59);
        EXPECT_EQ(logins(), c.pauseBegan ? "08:00:00-08:10:00/0 08:15:00-/0" : "08:00:00-/0");
        confirmDayClosing();
        EXPECT_TRUE(session_->Beenden());
        EXPECT_EQ(openLogins(), 0);
    }
}

TEST_P(LifecycleFaultsTest, ABeendenThatFailedAtItsLogoutEndsWhenCalledAgain) {
    tick(600);
    faults().failStatementsContaining("UPDATE tLeistungZeiterfassungLogins");
    confirmDayClosing();
    EXPECT_FALSE(session_->Beenden());
    faults().clear();
    ASSERT_EQ(platform_->errorReports().size(), 1u);
    EXPECT_TRUE(session_->Beenden());  // the day is closed once: one answer is queued
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-08:10:00/0"));
    EXPECT_EQ(platform_->frmStoppUhr().schliessen, 1);
    // Closed without an order: nothing booked, the rows stay for the next day.
    EXPECT_EQ(services(), QString());
    EXPECT_FALSE(rowsOf().empty());
}

// A trace logger or a message box that throws is an error of the procedure like any other; from
// the clock tick nothing reaches the timer.
TEST_P(LifecycleFaultsTest, AThrowingLoggerOrMessageBoxNeverLeavesTheClockTick) {
    tick(10);
    struct Case {
        const char* name;
        bool reportFails;  // no error server, and the message box that replaces it throws
    };
    for (const Case c : {Case{"logger", false}, Case{"logger and box", true}}) {
        SCOPED_TRACE(c.name);
        const std::size_t reports = platform_->errorReports().size();
        platform_->trace().failOn(QStringLiteral("Begin CTimerNotify_TimerTick"));
        platform_->failCreation(Creation::ErrorServer, c.reportFails);
        if (c.reportFails) {
            platform_->messageBoxes().throwNext();
        }
        EXPECT_NO_THROW(platform_->timer()->tick(clock(), 5));
        platform_->trace().failOn(QString());
        platform_->failCreation(Creation::ErrorServer, false);
        if (!c.reportFails) {
            ASSERT_EQ(platform_->errorReports().size(), reports + 1);
            EXPECT_TRUE(platform_->errorReports().back().source.contains(
                QStringLiteral("CStoppUhren.CTimerNotify_TimerTick")));
        }
        tick(7);  // the next tick counts normally, from the last counted one
    }
    EXPECT_EQ(idle(), 10 + 5 + 7 + 5 + 7);
}

ORV_INSTANTIATE_FOR_BACKENDS(LifecycleFaultsTest);

}  // namespace
}  // namespace orv
