#include "SessionTestSupport.h"

#include "session/diagnostics/OrvError.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using office::demo::kEmployeeWithRights;
using test::ZeRow;

// The session's clock on a real database, driven as the main window drives it: every switch
// clears the counting guard, stops the running stopwatch, starts the next and sets the guard
// again. The test keeps its own account of the seconds that ought to have been counted.
class ClockTest : public test::SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            start();
            counted_ = 0;
        }
    }

    test::ManualTimer& timer() { return *platform_->timer(); }

    // A tick after the given seconds; they count unless the guard holds a productive order.
    void tick(qint64 seconds, bool counts = true) {
        ASSERT_TRUE(timer().tick(clock(), seconds));
        if (counts) {
            counted_ += seconds;
        }
    }
    void ticks(int n, qint64 seconds = 1) {
        for (int i = 0; i < n; ++i) {
            tick(seconds);
        }
    }

    void finish(const QString& target) {
        session_->ZeitzaehlungAktiv(false);
        QString key = target;
        EXPECT_TRUE(session_->AuftragBeenden(key));
        session_->ZeitzaehlungAktiv(true);
    }

    static std::int32_t entrySum(const CAuftrag& auftrag) {
        std::int32_t sum = 0;
        for (const auto& leistung : auftrag.Leistungen()) {
            sum += leistung->Sekunden();
        }
        return sum;
    }

    // What must hold after every step of a day.
    void expectBalanced(const char* step) {
        SCOPED_TRACE(step);
        std::int32_t productive = 0;
        for (const auto& auftrag : session_->Auftraege()) {
            productive += auftrag->Sekunden();
            EXPECT_EQ(auftrag->Sekunden(), entrySum(*auftrag)) << auftrag->Key().toStdString();
        }
        EXPECT_EQ(session_->AuftragsSekunden(), productive);
        CAuftrag& idle = session_->LeerlaufAuftrag();
        EXPECT_EQ(idle.Sekunden(), entrySum(idle));
        EXPECT_EQ(idle.Sekunden() + session_->AuftragsSekunden(), counted_);
    }
    // A stopped order's row says what the object says.
    void expectSaved(const CAuftrag& auftrag) {
        EXPECT_EQ(row(auftrag.Id())->sekunden, auftrag.Sekunden());
        EXPECT_EQ(row(auftrag.Id())->status, auftrag.Status());
        for (const auto& leistung : auftrag.Leistungen()) {
            EXPECT_EQ(row(leistung->Id())->sekunden, leistung->Sekunden());
        }
    }

    qint64 counted_ = 0;
};

TEST_P(ClockTest, AWholeWorkingDayKeepsEverySecondInItsPlace) {
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-/0"));
    EXPECT_EQ(session_->LoginId(), 1);
    EXPECT_TRUE(timer().running());
    tick(3);
    tick(7);
    tick(1);
    expectBalanced("idle at the start");
    EXPECT_EQ(session_->LeerlaufAuftrag().Sekunden(), 11);

    auto buchhaltung = startNewOrder(5001);
    expectSaved(session_->LeerlaufAuftrag());
    ticks(59);
    tick(5);  // a late tick counts every second it missed
    expectBalanced("first order");
    EXPECT_EQ(buchhaltung->Sekunden(), 64);
    EXPECT_EQ(row(buchhaltung->Id())->sekunden, 64) << "the 60th tick saved";

    auto lohn = startNewOrder(5003);
    expectSaved(*buchhaltung);
    ticks(20, 3);
    expectBalanced("second order");

    switchTo(buchhaltung->Key());
    expectSaved(*lohn);
    EXPECT_EQ(buchhaltung->Leistungen().Count(), 2) << "a new stretch, a new entry";
    tick(10);
    // A tick in the middle of a switch counts nowhere; the seconds are gone.
    session_->ZeitzaehlungAktiv(false);
    tick(4, false);
    session_->ZeitzaehlungAktiv(true);
    tick(2);
    expectBalanced("back on the first order");

    // Half an hour of pause counts in no stopwatch; the login is closed and a new one opened.
    platform_->frmPause().answerWith([&](CStoppUhren&, const QDateTime&) {
        EXPECT_FALSE(timer().tick(clock(), 1800));
        return 1800;
    });
    const QDateTime pauseBegin = now();
    session_->Pause();
    EXPECT_EQ(count(QStringLiteral("tLeistungZeiterfassungPausen WHERE Ps_id = 7")), 1);
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-") +
                            pauseBegin.toString(QStringLiteral("HH:mm:ss")) +
                            QStringLiteral("/0 ") + now().toString(QStringLiteral("HH:mm:ss")) +
                            QStringLiteral("-/0"));
    EXPECT_EQ(count(QStringLiteral("tMitarbeiterAbwesenheit WHERE dlMitarbeiterNr = 11 AND dtEnde "
                                   "IS NOT NULL")),
              1);
    tick(6);
    expectBalanced("after the pause");
    EXPECT_EQ(row(buchhaltung->Id())->sekunden, buchhaltung->Sekunden() - 6)
        << "saved at the pause";

    finish(buchhaltung->Key());
    EXPECT_EQ(buchhaltung->Status(), AuftragStatus_Beendet);
    EXPECT_EQ(session_->AktuellerAuftrag(), nullptr);
    expectSaved(*buchhaltung);
    tick(30);
    expectBalanced("idle after finishing");

    switchTo(lohn->Key());
    ticks(3, 20);
    expectBalanced("the last order of the day");
    lohn->Speichern();
    const std::int32_t productive = session_->AuftragsSekunden();

    // The next morning a new session finds everything and the stopwatch still running.
    clock().set(QDateTime(QDate(2026, 3, 17), QTime(7, 30, 0)));
    session_ = newSession();
    start();
    EXPECT_TRUE(platform_->messageBoxes().asked().empty());
    EXPECT_EQ(session_->AuftragsSekunden(), productive);
    ASSERT_NE(session_->AktuellerAuftrag(), nullptr);
    EXPECT_EQ(session_->AktuellerAuftrag()->Key(), lohn->Key());
    EXPECT_TRUE(session_->AuftragLaeuft());
    counted_ = session_->LeerlaufAuftrag().Sekunden() + productive;
    tick(15);
    expectBalanced("the next morning");
    EXPECT_EQ(session_->AktuellerAuftrag()->Sekunden(), lohn->Sekunden() + 15);
}

