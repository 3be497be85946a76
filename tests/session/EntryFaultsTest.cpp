// Entries between the steps of a day: booked while they run, created onto an order that fails or
// is done again, booked after a failure or onto a removed order, given texts and changes that
// would break the balance of seconds.

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

class EntryFaultsTest : public test::SessionTest {
protected:
    EntryFaultsTest() : SessionTest(true, 3600) {}

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

TEST_P(EntryFaultsTest, TimeCountedAfterTheRunningEntryWasBookedIsBookedNext) {
    for (const auto& [auftragId, buchen] : {std::pair{5001, Buchen{&CStoppUhren::EinzelBuchen}},
                                            std::pair{5003, Buchen{&CStoppUhren::SammelBuchen}}}) {
        SCOPED_TRACE(auftragId);
        const auto auftrag = startNewOrder(auftragId);
        tick(600);
        const auto gebucht = auftrag->AktuelleLeistung();
        ASSERT_TRUE(release(*gebucht));
        (session_.get()->*buchen)();
        EXPECT_EQ(hours(auftragId), QStringLiteral("1667"));
        const auto frisch = auftrag->AktuelleLeistung();
        ASSERT_NE(frisch, gebucht) << "the order counts on in a fresh provisional entry";
        EXPECT_EQ(frisch->Status(), AuftragStatus_Aktiv);
        tick(300);
        EXPECT_EQ(frisch->Sekunden(), 300);
        switchTo(CAuftrag::LeerlaufKey());
        EXPECT_EQ(row(frisch->Id())->sekunden, 300);
        expectBalanced();
        ASSERT_TRUE(release(*frisch));
        (session_.get()->*buchen)();
        EXPECT_EQ(hours(auftragId), QStringLiteral("1667 / 833"));
    }
}

// Booked the moment it began, the fresh entry holds no time: it goes without a service (the
// office's minimum of 0,01 hours would invent 36 seconds) and the order counts on.
TEST_P(EntryFaultsTest, AnEntryOfNoTimeIsRemovedWithoutAService) {
    for (const auto& [auftragId, buchen] : {std::pair{5001, Buchen{&CStoppUhren::EinzelBuchen}},
                                            std::pair{5003, Buchen{&CStoppUhren::SammelBuchen}}}) {
        SCOPED_TRACE(auftragId);
        const auto auftrag = startNewOrder(auftragId);
        const auto leer = auftrag->AktuelleLeistung();
        ASSERT_TRUE(release(*leer));
        (session_.get()->*buchen)();
        EXPECT_EQ(hours(auftragId), QString());
        EXPECT_FALSE(row(leer->Id()).has_value());
        tick(60);
        EXPECT_EQ(auftrag->Sekunden(), 60);
        switchTo(CAuftrag::LeerlaufKey());
        expectBalanced();
    }
}

// The idle booking order was removed by the office: the day closing books nothing, deletes
// nothing, says so, and the day goes on with the idle time counting.
TEST_P(EntryFaultsTest, ADayClosingOntoARemovedOrderBooksNothingAndTheDayGoesOn) {
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

TEST_P(EntryFaultsTest, ABookingOntoARemovedOrderKeepsItsEntriesProvisionalAndSaysSo) {
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

TEST_P(EntryFaultsTest, StoppingKeepsTextTheEmployeeWroteAndThatIsBooked) {
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

TEST_P(EntryFaultsTest, ChangesThatWouldLeaveTimeBelowZeroAreRefusedAndWriteNothing) {
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

    // What the balance allows moves: idle time onto the entry, then all of it to idle time.
    EXPECT_EQ(session_->Umbuchen(leerlauf, leistung.get(), leer), kGeaendert);
    EXPECT_EQ(session_->AuftragsSekunden(), 1800 + leer);
    EXPECT_EQ(session_->Umbuchen(*leistung, nullptr, 1800 + leer), test::outcome::kGeloescht);
    EXPECT_FALSE(row(leistung->Id()).has_value());
    EXPECT_EQ(idle(), 1800 + leer);
    EXPECT_EQ(row(session_->LeerlaufAuftrag().Id())->sekunden, 1800 + leer);
    EXPECT_EQ(session_->AuftragsSekunden(), 0);
    expectBalanced();
}

ORV_INSTANTIATE_FOR_BACKENDS(EntryFaultsTest);

}  // namespace
}  // namespace orv
