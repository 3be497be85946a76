#include "SessionTestSupport.h"

#include "platform/MessageBoxes.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::outcome::kAbbruch;
using test::outcome::kGeaendert;

// Entries made by the clock: the session runs from 08:00 with an hour of idle time to draw on.
class EntryOperationsTest : public test::SessionTest {
protected:
    EntryOperationsTest() : SessionTest(true, 3600) {}
};

TEST_P(EntryOperationsTest, ReleasingAnEntryNeedsAnExistingOfficeOrder) {
    EXPECT_FALSE(release(*first(*workedOn(0, 60))));
    EXPECT_TRUE(platform_->messageBoxes().asked().empty()) << "silently";
    const auto lohn = first(*workedOn(5003, 120));
    EXPECT_TRUE(release(*lohn));
    EXPECT_TRUE(release(*lohn));
    EXPECT_EQ(session_->FreigegebeneLeistungen()->Count(), 1);

    // The office removed the order meanwhile: the employee is told and nothing is released.
    const auto beratung = first(*workedOn(5012, 90));
    execute(QStringLiteral("DELETE FROM tAuftrag WHERE idAuftrag = 5012"));
    platform_->messageBoxes().answer(platform::MsgAnswer::Ok);
    EXPECT_FALSE(release(*beratung));
    EXPECT_EQ(platform_->messageBoxes().asked().at(0).text,
              QStringLiteral("Der Auftrag 90/901 Steuerliche Beratung 03/2026 existiert "
                             "nicht mehr.\nBitte ordnen Sie der vorläufigen Leistung "
                             "einen anderen Auftrag zu."));
    EXPECT_EQ(session_->FreigegebeneLeistungen()->Count(), 1);
}

TEST_P(EntryOperationsTest, EditingAnEntrysTimeMovesTheDifferenceToOrFromIdleTime) {
    const auto auftrag = workedOn(5001, 1800);
    const auto leistung = first(*auftrag);
    const std::int32_t leer = idle();
    EXPECT_EQ(edit(*leistung, 2700, 5001), kGeaendert);
    EXPECT_EQ(leistung->Sekunden(), 2700);
    EXPECT_EQ(idle(), leer - 900);
    EXPECT_EQ(leistung->Beginn().time(), QTime(0, 0)) << "an edited entry keeps only its date";

    platform_->frmLeistung().answer(test::LeistungAnzeigenAnswer{kAbbruch, 60, 5001});
    EXPECT_EQ(openEdit(*leistung), kAbbruch);
    EXPECT_EQ(leistung->Sekunden(), 2700) << "cancelled: nothing changes";

    // Set to 0: the entry goes and its time returns to idle.
    EXPECT_EQ(edit(*leistung, 0, 5001), test::outcome::kGeloescht);
    EXPECT_FALSE(row(leistung->Id()).has_value());
    EXPECT_EQ(auftrag->Leistungen().Count(), 0);
    EXPECT_EQ(idle(), leer + 1800);
    expectBalanced();

    // Taking the whole idle time leaves an idle entry of no seconds, which its own save skips:
    // its row must read 0 all the same, as its order's does.
    const auto rest = workedOn(5001, 600);
    EXPECT_EQ(edit(*first(*rest), 600 + idle(), 5001), kGeaendert);
    EXPECT_EQ(idle(), 0);
    expectBalanced();
    expectRowsMatchObjects();
}

// The order an entry left still calls it its current entry; once the entry is deleted and the
// finished order it moved to is gone with it, the first order starts and stops as any other.
TEST_P(EntryOperationsTest, AnOrderWhoseEntryWasMovedAwayAndDeletedStartsAgain) {
    const auto auftrag = workedOn(5001, 600);
    QString zielKey = workedOn(5002, 300)->Key();
    ASSERT_TRUE(session_->AuftragBeenden(zielKey));
    edit(*first(*auftrag), 600, 5002);
    const auto ziel = session_->Auftrag(zielKey);
    EXPECT_EQ(ziel->Sekunden(), 900);
    EXPECT_EQ(auftrag->Sekunden(), 0);
    while (ziel->Leistungen().Count() > 0) {
        ASSERT_TRUE(deleteEntry(*ziel->Leistungen().at(1)));
    }
    ASSERT_FALSE(session_->Auftraege().contains(zielKey)) << "finished and empty, it went";

    const std::int32_t leer = idle();
    switchTo(auftrag->Key());
    tick(120);
    switchTo(CAuftrag::LeerlaufKey());
    EXPECT_EQ(auftrag->Sekunden(), 120);
    EXPECT_EQ(idle(), leer);
    expectBalanced();
    expectRowsMatchObjects();
}

