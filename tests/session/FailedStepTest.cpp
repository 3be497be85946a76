// A step that fails after it has written: its transaction is rolled back, and the session's
// objects return to what they held before, so that objects and rows agree and the step can be
// done again. The failures hit the commit, when every statement of the step has run.

#include "SessionTestSupport.h"
#include "TestQueries.h"

#include "persistence/Database.h"
#include "persistence/driver/Connection.h"
#include "session/diagnostics/OrvError.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <utility>

namespace orv {
namespace {

using test::LeistungAnzeigenAnswer;
using test::outcome::kGeaendert;

class FailedStepTest : public test::SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            start();
            tick(3600);  // an hour of idle time to draw on
        }
    }

    void tick(qint64 seconds) {
        ASSERT_TRUE(tickClock(seconds));
        counted_ += seconds;
    }
    db::FaultInjector& faults() { return database().faults(); }
    // How many statements a step issues, its begin and commit included.
    template <typename F>
    int statementsOf(F&& step) {
        const int seen = faults().statementsSeen();
        std::forward<F>(step)();
        return faults().statementsSeen() - seen;
    }
    // The step fails at its last statement, the commit of everything it wrote.
    template <typename F>
    void failAtCommit(int statements, F&& step) {
        faults().failStatement(statements);
        const std::optional<OrvError> error = test::failureOf(std::forward<F>(step));
        faults().clear();
        ASSERT_TRUE(error.has_value()) << "the step did not fail";
        EXPECT_EQ(error->number(), err::kDatabase);
    }

    std::shared_ptr<CAuftrag> workedOn(std::int32_t auftragId, qint64 seconds) {
        auto auftrag = startNewOrder(auftragId);
        tick(seconds);
        switchTo(CAuftrag::LeerlaufKey());
        return auftrag;
    }
    std::int32_t edit(const std::shared_ptr<CAuftrag>& auftrag, std::int32_t seconds,
                      std::int32_t auftragId) {
        platform_->frmLeistung().answer(LeistungAnzeigenAnswer{kGeaendert, seconds, auftragId});
        QString auftragKey = auftrag->Key();
        QString leistungKey = auftrag->Leistung(QStringLiteral("1"))->Key();
        return session_->LeistungBearbeiten(auftragKey, leistungKey);
    }
    void release(const std::shared_ptr<CAuftrag>& auftrag) {
        QString auftragKey = auftrag->Key();
        QString leistungKey = auftrag->Leistung(QStringLiteral("1"))->Key();
        ASSERT_TRUE(session_->LeistungFreigeben(auftragKey, leistungKey));
    }

    // Every second the clock gave is in some stopwatch, and the rows say what the objects say;
    // the running stopwatch's seconds since its last save are only in its objects.
    void expectIntact() {
        const CAuftrag& laufend =
            session_->AuftragLaeuft() ? *session_->AktuellerAuftrag() : session_->LeerlaufAuftrag();
        const auto expectSeconds = [&](std::int32_t stored, std::int32_t held, bool running) {
            if (running) {
                EXPECT_LE(stored, held);
            } else {
                EXPECT_EQ(stored, held);
            }
        };
        expectOrdersBalanced();
        EXPECT_EQ(session_->LeerlaufAuftrag().Sekunden() + session_->AuftragsSekunden(), counted_);
        const auto expectRows = [&](const CAuftrag& auftrag) {
            SCOPED_TRACE(auftrag.Key().toStdString());
            const std::optional<test::ZeRow> zeile = row(auftrag.Id());
            ASSERT_TRUE(zeile.has_value());
            expectSeconds(zeile->sekunden, auftrag.Sekunden(), &auftrag == &laufend);
            EXPECT_EQ(zeile->status, auftrag.Status());
            EXPECT_EQ(zeile->idAuftrag, auftrag.AuftragId());
            for (const auto& leistung : auftrag.Leistungen()) {
                if (leistung->Sekunden() == 0) {
                    continue;  // written at the first save with seconds
                }
                const std::optional<test::ZeRow> eintrag = row(leistung->Id());
                ASSERT_TRUE(eintrag.has_value()) << leistung->Key().toStdString();
                expectSeconds(eintrag->sekunden, leistung->Sekunden(),
                              leistung == laufend.AktuelleLeistung() && &auftrag == &laufend);
                EXPECT_EQ(eintrag->status, leistung->Status());
            }
        };
        expectRows(session_->LeerlaufAuftrag());
        for (const auto& auftrag : session_->Auftraege()) {
            expectRows(*auftrag);
        }
        // No row of the employee that no object holds.
        std::int32_t objekte = 1 + session_->LeerlaufAuftrag().Leistungen().Count();
        for (const auto& auftrag : session_->Auftraege()) {
            objekte += 1 + auftrag->Leistungen().Count();
        }
        EXPECT_EQ(static_cast<std::int32_t>(rowsOf().size()), objekte);
    }

    qint64 counted_ = 0;
};

