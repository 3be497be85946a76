#include "SessionTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// The session's clock on a real database, driven as the main window drives it.
class ClockTest : public test::SessionTest {};

// What the window's day does not show: the saving tick, a late tick, a tick inside a switch,
// real seconds across the night the clocks go forward, the idle stopwatch started under the
// current order, and the absence a pause records.
TEST_P(ClockTest, TheClockSavesAndCountsRealSecondsAcrossDaylightSaving) {
    tick(11);
    auto buchhaltung = startNewOrder(5001);
    ticks(59, 1);
    tick(5);  // a late tick counts every second it missed
    EXPECT_EQ(row(buchhaltung->Id())->sekunden, 64) << "the 60th tick saved";
    // A tick in the middle of a switch counts nowhere: the time up to the night the clocks go
    // forward is gone. From 01:59:50 to 03:00:05 on the wall are 15 seconds.
    session_->ZeitzaehlungAktiv(false);
    clock().set(QDateTime(QDate(2026, 3, 29), QTime(1, 59, 50)));
    tick(0, false);
    session_->ZeitzaehlungAktiv(true);
    tick(15);
    EXPECT_EQ(now().time(), QTime(3, 0, 5));
    // Starting the idle stopwatch keeps the current order; the tick follows the running flag.
    session_->ZeitzaehlungAktiv(false);
    startOrder(CAuftrag::LeerlaufKey());
    EXPECT_EQ(session_->AktuellerAuftrag(), buchhaltung);
    EXPECT_FALSE(session_->AuftragLaeuft());
    tick(8);
    EXPECT_EQ(idle(), 11 + 8);
    EXPECT_EQ(buchhaltung->Sekunden(), 64 + 15);
    expectBalanced();
    switchTo(buchhaltung->Key());

    platform_->frmPause().answer(1800);
    session_->Pause();
    EXPECT_EQ(count(QStringLiteral("tMitarbeiterAbwesenheit WHERE dlMitarbeiterNr = 11 AND dtEnde "
                                   "IS NOT NULL")),
              1);
    tick(6);
    EXPECT_EQ(row(buchhaltung->Id())->sekunden, buchhaltung->Sekunden() - 6)
        << "saved at the pause";
    expectBalanced();
    expectRowsMatchObjects();
}

ORV_INSTANTIATE_FOR_BACKENDS(ClockTest);

}  // namespace
}  // namespace orv
