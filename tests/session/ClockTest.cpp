#include "SessionTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// The session's clock on a real database, driven as the main window drives it.
class ClockTest : public test::SessionTest {};

TEST_P(ClockTest, AWholeWorkingDayKeepsEverySecondInItsPlace) {
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-/0"));
    tick(3);
    tick(7);
    tick(1);
    expectBalanced();
    EXPECT_EQ(session_->LeerlaufAuftrag().Sekunden(), 11);

    auto buchhaltung = startNewOrder(5001);
    expectRowsMatchObjects();
    ticks(59, 1);
    tick(5);  // a late tick counts every second it missed
    expectBalanced();
    EXPECT_EQ(buchhaltung->Sekunden(), 64);
    EXPECT_EQ(row(buchhaltung->Id())->sekunden, 64) << "the 60th tick saved";

    auto lohn = startNewOrder(5003);
    expectRowsMatchObjects();
    ticks(20, 3);
    expectBalanced();

    switchTo(buchhaltung->Key());
    expectRowsMatchObjects();
    EXPECT_EQ(buchhaltung->Leistungen().Count(), 2) << "a new stretch, a new entry";
    tick(10);
    // A tick in the middle of a switch counts nowhere; the seconds are gone.
    session_->ZeitzaehlungAktiv(false);
    tick(4, false);
    session_->ZeitzaehlungAktiv(true);
    tick(2);
    expectBalanced();

    // Half an hour of pause counts in no stopwatch; the login is closed and a new one opened.
    platform_->frmPause().answer([&](CStoppUhren&, const QDateTime&) {
        EXPECT_FALSE(platform_->timer()->tick(clock(), 1800));
        return 1800;
    });
    session_->Pause();
    EXPECT_EQ(count(QStringLiteral("tLeistungZeiterfassungPausen WHERE Ps_id = 7")), 1);
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-08:02:31/0 08:32:31-/0"));
    EXPECT_EQ(count(QStringLiteral("tMitarbeiterAbwesenheit WHERE dlMitarbeiterNr = 11 AND dtEnde "
                                   "IS NOT NULL")),
              1);
    tick(6);
    expectBalanced();
    EXPECT_EQ(row(buchhaltung->Id())->sekunden, buchhaltung->Sekunden() - 6)
        << "saved at the pause";

    endOrder(*buchhaltung);
    EXPECT_EQ(buchhaltung->Status(), AuftragStatus_Beendet);
    EXPECT_EQ(session_->AktuellerAuftrag(), nullptr);
    expectRowsMatchObjects();
    tick(30);
    expectBalanced();

    switchTo(lohn->Key());
    ticks(3, 20);
    expectBalanced();
    lohn->Speichern();
    const std::int32_t productive = session_->AuftragsSekunden();

    // The next morning a new session finds everything and the stopwatch still running.
    clock().set(QDateTime(QDate(2026, 3, 17), QTime(7, 30, 0)));
    restart();
    EXPECT_TRUE(platform_->messageBoxes().asked().empty());
    EXPECT_EQ(session_->AuftragsSekunden(), productive);
    ASSERT_NE(session_->AktuellerAuftrag(), nullptr);
    EXPECT_EQ(session_->AktuellerAuftrag()->Key(), lohn->Key());
    EXPECT_TRUE(session_->AuftragLaeuft());
    tick(15);
    expectBalanced();
    expectRowsMatchObjects();
    EXPECT_EQ(session_->AktuellerAuftrag()->Sekunden(), lohn->Sekunden() + 15);
}

TEST_P(ClockTest, StartingTheIdleStopwatchKeepsTheCurrentOrder) {
    auto auftrag = startNewOrder(5001);
    tick(5);
    session_->ZeitzaehlungAktiv(false);
    startOrder(CAuftrag::LeerlaufKey());
    EXPECT_EQ(session_->AktuellerAuftrag(), auftrag);
    EXPECT_FALSE(session_->AuftragLaeuft());
    // The tick follows the running flag: the idle stopwatch counts, the order does not.
    tick(8);
    EXPECT_EQ(idle(), 8);
    EXPECT_EQ(auftrag->Sekunden(), 5);
    expectBalanced();
}

TEST_P(ClockTest, TheWindowIsBroughtToTheFrontAtMostOnceInTheFirstTenTicks) {
    auto& fenster = platform_->frmStoppUhr();
    fenster.zuOberst = false;
    tick(1);
    EXPECT_EQ(fenster.nachVorn, 1);
    fenster.zuOberst = false;
    ticks(5, 1);
    EXPECT_EQ(fenster.nachVorn, 1);
    EXPECT_EQ(fenster.aktualisierungen, 6);

    fenster.zuOberst = true;
    restart();
    ticks(10, 1);
    fenster.zuOberst = false;
    ticks(3, 1);
    EXPECT_EQ(fenster.nachVorn, 1) << "after ten ticks in front, never again";
}

ORV_INSTANTIATE_FOR_BACKENDS(ClockTest);

}  // namespace
}  // namespace orv
