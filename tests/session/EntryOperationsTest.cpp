#include "SessionTestSupport.h"

#include "platform/MessageBoxes.h"
#include "session/diagnostics/OrvError.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::LeistungAnzeigenAnswer;
using test::outcome::kAbbruch;
using test::outcome::kGeaendert;

// Entries made by the clock: the session runs from 08:00, the idle stopwatch first.
class EntryOperationsTest : public test::SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            start();
            ASSERT_TRUE(tickClock(3600));  // an hour of idle time to draw on
        }
    }

    // An order that ran for the given seconds and stopped, with its one entry.
    std::shared_ptr<CAuftrag> workedOn(std::int32_t auftragId, qint64 seconds) {
        auto auftrag = startNewOrder(auftragId);
        EXPECT_TRUE(tickClock(seconds));
        switchTo(CAuftrag::LeerlaufKey());
        return auftrag;
    }
    static QString firstKey(const CAuftrag& auftrag) {
        return auftrag.Leistung(QStringLiteral("1"))->Key();
    }
    std::int32_t idleSeconds() { return session_->LeerlaufAuftrag().Sekunden(); }
};

TEST_P(EntryOperationsTest, ReleasingAnEntryNeedsAnExistingOfficeOrder) {
    auto ohneAuftrag = workedOn(0, 60);
    QString auftragKey = ohneAuftrag->Key();
    QString leistungKey = firstKey(*ohneAuftrag);
    EXPECT_FALSE(session_->LeistungFreigeben(auftragKey, leistungKey));
    EXPECT_TRUE(platform_->messageBoxes().asked().empty()) << "silently";

    auto lohn = workedOn(5003, 120);
    auftragKey = lohn->Key();
    leistungKey = firstKey(*lohn);
    EXPECT_TRUE(session_->LeistungFreigeben(auftragKey, leistungKey));
    EXPECT_TRUE(session_->LeistungFreigeben(auftragKey, leistungKey));
    EXPECT_EQ(session_->FreigegebeneLeistungen()->Count(), 1);

    // The office removed the order meanwhile: the employee is told and nothing is released.
    auto beratung = workedOn(5012, 90);
    execute(QStringLiteral("DELETE FROM tAuftrag WHERE idAuftrag = 5012"));
    auftragKey = beratung->Key();
    leistungKey = firstKey(*beratung);
    platform_->messageBoxes().answer(platform::MsgAnswer::Ok);
    EXPECT_FALSE(session_->LeistungFreigeben(auftragKey, leistungKey));
    ASSERT_EQ(platform_->messageBoxes().asked().size(), 1u);
    const test::AskedBox& box = platform_->messageBoxes().asked()[0];
    EXPECT_EQ(box.title, QStringLiteral("Stoppuhren"));
    EXPECT_EQ(box.icon, platform::MsgIcon::Information);
    EXPECT_EQ(box.text, QStringLiteral("Der Auftrag 90/901 Steuerliche Beratung 03/2026 existiert "
                                       "nicht mehr.\nBitte ordnen Sie der vorläufigen Leistung "
                                       "einen anderen Auftrag zu."));
    EXPECT_EQ(session_->FreigegebeneLeistungen()->Count(), 1);
}

// Taking the whole idle time leaves an idle entry of no seconds, which its own save skips: its
// row must read 0 all the same, as its order's does.
TEST_P(EntryOperationsTest, EditingThatTakesAllIdleTimeLeavesTheIdleRowsAtZero) {
    auto auftrag = workedOn(5001, 1800);
    const auto leistung = auftrag->Leistung(QStringLiteral("1"));
    const CAuftrag& leerlauf = session_->LeerlaufAuftrag();
    const std::int32_t idle = idleSeconds();
    ASSERT_GT(idle, 0);
    QString auftragKey = auftrag->Key();
    QString leistungKey = leistung->Key();
    platform_->frmLeistung().answer(LeistungAnzeigenAnswer{kGeaendert, 1800 + idle, 5001});
    EXPECT_EQ(session_->LeistungBearbeiten(auftragKey, leistungKey), kGeaendert);
    EXPECT_EQ(row(leerlauf.Id())->sekunden, 0);
    for (const auto& idleEntry : leerlauf.Leistungen()) {
        EXPECT_EQ(row(idleEntry->Id())->sekunden, 0);
    }
    EXPECT_EQ(row(leistung->Id())->sekunden, 1800 + idle);
    expectOrdersBalanced();
}

