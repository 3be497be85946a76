// The session between its steps, used as an office uses it: a step cancelled, a step that fails
// and is done again, a host that dies and starts again. Each case counts the seconds that must
// be where they are, and what reaches the login records.
#include "SessionTestSupport.h"

#include "platform/MessageBoxes.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::LeistungAnzeigenAnswer;

class LifecycleFaultsTest : public test::SessionTest {};

using Buchen = void (CStoppUhren::*)();

// Another order ends while one runs, which counts on; the running order is started again as a
// tick is due, and neither splits nor loses the tick's seconds. Its running entry is booked,
// singly and summed (the order counts on in a fresh entry; booked the moment it began, it holds
// no time and goes without a service: the office's minimum of 0,01 hours would invent 36
// seconds). The day closing is put off, then, with every order ended, cancelled: each second is
// counted once, by one stopwatch. With an order unfinished again, the employee puts the day
// closing off and the session ends, its rows kept for tomorrow.
TEST_P(LifecycleFaultsTest, ADayClosingPutOffOrCancelledCountsEverySecondOnce) {
    tick(600);
    const auto andere = workedOn(5003, 60);
    const auto auftrag = startNewOrder(5001);
    endOrder(*andere);
    const auto buchen = [&](Buchen wie) {
        const auto laufend = auftrag->AktuelleLeistung();
        ASSERT_TRUE(release(*laufend));
        (session_.get()->*wie)();
        EXPECT_FALSE(row(laufend->Id()).has_value());
    };
    buchen(&CStoppUhren::EinzelBuchen);
    buchen(&CStoppUhren::SammelBuchen);
    tick(300);
    buchen(&CStoppUhren::EinzelBuchen);
    tick(295);
    advance(5);
    counted_ += 5;
    EXPECT_TRUE(startOrder(auftrag->Key()));
    buchen(&CStoppUhren::SammelBuchen);
    platform_->messageBoxes().answer(platform::MsgAnswer::No);
    EXPECT_FALSE(session_->Beenden());
    const test::AskedBox& box = platform_->messageBoxes().asked().at(0);
    EXPECT_EQ(box.title + '|' + box.text,
              QStringLiteral("Stoppuhren beenden|Es sind noch nicht beendete Aufträge vorhanden.\n"
                             "Möchten Sie den Tagesabschluss später vornehmen?"));
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-/0"));
    tick(30);
    EXPECT_EQ(idle(), 600);
    EXPECT_EQ(auftrag->Sekunden(), 630) << "put off, the order counts on in its fresh entry";
    endOrder(*auftrag);
    ASSERT_TRUE(release(*first(*andere)));
    buchen(&CStoppUhren::EinzelBuchen);
    QStringList hours;  // order|hours in ten-thousandths, of each service
    for (const QString& service : services().split(QLatin1Char('\n'))) {
        hours << service.section(QLatin1Char('|'), 0, 1);
    }
    EXPECT_EQ(hours.join(QLatin1Char(' ')), QStringLiteral("5001|833 5001|819 5003|167 5001|100"));
    platform_->frmLeistung().answer(LeistungAnzeigenAnswer{test::outcome::kAbbruch, {}, {}});
    EXPECT_FALSE(session_->Beenden());
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-/0"));
    tick(30);  // fails unless the clock runs again
    EXPECT_EQ(idle(), 630) << "the idle time counts from the stop, not from its own last tick";
    EXPECT_EQ(session_->AuftragsSekunden(), 690);
    startNewOrder(5003);
    platform_->messageBoxes().answer(platform::MsgAnswer::Yes);
    EXPECT_TRUE(session_->Beenden());
    EXPECT_TRUE(platform_->timer()->finished());
    EXPECT_FALSE(rowsOf().empty());
}

// A pause, later a host that dies; the employee starts again an hour later, and the first start
// stops at its last step, the clock, which the session says when asked for it. Done again, the
// start loads the day once, offers no gap and closes the open login where its work ended; a start
// of the running session, another employee's, changes nothing.
TEST_P(LifecycleFaultsTest, ARestartAfterACrashThatFailedOnceLoadsTheDayOnceAndOffersNoGap) {
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
    // The new login is refused: the open one stays open, and the next start closes it as well.
    faults().failStatementsContaining("INSERT INTO tLeistungZeiterfassungLogins");
    EXPECT_FALSE(starten());
    faults().clear();
    const std::optional<OrvError> error = test::failureOf([&] { session_->Pause(); });
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->description().startsWith(QStringLiteral(
        "Die Uhr der Stoppuhren läuft nicht, weil das Starten nicht gelungen ist.")));
    const std::size_t reports = platform_->errorReports().size();
    ASSERT_TRUE(starten());  // a box asked here fails the test: nobody answers it
    const QString loggedIn = QStringLiteral("08:00:00-10:00:00/0 10:30:00-11:30:00/0 13:00:00-/0");
    EXPECT_EQ(logins(), loggedIn);
    EXPECT_EQ(total(), saved) << "lost only the unsaved ten minutes, nothing added";
    EXPECT_FALSE(starten(office::demo::kAdministrativeEmployee));
    ASSERT_EQ(platform_->errorReports().size(), reports + 1);
    EXPECT_TRUE(platform_->errorReports().back().description.startsWith(
        QStringLiteral("Die Stoppuhren laufen bereits.")));
    EXPECT_EQ(logins(), loggedIn);
}

// Whichever of the pause's statements the database refuses, every stretch the clock runs has
// its login; the session still ends, also when its logout failed once, and nothing is booked
// by a day closing without an order.
TEST_P(LifecycleFaultsTest, AFailedPauseKeepsALoginForEveryStretchTheClockRuns) {
    struct Case {
        const char* refused;
        bool pauseBegan;  // the dialog opened: the login was closed, a new one is due after it
        bool logoutFails;
    };
    for (const Case c : {Case{"INSERT INTO tLeistungZeiterfassungPausen", false, false},
                         Case{"UPDATE tLeistungZeiterfassungPausen", true, false},
                         Case{"INSERT INTO tLeistungZeiterfassungLogins", true, true}}) {
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
        if (c.logoutFails) {
            faults().failStatementsContaining("UPDATE tLeistungZeiterfassungLogins");
            EXPECT_FALSE(session_->Beenden());
            faults().clear();
        }
        EXPECT_TRUE(session_->Beenden());  // the day is closed once: one answer is queued
        EXPECT_EQ(openLogins(), 0);
        EXPECT_EQ(services(), QString());
        EXPECT_FALSE(rowsOf().empty());
    }
}

ORV_INSTANTIATE_FOR_BACKENDS(LifecycleFaultsTest);

}  // namespace
}  // namespace orv