TEST_P(ClockTest, StartingTheIdleStopwatchKeepsTheCurrentOrder) {
    auto auftrag = startNewOrder(5001);
    tick(5);
    session_->ZeitzaehlungAktiv(false);
    QString key = QStringLiteral("p0");
    bool neu = false;
    session_->AuftragStarten(key, neu);
    session_->ZeitzaehlungAktiv(true);
    EXPECT_EQ(session_->AktuellerAuftrag(), auftrag);
    EXPECT_FALSE(session_->AuftragLaeuft());
    // The tick follows the running flag: the idle stopwatch counts, the order does not.
    const std::int32_t idle = session_->LeerlaufAuftrag().Sekunden();
    tick(8);
    EXPECT_EQ(session_->LeerlaufAuftrag().Sekunden(), idle + 8);
    EXPECT_EQ(auftrag->Sekunden(), 5);
    expectBalanced("idle with a current order");
}

TEST_P(ClockTest, TheWindowIsBroughtToTheFrontAtMostOnceInTheFirstTenTicks) {
    platform_->frmStoppUhr().setZuOberst(false);
    tick(1);
    EXPECT_EQ(platform_->frmStoppUhr().nachVorn(), 1);
    platform_->frmStoppUhr().setZuOberst(false);
    ticks(5);
    EXPECT_EQ(platform_->frmStoppUhr().nachVorn(), 1);
    EXPECT_EQ(platform_->frmStoppUhr().aktualisierungen(), 6);

    platform_->frmStoppUhr().setZuOberst(true);
    session_ = newSession();
    start();
    ticks(10);
    platform_->frmStoppUhr().setZuOberst(false);
    ticks(3);
    EXPECT_EQ(platform_->frmStoppUhr().nachVorn(), 1) << "after ten ticks in front, never again";
}

TEST_P(ClockTest, DurationTexts) {
    EXPECT_EQ(session_->SekundenZeit(3725), QStringLiteral("01:02:05"));
    EXPECT_EQ(session_->SekundenZeit(0), QStringLiteral("00:00:00"));
    EXPECT_EQ(session_->SekundenZeit(360000), QStringLiteral("100:00:00"));
    auto auftrag = startNewOrder(5001);
    tick(3725);
    tick(5);
    EXPECT_EQ(session_->AuftragsZeitText(), QStringLiteral("01:02:10"));
    EXPECT_EQ(session_->GesamtZeitText(),
              session_->SekundenZeit(3730 + session_->LeerlaufAuftrag().Sekunden()));
    EXPECT_EQ(session_->LeerlaufZeitText(), session_->LeerlaufAuftrag().ZeitText());
}

TEST_P(ClockTest, AFailingTickIsReportedAndTheNextTickRuns) {
    auto auftrag = startNewOrder(5001);
    ticks(59);
    // The 60th tick saves; the database refuses.
    database().faults().failStatement(1);
    tick(1);
    ASSERT_EQ(platform_->errorReports().size(), 1u);
    EXPECT_TRUE(platform_->errorReports()[0].source.endsWith(
        QStringLiteral("ORVkStoppUhren.CStoppUhren.CTimerNotify_TimerTick")));
    bool traced = false;
    for (const test::TraceLine& line : platform_->trace().lines()) {
        traced = traced || line.message.startsWith(QStringLiteral("CTimerNotify_TimerTick Error "));
    }
    EXPECT_TRUE(traced);
    tick(1);
    expectBalanced("after the failed save");
    EXPECT_LT(row(auftrag->Id())->sekunden, 60);
    // A minute later the save is tried again.
    ticks(59);
    EXPECT_EQ(row(auftrag->Id())->sekunden, auftrag->Sekunden());
}

ORV_INSTANTIATE_FOR_BACKENDS(ClockTest);

}  // namespace
}  // namespace orv