TEST_P(EntryOperationsTest, EditingAnEntrysTimeMovesTheDifferenceToOrFromIdleTime) {
    auto auftrag = workedOn(5001, 1800);
    const auto leistung = auftrag->Leistung(QStringLiteral("1"));
    const std::int32_t idle = idleSeconds();
    const std::int32_t productive = session_->AuftragsSekunden();
    QString auftragKey = auftrag->Key();
    QString leistungKey = leistung->Key();

    platform_->frmLeistung().answer(LeistungAnzeigenAnswer{kGeaendert, 2700, 5001});
    EXPECT_EQ(session_->LeistungBearbeiten(auftragKey, leistungKey), kGeaendert);
    EXPECT_EQ(leistung->Sekunden(), 2700);
    EXPECT_EQ(auftrag->Sekunden(), 2700);
    EXPECT_EQ(idleSeconds(), idle - 900);
    EXPECT_EQ(session_->AuftragsSekunden(), productive + 900);
    EXPECT_EQ(row(leistung->Id())->sekunden, 2700);
    EXPECT_EQ(row(auftrag->Id())->sekunden, 2700);
    EXPECT_EQ(row(session_->LeerlaufAuftrag().Id())->sekunden, idle - 900);
    EXPECT_EQ(leistung->Beginn().time(), QTime(0, 0)) << "an edited entry keeps only its date";
    expectOrdersBalanced();

    // Cancelled: nothing changes.
    platform_->frmLeistung().answer(LeistungAnzeigenAnswer{kAbbruch, 60, 5001});
    EXPECT_EQ(session_->LeistungBearbeiten(auftragKey, leistungKey), kAbbruch);
    EXPECT_EQ(leistung->Sekunden(), 2700);

    // Set to 0: the entry goes and its time returns to idle.
    platform_->frmLeistung().answer(LeistungAnzeigenAnswer{kGeaendert, 0, 5001});
    EXPECT_EQ(session_->LeistungBearbeiten(auftragKey, leistungKey), test::outcome::kGeloescht);
    EXPECT_EQ(leistung->Status(), cLeistung::kStatusZeileGeloescht);
    EXPECT_FALSE(row(leistung->Id()).has_value());
    EXPECT_EQ(auftrag->Leistungen().Count(), 0);
    EXPECT_EQ(auftrag->Sekunden(), 0);
    EXPECT_EQ(idleSeconds(), idle + 1800);
    EXPECT_EQ(session_->AuftragsSekunden(), productive - 1800);
    expectOrdersBalanced();
}

TEST_P(EntryOperationsTest, EditingCanMoveTheEntryToAnotherOfficeOrder) {
    auto auftrag = workedOn(5001, 600);
    QString auftragKey = auftrag->Key();
    QString leistungKey = firstKey(*auftrag);
    platform_->frmLeistung().answer(LeistungAnzeigenAnswer{kGeaendert, 600, 5002});
    session_->LeistungBearbeiten(auftragKey, leistungKey);
    const auto target = session_->AuftragZuAuftragId(5002);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(auftragKey, target->Key());
    EXPECT_EQ(target->Sekunden(), 600);
    EXPECT_EQ(auftrag->Sekunden(), 0);
    expectOrdersBalanced();
}

// The order an entry left still calls it its current entry; once the entry is deleted and the
// finished order it moved to is gone with it, the first order starts and stops as any other.
TEST_P(EntryOperationsTest, AnOrderWhoseEntryWasMovedAwayAndDeletedStartsAgain) {
    auto auftrag = workedOn(5001, 600);
    QString zielKey = workedOn(5002, 300)->Key();
    ASSERT_TRUE(session_->AuftragBeenden(zielKey));
    QString auftragKey = auftrag->Key();
    QString leistungKey = firstKey(*auftrag);
    platform_->frmLeistung().answer(LeistungAnzeigenAnswer{kGeaendert, 600, 5002});
    session_->LeistungBearbeiten(auftragKey, leistungKey);
    ASSERT_EQ(auftragKey, zielKey);
    std::vector<QString> keys;
    for (const auto& leistung : session_->Auftrag(zielKey)->Leistungen()) {
        keys.push_back(leistung->Key());
    }
    for (QString& key : keys) {
        ASSERT_TRUE(session_->LeistungLoeschen(zielKey, key));
    }
    ASSERT_FALSE(session_->Auftraege().contains(zielKey)) << "finished and empty, it went";

    const std::int32_t idle = idleSeconds();
    switchTo(auftrag->Key());
    ASSERT_TRUE(tickClock(120));
    switchTo(CAuftrag::LeerlaufKey());
    EXPECT_EQ(auftrag->Sekunden(), 120);
    EXPECT_EQ(idleSeconds(), idle);
    expectOrdersBalanced();
}

