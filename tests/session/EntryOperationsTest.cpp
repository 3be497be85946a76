// Entries made by the clock, between the steps of a day: released, booked while they run or onto
// a removed order, moved, given texts and typed times, and changes that would break the balance
// of seconds. The session runs from 08:00 with an hour of idle time to draw on.

#include "SessionTestSupport.h"

#include "platform/MessageBoxes.h"
#include "session/diagnostics/OrvError.h"

#include <gtest/gtest.h>

#include <functional>

namespace orv {
namespace {

using test::LeistungAnzeigenAnswer;
using test::outcome::kGeaendert;
using Buchen = void (CStoppUhren::*)();

class EntryOperationsTest : public test::SessionTest {
protected:
    EntryOperationsTest() : SessionTest(true, 3600) {}

    // The hours (in ten-thousandths) of the employee's services on the office order.
    QString hours(std::int32_t auftragId) {
        return table(QStringLiteral("SELECT CAST(ROUND(dmAnzahl * 10000) AS INTEGER) AS h FROM"
                                    " tLeistung WHERE flAuftrag = $1 AND flMitarbeiter = 7"
                                    " ORDER BY idLeistung"),
                     {"h"}, db::Params{std::int64_t{auftragId}});
    }
    // Every row with its seconds: what a refused change must leave alone.
    QString rowSeconds() {
        return table(QStringLiteral("SELECT idLeistungZeiterfassung AS id, Sekunden FROM"
                                    " tLeistungZeiterfassung ORDER BY 1"),
                     {"id", "Sekunden"});
    }
};

// The running entry booked: the order counts on in a fresh provisional entry, booked next.
// Booked the moment it began, it holds no time and goes without a service (the office's minimum
// of 0,01 hours would invent 36 seconds).
TEST_P(EntryOperationsTest, TimeCountedAfterTheRunningEntryWasBookedIsBookedNext) {
    for (const auto& fall : {std::pair{5001, Buchen{&CStoppUhren::EinzelBuchen}},
                             std::pair{5003, Buchen{&CStoppUhren::SammelBuchen}}}) {
        // Named copies: clang++ 14 cannot capture a structured binding in a lambda.
        const std::int32_t auftragId = fall.first;
        const Buchen buchen = fall.second;
        SCOPED_TRACE(auftragId);
        const auto auftrag = startNewOrder(auftragId);
        const auto bucheLaufende = [&] {
            const auto laufend = auftrag->AktuelleLeistung();
            EXPECT_TRUE(release(*laufend));
            (session_.get()->*buchen)();
            EXPECT_NE(auftrag->AktuelleLeistung(), laufend) << "counts on in a fresh entry";
            EXPECT_EQ(auftrag->AktuelleLeistung()->Status(), AuftragStatus_Aktiv);
            return laufend;
        };
        const auto leer = bucheLaufende();
        EXPECT_EQ(hours(auftragId), QString());
        EXPECT_FALSE(row(leer->Id()).has_value());
        tick(600);
        bucheLaufende();
        EXPECT_EQ(hours(auftragId), QStringLiteral("1667"));
        const auto frisch = auftrag->AktuelleLeistung();
        tick(300);
        switchTo(CAuftrag::LeerlaufKey());
        EXPECT_EQ(row(frisch->Id())->sekunden, 300);
        expectBalanced();
        ASSERT_TRUE(release(*frisch));
        (session_.get()->*buchen)();
        EXPECT_EQ(hours(auftragId), QStringLiteral("1667 / 833"));
        EXPECT_EQ(session_->FreigegebeneLeistungen(), nullptr) << "booked, none is released";
    }
}

// The idle booking order was removed by the office: the day closing books nothing, deletes
// nothing, says so, and the day goes on with the idle time counting.
TEST_P(EntryOperationsTest, ADayClosingOntoARemovedOrderBooksNothingAndTheDayGoesOn) {
    execute(QStringLiteral("DELETE FROM tAuftrag WHERE idAuftrag = 5012"));
    platform_->frmLeistung().answer(LeistungAnzeigenAnswer{kGeaendert, std::nullopt, 5012});
    EXPECT_FALSE(session_->Beenden());
    EXPECT_EQ(hours(5012), QString());
    EXPECT_FALSE(platform_->errorReports().empty());
    ASSERT_TRUE(row(session_->LeerlaufAuftrag().Id()).has_value());
    EXPECT_EQ(row(session_->LeerlaufAuftrag().Id())->sekunden, idle());
    const std::int32_t leer = idle();
    tick(60);
    EXPECT_EQ(idle(), leer + 60);
}

TEST_P(EntryOperationsTest, ABookingOntoARemovedOrderKeepsItsEntriesProvisionalAndSaysSo) {
    for (const auto& [entfernt, buchen] : {std::pair{5012, Buchen{&CStoppUhren::EinzelBuchen}},
                                           std::pair{5002, Buchen{&CStoppUhren::SammelBuchen}}}) {
        SCOPED_TRACE(entfernt);
        const QString gebucht =
            hours(5001).isEmpty() ? QString() : hours(5001) + QStringLiteral(" / ");
        ASSERT_TRUE(release(*first(*workedOn(5001, 600))));
        const auto bleibt = first(*workedOn(entfernt, 1800));
        ASSERT_TRUE(release(*bleibt));
        execute(QStringLiteral("DELETE FROM tAuftrag WHERE idAuftrag = %1").arg(entfernt));
        platform_->messageBoxes().answer(platform::MsgAnswer::Ok);
        (session_.get()->*buchen)();
        EXPECT_EQ(hours(5001), gebucht + QStringLiteral("1667"));
        EXPECT_LT(bleibt->Status(), AuftragStatus_Geloescht);
        ASSERT_TRUE(row(bleibt->Id()).has_value()) << "30 minutes stay provisional";
        EXPECT_EQ(row(bleibt->Id())->sekunden, 1800);
        EXPECT_TRUE(bleibt->Auftrag().Leistungen().contains(bleibt->Key()));
        ASSERT_FALSE(platform_->messageBoxes().asked().empty());
        EXPECT_TRUE(platform_->messageBoxes().asked().back().text.contains(
            QStringLiteral(" existiert nicht mehr.")));
        expectBalanced();
    }
}

TEST_P(EntryOperationsTest, StoppingKeepsTextTheEmployeeWroteAndThatIsBooked) {
    struct Case {
        const char* getippt;  // the first line before; "*" is the order's default text
        const char* neueVorgabe;
        const char* gebucht;  // "*" the order's default text
    };
    const std::int32_t ids[] = {5001, 5002, 5003, 5012};
    const Case cases[] = {{"", "", "*"},
                          {"Belege Januar geprüft", "", "Belege Januar geprüft"},
                          {"Belege Januar geprüft", "Neu", "Belege Januar geprüft"},
                          {"*", "Neu", "Neu"}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const auto auftrag = startNewOrder(ids[i]);
        tick(600);
        const auto leistung = auftrag->AktuelleLeistung();
        const QString vorgabe = auftrag->LeistungsTextVorgabe();
        const auto text = [&](const char* t) { return t[0] == '*' ? vorgabe : QString(t); };
        if (cases[i].getippt[0] != '\0') {
            leistung->StandardTextSetzen(text(cases[i].getippt));
        }
        if (cases[i].neueVorgabe[0] != '\0') {
            auftrag->LeistungsTextVorgabe(QString::fromUtf8(cases[i].neueVorgabe));
        }
        switchTo(CAuftrag::LeerlaufKey());
        const QString erwartet = text(cases[i].gebucht);
        EXPECT_EQ(textLines(leistung->Id()), QStringList{erwartet});
        ASSERT_TRUE(release(*leistung));
        session_->EinzelBuchen();
        EXPECT_TRUE(services().endsWith(QLatin1Char('|') + erwartet)) << services().toStdString();
    }

    // An entry moved to another order keeps its text when the order it left is finished.
    const auto verschoben = first(*workedOn(5001, 300));
    verschoben->StandardTextSetzen(QStringLiteral("für die Lohnabrechnung"));
    const std::shared_ptr<CAuftrag> verlassen = verschoben->Auftrag().shared_from_this();
    ASSERT_EQ(edit(*verschoben, 300, 5003), kGeaendert);
    endOrder(*verlassen);
    EXPECT_EQ(textLines(verschoben->Id()), QStringList{QStringLiteral("für die Lohnabrechnung")});
}

TEST_P(EntryOperationsTest, ChangesThatWouldLeaveTimeBelowZeroAreRefusedAndWriteNothing) {
    const auto leistung = first(*workedOn(5001, 1800));
    const std::int32_t leer = idle();
    cLeistung& leerlauf = *first(session_->LeerlaufAuftrag());
    const QString leerlaufReicht = QStringLiteral("Die unproduktive Zeit reicht");
    const QString leistungNegativ = QStringLiteral("Eine vorläufige Leistung kann keine negative");
    const std::pair<std::function<void()>, QString> refused[] = {
        {[&] { edit(*leistung, 1800 + leer + 1, 5001); }, leerlaufReicht},
        {[&] { edit(*leistung, -60, 5001); }, leistungNegativ},
        {[&] { manual(5001, 300, -600); }, leistungNegativ},
        {[&] { manual(5001, leer + 1); }, leerlaufReicht},
        {[&] { session_->Umbuchen(*leistung, nullptr, -60); }, QStringLiteral("Eine negative")},
        {[&] { session_->Umbuchen(*leistung, nullptr, 1801); }, leistungNegativ},
        {[&] { session_->Umbuchen(leerlauf, leistung.get(), leer + 1); }, leerlaufReicht},
    };
    const QString rows = rowSeconds();
    for (std::size_t i = 0; i < std::size(refused); ++i) {
        SCOPED_TRACE(i);
        const std::optional<OrvError> error = test::failureOf(refused[i].first);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->number(), err::kInvalidCall);
        EXPECT_TRUE(error->description().startsWith(refused[i].second))
            << error->description().toStdString();
        EXPECT_EQ(rowSeconds(), rows);
        EXPECT_EQ(idle(), leer);
        EXPECT_EQ(session_->AuftragsSekunden(), 1800);
    }

