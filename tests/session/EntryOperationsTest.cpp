// Entries made by the clock, between the steps of a day: released, booked onto a removed order,
// given texts, and changes that would break the balance of seconds. The session runs from 08:00
// with an hour of idle time to draw on.

#include "SessionTestSupport.h"

#include "platform/MessageBoxes.h"

#include <gtest/gtest.h>

#include <functional>

namespace orv {
namespace {

using test::outcome::kGeaendert;
using Buchen = void (CStoppUhren::*)();
constexpr Buchen kEinzeln = &CStoppUhren::EinzelBuchen;
constexpr Buchen kSumme = &CStoppUhren::SammelBuchen;

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
};

// The office removed an order meanwhile: a booking books the other entries and keeps the removed
// order's provisional, a release releases nothing, and the employee is told each time.
TEST_P(EntryOperationsTest, ABookingOrReleaseOntoARemovedOrderKeepsItsEntriesProvisional) {
    for (const auto& [entfernt, buchen, auftrag] :
         {std::tuple{5012, kEinzeln, "90/901 Steuerliche Beratung 03/2026"},
          std::tuple{5002, kSumme, "10/101 Laufende Finanzbuchhaltung 02/2026"}}) {
        SCOPED_TRACE(entfernt);
        const QString gebucht = hours(5001).isEmpty() ? QString() : hours(5001) + " / ";
        ASSERT_TRUE(release(*first(*workedOn(5001, 600))));
        const auto bleibt = first(*workedOn(entfernt, 1800));
        ASSERT_TRUE(release(*bleibt));
        execute(QStringLiteral("DELETE FROM tAuftrag WHERE idAuftrag = %1").arg(entfernt));
        const std::size_t asked = platform_->messageBoxes().asked().size();
        platform_->messageBoxes().answer(platform::MsgAnswer::Ok);
        platform_->messageBoxes().answer(platform::MsgAnswer::Ok);
        (session_.get()->*buchen)();
        EXPECT_FALSE(release(*bleibt));
        EXPECT_EQ(hours(5001), gebucht + QStringLiteral("1667"));
        EXPECT_LT(bleibt->Status(), AuftragStatus_Geloescht);
        EXPECT_EQ(row(bleibt->Id()).value_or(test::ZeRow{}).sekunden, 1800) << "stays provisional";
        ASSERT_EQ(platform_->messageBoxes().asked().size(), asked + 2);
        EXPECT_EQ(platform_->messageBoxes().asked().back().text,
                  QStringLiteral("Der Auftrag %1 existiert nicht mehr.\nBitte ordnen Sie der "
                                 "vorläufigen Leistung einen anderen Auftrag zu.")
                      .arg(QString::fromUtf8(auftrag)));
        expectBalanced();
    }
}

// What the employee typed as the first line stays and is booked; without it the order's default
// text is, as it stands when the order stops.
TEST_P(EntryOperationsTest, StoppingKeepsTextTheEmployeeWroteAndThatIsBooked) {
    const struct {
        std::int32_t auftragId;
        const char* getippt;  // the first line before; "*" is the order's default text
        const char* neueVorgabe;
        const char* gebucht;  // "*" the order's default text
    } cases[] = {{5001, "", "", "*"},
                 {5003, "Belege Januar geprüft", "Neu", "Belege Januar geprüft"},
                 {5012, "*", "Neu", "Neu"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.auftragId);
        const auto auftrag = startNewOrder(c.auftragId);
        tick(600);
        const auto leistung = auftrag->AktuelleLeistung();
        const QString vorgabe = auftrag->LeistungsTextVorgabe();
        const auto text = [&](const char* t) { return t[0] == '*' ? vorgabe : QString(t); };
        if (c.getippt[0] != '\0') {
            leistung->StandardTextSetzen(text(c.getippt));
        }
        if (c.neueVorgabe[0] != '\0') {
            auftrag->LeistungsTextVorgabe(QString::fromUtf8(c.neueVorgabe));
        }
        switchTo(CAuftrag::LeerlaufKey());
        EXPECT_EQ(textLines(leistung->Id()), QStringList{text(c.gebucht)});
        ASSERT_TRUE(release(*leistung));
        session_->EinzelBuchen();
        EXPECT_TRUE(services().endsWith('|' + text(c.gebucht))) << services().toStdString();
    }
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
    const auto rowSeconds = [this] {
        return table(QStringLiteral("SELECT idLeistungZeiterfassung AS id, Sekunden FROM"
                                    " tLeistungZeiterfassung ORDER BY 1"),
                     {"id", "Sekunden"});
    };
    const QString rows = rowSeconds();
    for (const auto& [change, says] : refused) {
        SCOPED_TRACE(says.toStdString());
        const std::optional<OrvError> error = test::failureOf(change);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->number(), err::kInvalidCall);
        EXPECT_TRUE(error->description().startsWith(says)) << error->description().toStdString();
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

ORV_INSTANTIATE_FOR_BACKENDS(EntryOperationsTest);

}  // namespace
}  // namespace orv