TEST_P(EntryOperationsTest, DeletingAnEntryReturnsItsTimeAndRemovesAFinishedEmptyOrder) {
    auto auftrag = workedOn(5001, 900);
    QString auftragKey = auftrag->Key();
    QString leistungKey = firstKey(*auftrag);
    session_->LeistungFreigeben(auftragKey, leistungKey);
    auftrag->Status(AuftragStatus_Beendet);
    const std::int32_t idle = idleSeconds();
    EXPECT_TRUE(session_->LeistungLoeschen(auftragKey, leistungKey));
    EXPECT_EQ(idleSeconds(), idle + 900);
    EXPECT_EQ(session_->AuftragsSekunden(), 0);
    EXPECT_FALSE(session_->Auftraege().contains(auftragKey));
    EXPECT_FALSE(row(auftrag->Id()).has_value());
    EXPECT_EQ(session_->FreigegebeneLeistungen()->Count(), 0) << "deleted time is not booked";
    expectOrdersBalanced();
}

TEST_P(EntryOperationsTest, AManualEntryTakesItsTimeFromIdleTime) {
    const std::int32_t idle = idleSeconds();
    platform_->frmLeistung().answerWith(
        [](cLeistung& entry, std::int32_t& seconds, std::int32_t&, bool) {
            entry.AuftragAendernVorlauefig(5003);
            seconds = 600;
            return kGeaendert;
        });
    QString auftragKey;
    QString leistungKey;
    std::int32_t seconds = 0;
    EXPECT_EQ(session_->LeistungErzeugen(auftragKey, leistungKey, seconds), 1);
    const auto auftrag = session_->Auftrag(auftragKey);
    EXPECT_EQ(auftrag->AuftragId(), 5003);
    const auto leistung = auftrag->Leistung(leistungKey);
    EXPECT_EQ(leistung->Sekunden(), 600);
    EXPECT_EQ(leistung->Status(), AuftragStatus_Beendet);
    EXPECT_EQ(leistung->Beginn(), QDateTime(now().date(), QTime(0, 0)));
    EXPECT_EQ(auftrag->Sekunden(), 600);
    EXPECT_EQ(idleSeconds(), idle - 600);
    EXPECT_EQ(session_->AuftragsSekunden(), 600);
    const test::ZeRow inserted = *row(leistung->Id());
    EXPECT_EQ(inserted.parentId, auftrag->Id());
    EXPECT_EQ(inserted.sekunden, 600);
    EXPECT_EQ(row(auftrag->Id())->sekunden, 600);
    expectOrdersBalanced();

    // Cancelled or without an office order, nothing is created.
    platform_->frmLeistung().answerWith(
        [](cLeistung&, std::int32_t& secondsOut, std::int32_t&, bool) {
            secondsOut = 300;
            return kGeaendert;
        });
    const int rows = static_cast<int>(rowsOf().size());
    EXPECT_EQ(session_->LeistungErzeugen(auftragKey, leistungKey, seconds), 0);
    EXPECT_EQ(static_cast<int>(rowsOf().size()), rows);
    EXPECT_EQ(idleSeconds(), idle - 600);
}

TEST_P(EntryOperationsTest, TypedTimesAreCheckedAgainstIdleTime) {
    EXPECT_EQ(session_->SekundenAusZeit(QStringLiteral("01:30:15")), 5415);
    EXPECT_EQ(session_->SekundenAusZeit(QStringLiteral("1x:3_:07")), 3600 + 180 + 7);
    EXPECT_EQ(session_->SekundenAusZeit(QString()), 0);

    // The idle order holds 3600 seconds; make it 300.
    session_->LeerlaufAuftrag().Sekunden(300);
    QString differenz;
    EXPECT_EQ(session_->PruefeLeistungZeit(QStringLiteral("00:00:00"), 0, differenz), 2);
    EXPECT_EQ(session_->PruefeLeistungZeit(QStringLiteral("00:15:00"), 300, differenz), 1);
    EXPECT_EQ(differenz, QStringLiteral("00:10:00"));
    EXPECT_EQ(session_->PruefeLeistungZeit(QStringLiteral("00:10:00"), 300, differenz), 4);
    EXPECT_EQ(session_->PruefeLeistungZeit(QStringLiteral("00:01:00"), 300, differenz), 3);
    EXPECT_EQ(differenz, QStringLiteral("00:04:00"));
    EXPECT_EQ(session_->PruefeLeistungZeit(QStringLiteral("300"), 300, differenz), 0);
    EXPECT_EQ(session_->PruefeLeistungZeit(QStringLiteral("600"), 300, differenz), 4);
}