TEST_P(FailedStepTest, AFailedStopLeavesTheOrderRunningAndCounting) {
    auto erster = startNewOrder(5001);
    tick(30);
    bool beenden = false;
    const int stop = statementsOf([&] { session_->AuftragAnhalten(beenden); });
    QString leerlauf = CAuftrag::LeerlaufKey();
    bool neu = false;
    session_->AuftragStarten(leerlauf, neu);
    auto zweiter = startNewOrder(5003);
    tick(20);
    const auto leistung = zweiter->AktuelleLeistung();

    // The window holds the counting back for the switch and gives up when the stop fails.
    session_->ZeitzaehlungAktiv(false);
    failAtCommit(stop, [&] { session_->AuftragAnhalten(beenden); });
    EXPECT_EQ(session_->AktuellerAuftrag(), zweiter);
    EXPECT_TRUE(session_->AuftragLaeuft());
    EXPECT_EQ(zweiter->Status(), AuftragStatus_Aktiv);
    EXPECT_EQ(leistung->Status(), AuftragStatus_Aktiv);
    EXPECT_FALSE(leistung->Ende().isValid());
    EXPECT_EQ(row(leistung->Id())->status, AuftragStatus_Aktiv);
    EXPECT_TRUE(textLines(leistung->Id()).isEmpty()) << "the stop's default line was not kept";
    tick(5);
    EXPECT_EQ(zweiter->Sekunden(), 25);
    expectIntact();

    switchTo(erster->Key());
    tick(10);
    EXPECT_EQ(erster->Sekunden(), 40);
    EXPECT_EQ(zweiter->Sekunden(), 25);
    expectIntact();
}

TEST_P(FailedStepTest, AFailedStartOfANewOrderLeavesNoOrderAndIdleTimeCounting) {
    auto erster = startNewOrder(5001);
    tick(30);
    switchTo(CAuftrag::LeerlaufKey());
    bool beenden = false;
    session_->AuftragAnhalten(beenden);
    QString key;
    bool neu = true;
    const int start = statementsOf([&] { session_->AuftragStarten(key, neu); });
    session_->AuftragAnhalten(beenden);
    QString leerlauf = CAuftrag::LeerlaufKey();
    neu = false;
    session_->AuftragStarten(leerlauf, neu);
    const std::int32_t auftraege = session_->Auftraege().Count();
    tick(15);

    session_->AuftragAnhalten(beenden);
    neu = true;
    failAtCommit(start, [&] { session_->AuftragStarten(key, neu); });
    EXPECT_EQ(session_->Auftraege().Count(), auftraege);
    EXPECT_EQ(session_->AktuellerAuftrag(), nullptr);
    EXPECT_FALSE(session_->AuftragLaeuft());
    // The idle stopwatch runs since the stop, and counts no second twice.
    const std::int32_t idle = session_->LeerlaufAuftrag().Sekunden();
    tick(7);
    EXPECT_EQ(session_->LeerlaufAuftrag().Sekunden(), idle + 7);
    expectIntact();
}

