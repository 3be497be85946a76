// Entries between the steps of a day: booked while they run, created onto an order that fails or
// is done again, booked after a failure or onto a removed order, given texts and changes that
// would break the balance of seconds.

#include "SessionTestSupport.h"

#include "platform/MessageBoxes.h"
#include "session/diagnostics/OrvError.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace orv {
namespace {

using office::demo::kAdministrativeEmployee;
using test::LeistungAnzeigenAnswer;
using test::outcome::kGeaendert;
using Buchen = void (CStoppUhren::*)();

class EntryFaultsTest : public test::SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            tick(3600);  // an hour of idle time to draw on
        }
    }

    std::shared_ptr<cLeistung> workedOn(std::int32_t auftragId, qint64 seconds) {
        auto auftrag = startNewOrder(auftragId);
        tick(seconds);
        switchTo(CAuftrag::LeerlaufKey());
        return auftrag->Leistung(QStringLiteral("1"));
    }
    void release(const std::shared_ptr<cLeistung>& leistung) {
        QString auftragKey = leistung->Auftrag().Key();
        QString leistungKey = leistung->Key();
        ASSERT_TRUE(session_->LeistungFreigeben(auftragKey, leistungKey));
    }
    // The hours of the employee's services on an office order, in the order they were booked.
    std::vector<double> services(std::int32_t auftragId,
                                 std::int32_t employee = office::demo::kEmployeeWithRights) {
        db::DbService s(database());
        s.Open();
        std::vector<double> hours;
        for (bool more =
                 s.OpenQuery(QStringLiteral("SELECT dmAnzahl FROM tLeistung WHERE"
                                            " flAuftrag = $1 AND flMitarbeiter = $2"
                                            " ORDER BY idLeistung"),
                             db::Params{std::int64_t{auftragId}, std::int64_t{employee}}) == 1;
             more; more = s.Move(3)) {
            hours.push_back(s.FieldText("dmAnzahl").toDouble());
        }
        return hours;
    }
    QStringList serviceTexts(std::int32_t auftragId) {
        return test::tableText(
                   database(),
                   QStringLiteral("SELECT t.dcText FROM tLeistungText t JOIN tLeistung"
                                  " l ON l.idLeistung = t.flLeistung WHERE l.flAuftrag"
                                  " = $1 AND l.flMitarbeiter = 7 ORDER BY t.idLeistungText"),
                   {"dcText"}, db::Params{std::int64_t{auftragId}})
            .split(QStringLiteral(" / "));
    }
    // A manual entry of the given seconds that the employee puts on an office order.
    std::int32_t manual(std::int32_t auftragId, std::int32_t seconds, std::int32_t handedIn = 0) {
        platform_->frmLeistung().answerWith(
            [=](cLeistung& entry, std::int32_t& secondsOut, std::int32_t&, bool) {
                entry.AuftragAendernVorlauefig(auftragId);
                secondsOut = seconds;
                return kGeaendert;
            });
        QString auftragKey;
        QString leistungKey;
        return session_->LeistungErzeugen(auftragKey, leistungKey, handedIn);
    }
    std::int32_t edit(const std::shared_ptr<cLeistung>& leistung, std::int32_t seconds,
                      std::int32_t auftragId) {
        platform_->frmLeistung().answer(LeistungAnzeigenAnswer{kGeaendert, seconds, auftragId});
        QString auftragKey = leistung->Auftrag().Key();
        QString leistungKey = leistung->Key();
        return session_->LeistungBearbeiten(auftragKey, leistungKey);
    }
    // Every row with its seconds: what a refused change must leave alone.
    QString rowSeconds() {
        return test::tableText(database(),
                               QStringLiteral("SELECT idLeistungZeiterfassung AS id, Sekunden FROM"
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
        release(gebucht);
        (session_.get()->*buchen)();
        EXPECT_EQ(services(auftragId), std::vector<double>{0.1667});
        const auto frisch = auftrag->AktuelleLeistung();
        ASSERT_NE(frisch, gebucht) << "the order counts on in a fresh provisional entry";
        EXPECT_EQ(frisch->Status(), AuftragStatus_Aktiv);
        tick(300);
        EXPECT_EQ(frisch->Sekunden(), 300);
        switchTo(CAuftrag::LeerlaufKey());
        EXPECT_EQ(row(frisch->Id())->sekunden, 300);
        expectBalanced();
        release(frisch);
        (session_.get()->*buchen)();
        EXPECT_EQ(services(auftragId), (std::vector<double>{0.1667, 0.0833}));
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
        release(leer);
        (session_.get()->*buchen)();
        EXPECT_TRUE(services(auftragId).empty());
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
    EXPECT_TRUE(services(5012).empty());
    EXPECT_FALSE(platform_->errorReports().empty());
    CAuftrag& leerlauf = session_->LeerlaufAuftrag();
    ASSERT_TRUE(row(leerlauf.Id()).has_value());
    EXPECT_EQ(row(leerlauf.Id())->sekunden, leerlauf.Sekunden());
    const std::int32_t idle = leerlauf.Sekunden();
    tick(60);
    EXPECT_EQ(leerlauf.Sekunden(), idle + 60);
}

TEST_P(EntryFaultsTest, ABookingOntoARemovedOrderKeepsItsEntriesProvisionalAndSaysSo) {
    for (const auto& [entfernt, buchen] : {std::pair{5012, Buchen{&CStoppUhren::EinzelBuchen}},
                                           std::pair{5002, Buchen{&CStoppUhren::SammelBuchen}}}) {
        SCOPED_TRACE(entfernt);
        const std::int32_t gebucht = static_cast<std::int32_t>(services(5001).size());
        release(workedOn(5001, 600));
        const auto bleibt = workedOn(entfernt, 1800);
        release(bleibt);
        execute(QStringLiteral("DELETE FROM tAuftrag WHERE idAuftrag = %1").arg(entfernt));
        platform_->messageBoxes().answer(platform::MsgAnswer::Ok);
        (session_.get()->*buchen)();
        EXPECT_EQ(services(5001).size(), gebucht + 1u);
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
        release(leistung);
        session_->EinzelBuchen();
        EXPECT_EQ(serviceTexts(ids[i]), QStringList{erwartet});
    }

    // An entry moved to another order keeps its text when the order it left is finished.
    const auto verschoben = workedOn(5001, 300);
    verschoben->StandardTextSetzen(QStringLiteral("für die Lohnabrechnung"));
    const std::shared_ptr<CAuftrag> verlassen = verschoben->Auftrag().shared_from_this();
    ASSERT_EQ(edit(verschoben, 300, 5003), kGeaendert);
    QString key = verlassen->Key();
    ASSERT_TRUE(session_->AuftragBeenden(key));
    EXPECT_EQ(textLines(verschoben->Id()), QStringList{QStringLiteral("für die Lohnabrechnung")});
}

TEST_P(EntryFaultsTest, ChangesThatWouldLeaveTimeBelowZeroAreRefusedAndWriteNothing) {
    const auto leistung = workedOn(5001, 1800);
    const std::int32_t idle = session_->LeerlaufAuftrag().Sekunden();
    cLeistung& leerlauf = *session_->LeerlaufAuftrag().Leistung(QStringLiteral("1"));
    const QString leerlaufReicht = QStringLiteral("Die unproduktive Zeit reicht");
    const QString leistungNegativ = QStringLiteral("Eine vorläufige Leistung kann keine negative");
    const std::pair<std::function<void()>, QString> refused[] = {
        {[&] { edit(leistung, 1800 + idle + 1, 5001); }, leerlaufReicht},
        {[&] { edit(leistung, -60, 5001); }, leistungNegativ},
        {[&] { manual(5001, 300, -600); }, leistungNegativ},
        {[&] { manual(5001, idle + 1); }, leerlaufReicht},
        {[&] { session_->Umbuchen(*leistung, nullptr, -60); }, QStringLiteral("Eine negative")},
        {[&] { session_->Umbuchen(*leistung, nullptr, 1801); }, leistungNegativ},
        {[&] { session_->Umbuchen(leerlauf, leistung.get(), idle + 1); }, leerlaufReicht},
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
        EXPECT_EQ(session_->LeerlaufAuftrag().Sekunden(), idle);
        EXPECT_EQ(session_->AuftragsSekunden(), 1800);
    }

    // What the balance allows moves: idle time onto the entry, then all of it to idle time.
    EXPECT_EQ(session_->Umbuchen(leerlauf, leistung.get(), idle), kGeaendert);
    EXPECT_EQ(session_->AuftragsSekunden(), 1800 + idle);
    EXPECT_EQ(session_->Umbuchen(*leistung, nullptr, 1800 + idle), test::outcome::kGeloescht);
    EXPECT_FALSE(row(leistung->Id()).has_value());
    EXPECT_EQ(session_->LeerlaufAuftrag().Sekunden(), 1800 + idle);
    EXPECT_EQ(row(session_->LeerlaufAuftrag().Id())->sekunden, 1800 + idle);
    EXPECT_EQ(session_->AuftragsSekunden(), 0);
    expectBalanced();
}

ORV_INSTANTIATE_FOR_BACKENDS(EntryFaultsTest);

}  // namespace
}  // namespace orv