TEST_P(EntryOperationsTest, StandardTextNumbersExpandAndOtherTextsStay) {
    session_->gSetPsIdAndNumber(true, office::demo::kOffice, 1);
    const auto expand = [&](const QString& typed) {
        QString text = typed;
        const QString result = session_->StandardLeistungsText(text);
        EXPECT_EQ(result, text);
        return result;
    };
    EXPECT_EQ(expand(QStringLiteral("10")),
              QStringLiteral("Kontierung und Buchung der laufenden Belege"));
    EXPECT_NE(expand(QStringLiteral("12")), QStringLiteral("12")) << "the office's own text";
    EXPECT_EQ(expand(QStringLiteral("abc")), QStringLiteral("abc"));
    EXPECT_EQ(expand(QStringLiteral("1234567890")), QStringLiteral("1234567890"));
    EXPECT_EQ(expand(QStringLiteral("99")), QStringLiteral("99"));
    const QString attack = QStringLiteral("1 OR 1=1");
    EXPECT_EQ(expand(attack), attack);
    const QString quote = QStringLiteral("12'; DELETE FROM tStdBuText; --");
    EXPECT_EQ(expand(quote), quote);
    EXPECT_GT(count(QStringLiteral("tStdBuText")), 0);

    // Another office does not see the office's own text 12.
    session_->gSetPsIdAndNumber(true, 0, 0);
    EXPECT_EQ(expand(QStringLiteral("12")), QStringLiteral("12"));
}

TEST_P(EntryOperationsTest, ExternalTimeBecomesALoginAndIdleTime) {
    const std::int32_t idle = idleSeconds();
    const QDateTime von(QDate(2026, 3, 16), QTime(6, 0));
    const QDateTime bis(QDate(2026, 3, 16), QTime(7, 30));
    platform_->frmExterneZeit().answer(test::ExterneZeitAnswer::accepted(von, bis));
    std::int32_t seconds = 0;
    QDateTime outVon;
    QDateTime outBis;
    EXPECT_EQ(session_->ExterneZeitErfassen(seconds, outVon, outBis), 1);
    EXPECT_EQ(seconds, 5400);
    EXPECT_EQ(idleSeconds(), idle + 5400);
    EXPECT_EQ(row(session_->LeerlaufAuftrag().Id())->sekunden, idle + 5400);
    EXPECT_EQ(logins(), QStringLiteral("06:00:00-07:30:00/1 08:00:00-/0"));

    platform_->frmExterneZeit().answer(test::ExterneZeitAnswer::cancelled());
    EXPECT_EQ(session_->ExterneZeitErfassen(seconds, outVon, outBis), 2);
    EXPECT_EQ(idleSeconds(), idle + 5400);
}

TEST_P(EntryOperationsTest, RebookingAndTheIdleBookingOrder) {
    auto auftrag = workedOn(5001, 300);
    QString auftragKey = auftrag->Key();
    platform_->frmLeistungUmbuchen().answer(kGeaendert);
    EXPECT_EQ(session_->LeistungUmbuchen(auftragKey, firstKey(*auftrag)), kGeaendert);
    QString leerlauf = CAuftrag::LeerlaufKey();
    platform_->frmLeistungUmbuchen().answer(kAbbruch);
    EXPECT_EQ(session_->LeistungUmbuchen(leerlauf, QString()), kAbbruch);
    const auto& calls = platform_->frmLeistungUmbuchen().calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_FALSE(calls[0].leerlauf);
    EXPECT_EQ(calls[0].entry, auftrag->Leistung(QStringLiteral("1")).get());
    EXPECT_TRUE(calls[1].leerlauf);
    EXPECT_EQ(calls[1].entry, session_->LeerlaufAuftrag().Leistung(QStringLiteral("1")).get());

    // The properties dialog shows the idle booking order and stores another one.
    platform_->frmEigenschaften().answerWith([](CAuftrag& order) {
        EXPECT_EQ(order.AuftragId(), office::demo::kUnproductiveTimeOrder);
        order.AuftragAendern(5002);
        return 1;
    });
    session_->Eigenschaftenanzeigen();
    EXPECT_EQ(session_->LeerlaufBuchungsAuftrag(), 5002);
    EXPECT_EQ(gateway().OptionsWertErmitteln(2), QStringLiteral("5002"));
}

ORV_INSTANTIATE_FOR_BACKENDS(EntryOperationsTest);

}  // namespace
}  // namespace orv