TEST_P(FailedStepTest, AFailedEditChangesNeitherTheEntryNorItsOrderNorTheIdleTime) {
    auto erster = workedOn(5001, 1800);
    auto zweiter = workedOn(5003, 1800);
    const int step = statementsOf([&] { edit(erster, 2700, 5001); });
    ASSERT_EQ(erster->Sekunden(), 2700);
    expectIntact();
    const std::int32_t idle = session_->LeerlaufAuftrag().Sekunden();
    const std::int32_t total = session_->AuftragsSekunden();

    failAtCommit(step, [&] { edit(zweiter, 2700, 5003); });
    EXPECT_EQ(zweiter->Leistung(QStringLiteral("1"))->Sekunden(), 1800);
    EXPECT_EQ(zweiter->Sekunden(), 1800);
    EXPECT_EQ(session_->LeerlaufAuftrag().Sekunden(), idle);
    EXPECT_EQ(session_->AuftragsSekunden(), total);
    expectIntact();

    // Done again, it happens once.
    EXPECT_EQ(edit(zweiter, 2700, 5003), kGeaendert);
    EXPECT_EQ(zweiter->Sekunden(), 2700);
    EXPECT_EQ(session_->LeerlaufAuftrag().Sekunden(), idle - 900);
    expectIntact();
}

TEST_P(FailedStepTest, AFailedDeleteKeepsTheEntryItsOrderAndItsRelease) {
    auto erster = workedOn(5001, 600);
    auto zweiter = workedOn(5003, 600);
    release(zweiter);
    for (const auto& auftrag : {erster, zweiter}) {
        QString key = auftrag->Key();
        ASSERT_TRUE(session_->AuftragBeenden(key));
    }
    const auto deleteFirstEntry = [&](const std::shared_ptr<CAuftrag>& auftrag) {
        QString auftragKey = auftrag->Key();
        QString leistungKey = auftrag->Leistung(QStringLiteral("1"))->Key();
        return session_->LeistungLoeschen(auftragKey, leistungKey);
    };
    const int step = statementsOf([&] { deleteFirstEntry(erster); });
    ASSERT_FALSE(session_->Auftraege().contains(erster->Key()))
        << "a finished order goes with its last entry";
    const auto leistung = zweiter->Leistung(QStringLiteral("1"));

    failAtCommit(step, [&] { deleteFirstEntry(zweiter); });
    EXPECT_TRUE(session_->Auftraege().contains(zweiter->Key()));
    EXPECT_TRUE(zweiter->Leistungen().contains(leistung->Key()));
    EXPECT_EQ(leistung->Sekunden(), 600);
    EXPECT_TRUE(row(leistung->Id()).has_value());
    expectIntact();

    // Still released: booked once, with its 600 seconds.
    session_->EinzelBuchen();
    EXPECT_EQ(count(QStringLiteral("tLeistung WHERE flAuftrag = 5003 AND flMitarbeiter = 7")), 1);
    EXPECT_FALSE(row(leistung->Id()).has_value());
}

TEST_P(FailedStepTest, AFailedMoveToAnOrderNotYetHeldLeavesNoNewOrder) {
    auto erster = workedOn(5001, 900);
    auto zweiter = workedOn(5001, 900);  // a second stretch on the same office order
    const std::int32_t auftraege = session_->Auftraege().Count();
    const auto moved = zweiter->Leistung(QStringLiteral("1"));
    const int step = statementsOf([&] { edit(erster, 900, 5003); });
    ASSERT_EQ(session_->Auftraege().Count(), auftraege + 1);
    expectIntact();

    failAtCommit(step, [&] { edit(zweiter, 900, 5004); });
    EXPECT_EQ(session_->Auftraege().Count(), auftraege + 1);
    EXPECT_EQ(session_->AuftragZuAuftragId(5004), nullptr);
    EXPECT_EQ(&moved->Auftrag(), zweiter.get());
    EXPECT_EQ(count(QStringLiteral("tLeistungZeiterfassung WHERE idAuftrag = 5004")), 0);
    expectIntact();
}