// The seconds and the balance of a manual entry are the fault matrix's; here what it is.
TEST_P(EntryOperationsTest, AManualEntryIsFinishedAndDatedAndNothingWhenCancelled) {
    EXPECT_EQ(manual(5003, 600), 1);
    const auto leistung = first(*session_->AuftragZuAuftragId(5003));
    EXPECT_EQ(leistung->Status(), AuftragStatus_Beendet);
    EXPECT_EQ(leistung->Beginn(), QDateTime(now().date(), QTime(0, 0)));

    // Cancelled or without an office order, nothing is created.
    platform_->frmLeistung().answer([](cLeistung&, std::int32_t& s, std::int32_t&, bool) {
        s = 300;
        return kGeaendert;
    });
    platform_->frmLeistung().answer(kAbbruch);
    const std::size_t rows = rowsOf().size();
    QString auftragKey;
    QString leistungKey;
    std::int32_t seconds = 0;
    EXPECT_EQ(session_->LeistungErzeugen(auftragKey, leistungKey, seconds), 0);
    EXPECT_EQ(session_->LeistungErzeugen(auftragKey, leistungKey, seconds), 0);
    EXPECT_EQ(rowsOf().size(), rows);
    EXPECT_EQ(idle(), 3000);
}

TEST_P(EntryOperationsTest, TypedTimesAreCheckedAgainstIdleTime) {
    EXPECT_EQ(session_->SekundenAusZeit(QStringLiteral("01:30:15")), 5415);
    EXPECT_EQ(session_->SekundenAusZeit(QStringLiteral("1x:3_:07")), 3600 + 180 + 7);
    EXPECT_EQ(session_->SekundenAusZeit(QString()), 0);
    session_->LeerlaufAuftrag().Sekunden(300);
    // typed, seconds before, result (see PruefeLeistungZeit), difference
    const std::tuple<const char*, int, int, const char*> cases[] = {
        {"00:00:00", 0, 2, nullptr},   {"00:15:00", 300, 1, "00:10:00"},
        {"00:10:00", 300, 4, nullptr}, {"00:01:00", 300, 3, "00:04:00"},
        {"300", 300, 0, nullptr},      {"600", 300, 4, nullptr},
    };
    for (const auto& [typed, before, result, differenz] : cases) {
        QString out;
        EXPECT_EQ(session_->PruefeLeistungZeit(QLatin1String(typed), before, out), result) << typed;
        if (differenz != nullptr) {
            EXPECT_EQ(out, QLatin1String(differenz)) << typed;
        }
    }
}

// Only a standard text's number is looked up; any other text, hostile or not, stays as typed.
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
    EXPECT_EQ(expand(QStringLiteral("12")), QStringLiteral("Besprechung mit dem Mandanten"));
    EXPECT_EQ(expand(QStringLiteral("000000010")), expand(QStringLiteral("10")));
    // Only a text of up to nine digits is a number here.
    for (const char* stays :
         {"abc", "1234567890", "99", "1 OR 1=1", "12'; DELETE FROM tStdBuText; --", "10,0", "1e1",
          "inf", "nan", "9e18", "1e20", "+10", "-10", " 10", "10 ", "0x0A", "\u0661\u0660"}) {
        EXPECT_EQ(expand(QString::fromUtf8(stays)), QString::fromUtf8(stays)) << stays;
    }
    EXPECT_GT(count(QStringLiteral("tStdBuText")), 0);
    EXPECT_TRUE(platform_->errorReports().empty());
    // Another office does not see the office's own text 12.
    session_->gSetPsIdAndNumber(true, 0, 0);
    EXPECT_EQ(expand(QStringLiteral("12")), QStringLiteral("12"));
}

TEST_P(EntryOperationsTest, ExternalTimeBecomesALoginAndIdleTime) {
    const std::int32_t leer = idle();
    platform_->frmExterneZeit().accept(QDateTime(QDate(2026, 3, 16), QTime(6, 0)),
                                       QDateTime(QDate(2026, 3, 16), QTime(7, 30)));
    std::int32_t seconds = 0;
    QDateTime von;
    QDateTime bis;
    EXPECT_EQ(session_->ExterneZeitErfassen(seconds, von, bis), 1);
    EXPECT_EQ(seconds, 5400);
    EXPECT_EQ(idle(), leer + 5400);
    EXPECT_EQ(row(session_->LeerlaufAuftrag().Id())->sekunden, leer + 5400);
    EXPECT_EQ(logins(), QStringLiteral("06:00:00-07:30:00/1 08:00:00-/0"));

    platform_->frmExterneZeit().answer(test::outcome::kCancel);
    EXPECT_EQ(session_->ExterneZeitErfassen(seconds, von, bis), 2);
    EXPECT_EQ(idle(), leer + 5400);
}

// The properties dialog shows the idle booking order and stores another one.
TEST_P(EntryOperationsTest, ThePropertiesDialogStoresTheIdleBookingOrder) {
    platform_->frmEigenschaften().answer([](CAuftrag& order) {
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