    // What the balance allows moves: the whole idle time onto the entry, which leaves the idle
    // entry at no seconds (its own save skips it; its row must read 0 all the same), then all
    // of it back to idle time. An edited entry keeps only its date.
    EXPECT_EQ(edit(*leistung, 1800 + leer, 5001), kGeaendert);
    EXPECT_EQ(session_->AuftragsSekunden(), 1800 + leer);
    EXPECT_EQ(leistung->Beginn().time(), QTime(0, 0));
    EXPECT_EQ(count(QStringLiteral("tLeistungZeiterfassung WHERE Sekunden <> 0 AND ps_id = 7"
                                   " AND (VorgangKey = 'p0' OR VorgangParentKey = 'p0')")),
              0);
    expectRowsMatchObjects();
    EXPECT_EQ(session_->Umbuchen(*leistung, nullptr, 1800 + leer), test::outcome::kGeloescht);
    EXPECT_FALSE(row(leistung->Id()).has_value());
    EXPECT_EQ(idle(), 1800 + leer);
    EXPECT_EQ(row(session_->LeerlaufAuftrag().Id())->sekunden, 1800 + leer);
    EXPECT_EQ(session_->AuftragsSekunden(), 0);
    expectBalanced();
}

TEST_P(EntryOperationsTest, ReleasingAnEntryNeedsAnExistingOfficeOrder) {
    // Silently: a box nobody answers fails the test.
    EXPECT_FALSE(release(*first(*workedOn(0, 60))));
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

// A clock text the host hands in is read field by field, letters ending a field; what the check
// makes of the seconds the time field's table (ZeitEingabeTest) holds to.
TEST_P(EntryOperationsTest, TypedClockTextsAreReadAndCheckedAgainstIdleTime) {
    EXPECT_EQ(session_->SekundenAusZeit(QStringLiteral("01:30:15")), 5415);
    EXPECT_EQ(session_->SekundenAusZeit(QStringLiteral("1x:3_:07")), 3600 + 180 + 7);
    EXPECT_EQ(session_->SekundenAusZeit(QString()), 0);
    session_->LeerlaufAuftrag().Sekunden(300);
    // Exactly the idle time more is still drawn from it, a second beyond is too much; no time
    // at all deletes the entry even when it had none.
    const std::tuple<const char*, int, int, const char*> cases[] = {
        {"00:10:00", 300, 4, "00:05:00"},
        {"00:10:01", 300, 1, "00:05:01"},
        {"00:00:00", 0, 2, "00:00:00"},
    };
    for (const auto& [typed, before, result, differenz] : cases) {
        QString out;
        EXPECT_EQ(session_->PruefeLeistungZeit(QLatin1String(typed), before, out), result) << typed;
        EXPECT_EQ(out, QLatin1String(differenz)) << typed;
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

ORV_INSTANTIATE_FOR_BACKENDS(EntryOperationsTest);

}  // namespace
}  // namespace orv