TEST_P(FailedStepTest, AFailedSummedBookingBooksNothingAndBooksOnceWhenDoneAgain) {
    std::vector<std::shared_ptr<CAuftrag>> auftraege;
    for (const qint64 seconds : {600, 1200, 1800}) {
        auftraege.push_back(workedOn(5001, seconds));
        auftraege.back()->Leistung(QStringLiteral("1"))->TextHinzufuegen(0, QStringLiteral("x"));
        auftraege.back()->Speichern();
        release(auftraege.back());
    }
    const auto services = [&] {
        return count(QStringLiteral("tLeistung WHERE flAuftrag = 5001 AND flMitarbeiter = 7"));
    };
    // Somewhere in the middle: the service row is written, the entries are not yet gone.
    faults().failStatement(4);
    const std::optional<OrvError> error = test::failureOf([&] { session_->SammelBuchen(); });
    faults().clear();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(services(), 0);
    for (const auto& auftrag : auftraege) {
        const auto leistung = auftrag->Leistung(QStringLiteral("1"));
        EXPECT_LT(leistung->Status(), AuftragStatus_Geloescht);
        EXPECT_TRUE(row(leistung->Id()).has_value());
    }
    expectIntact();

    session_->SammelBuchen();
    EXPECT_EQ(services(), 1);
    EXPECT_EQ(count(QStringLiteral("tLeistung WHERE flAuftrag = 5001 AND flMitarbeiter = 7"
                                   " AND dmAnzahl = 1")),
              1);
}

// Another workstation holds the entry's row and then waits for the order's row, which the stop
// has just written: the server breaks the deadlock by giving up the stop, which waited longer.
// The stop is done again once the other transaction is through, and nobody sees a failure.
TEST_P(FailedStepTest, AStopTheServerGaveUpForADeadlockIsDoneAgain) {
    if (backend() != db::Backend::Postgres) {
        GTEST_SKIP() << "Verklemmungen löst nur der Server auf.";
    }
    auto auftrag = startNewOrder(5001);
    tick(30);
    const std::string orderId = std::to_string(auftrag->Id());
    const std::string entryId = std::to_string(auftrag->AktuelleLeistung()->Id());
    db::Database other(temp().target());
    const std::shared_ptr<db::Connection> andere = other.connection();
    andere->execute("BEGIN");
    andere->execute(
        "UPDATE tLeistungZeiterfassung SET Text2 = 'andere' WHERE"
        " idLeistungZeiterfassung = " +
        entryId);
    bool andereDurch = false;
    std::thread zweiter([&] {
        // The stop has written the order's row by now and waits for the entry's.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        andere->execute(
            "UPDATE tLeistungZeiterfassung SET Text2 = 'andere' WHERE"
            " idLeistungZeiterfassung = " +
            orderId);
        andere->execute("COMMIT");
        andereDurch = true;
    });
    platform_->trace().clear();
    bool beenden = false;
    const std::optional<OrvError> error =
        test::failureOf([&] { session_->AuftragAnhalten(beenden); });
    zweiter.join();
    EXPECT_FALSE(error.has_value()) << error->description().toStdString();
    EXPECT_EQ(auftrag->Status(), AuftragStatus_InAktiv);
    EXPECT_EQ(row(auftrag->Id())->status, AuftragStatus_InAktiv);
    EXPECT_EQ(row(auftrag->Id())->sekunden, 30);
    EXPECT_EQ(row(auftrag->Leistung(QStringLiteral("1"))->Id())->status, AuftragStatus_Beendet);
    EXPECT_TRUE(andereDurch) << "the other workstation's transaction went through first";
    EXPECT_EQ(platform_->trace().messages().count(QStringLiteral("Begin Anhalten")), 4)
        << "the order and its entry stopped twice: the stop was done again";
}

ORV_INSTANTIATE_FOR_BACKENDS(FailedStepTest);

}  // namespace
}  // namespace orv
