#include "SessionTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using office::demo::kEmployeeWithoutRights;
using office::demo::kRentalIncomeOrder;

// A first session leaves rows behind; the test reshapes them and starts the next session.
class LoadingTest : public test::SessionTest {};

TEST_P(LoadingTest, AFinishedOrderWithoutEntriesIsRemovedWhoeverItBelongsTo) {
    auto ownFinished = newOrder(5001);
    ownFinished->Status(AuftragStatus_Beendet);
    ownFinished->Speichern();
    auto withEntry = workedOn(5002, 30);
    withEntry->Status(AuftragStatus_Beendet);
    withEntry->Speichern();
    auto other = startedSession(kEmployeeWithoutRights);
    auto foreign = std::make_shared<CAuftrag>(*other);
    foreign->Init(*other, false, 0, false);
    foreign->Status(AuftragStatus_Beendet);
    foreign->Speichern();

    auto next = startedSession();
    EXPECT_FALSE(row(ownFinished->Id()).has_value());
    EXPECT_FALSE(row(foreign->Id()).has_value());
    EXPECT_EQ(next->Auftraege().Count(), 1);
}

// Whether an order is invoiced comes from the office with its rows: by the order's reference
// to its invoice, or by an invoice row alone.
TEST_P(LoadingTest, TheNextStartKnowsWhichOrdersAreInvoiced) {
    const std::int32_t byReference = office::demo::kInvoicedOrder;
    const std::int32_t byRowOnly = 5001;
    const std::int32_t notInvoiced = 5002;
    for (std::int32_t id : {byReference, byRowOnly, notInvoiced}) {
        workedOn(id, 30);
    }
    execute(QStringLiteral("INSERT INTO tRechnung (idRechnung, flAuftrag, dlRechnungNr,"
                           " dtRechnungsDatum) VALUES (7002, %1, 2026002, '2026-02-01 00:00:00')")
                .arg(byRowOnly));
    restart();
    for (const auto& [id, invoiced] : {std::pair{byReference, true}, std::pair{byRowOnly, true},
                                       std::pair{notInvoiced, false}}) {
        const auto auftrag = session_->AuftragZuAuftragId(id);
        ASSERT_NE(auftrag, nullptr) << id;
        EXPECT_EQ(auftrag->Fakturiert(), invoiced) << id;
        EXPECT_EQ(auftrag->Leistungen().Count(), 1) << id;
    }
}

TEST_P(LoadingTest, TheIdleRowsLoseAnyOrderAndARunningEntryUnderAnInactiveOrderRunsAgain) {
    auto auftrag = workedOn(5003, 45);
    const auto entry = first(*auftrag);
    execute(QStringLiteral("UPDATE tLeistungZeiterfassung SET Status = 1 WHERE "
                           "idLeistungZeiterfassung = %1")
                .arg(entry->Id()));
    execute(
        QStringLiteral("UPDATE tLeistungZeiterfassung SET idAuftrag = 5001 WHERE "
                       "VorgangKey = 'p0' OR VorgangParentKey = 'p0'"));

    auto next = startedSession();
    const auto reloaded = next->Auftrag(auftrag->Key());
    EXPECT_EQ(reloaded->Status(), AuftragStatus_InAktiv);
    EXPECT_FALSE(next->AuftragLaeuft()) << "the order itself does not run";
    EXPECT_EQ(count(QStringLiteral("tLeistungZeiterfassung WHERE (VorgangKey = 'p0' OR "
                                   "VorgangParentKey = 'p0') AND idAuftrag <> 0")),
              0);
    // Starting the order again continues on the entry, its current one, instead of opening a
    // new one.
    QString key = reloaded->Key();
    bool neu = false;
    next->AuftragStarten(key, neu);
    EXPECT_EQ(reloaded->Leistungen().Count(), 1);
}

// Every start of an office clears idle rows that name an order; those that do not stay as they
// are, or every start would wait for the saves of all running sessions and deadlock with them.
TEST_P(LoadingTest, AnotherEmployeesStartLeavesIdleRowsWithoutAnOrderUntouched) {
    if (backend() != db::Backend::Postgres) {
        GTEST_SKIP() << "Zeilenversionen zeigt nur PostgreSQL.";
    }
    const QString versions = QStringLiteral(
        "SELECT xmin::text AS v FROM tLeistungZeiterfassung WHERE ps_id = 7 ORDER BY 1");
    const QString before = table(versions, {"v"});
    ASSERT_FALSE(before.isEmpty());
    startedSession(kEmployeeWithoutRights);
    EXPECT_EQ(table(versions, {"v"}), before);
}

TEST_P(LoadingTest, AnEntryWhoseOrderIsMissingEndsLoadingWithAReport) {
    auto auftrag = workedOn(5001, 20);
    execute(QStringLiteral("UPDATE tLeistungZeiterfassung SET VorgangParentId = 999999,"
                           " VorgangParentKey = 'a999999' WHERE VorgangParentId = %1")
                .arg(auftrag->Id()));
    session_ = newSession();
    EXPECT_FALSE(starten());
    EXPECT_EQ(session_->LoginId(), 0) << "no clock runs";
    ASSERT_EQ(platform_->errorReports().size(), 1u);
    EXPECT_EQ(platform_->errorReports()[0].number, err::kInvalidCall);
    EXPECT_TRUE(platform_->errorReports()[0].source.endsWith(
        QStringLiteral("ORVkStoppUhren.CStoppUhren.AuftraegeLeistungenLaden\r\n"
                       "ORVkStoppUhren.CStoppUhren.Starten")));
}

// Loading cannot classify without the assessment component: the start fails and says why.
// Each property-assessment order keeps its own object, also several orders of one matter code,
// and the office's classification is read anew at every start.
TEST_P(LoadingTest, PropertyAssessmentOrdersGetTheirObjectDescriptions) {
    // A second rental object of the client of order 5006, and a valuation without designation.
    const QString copyOrder = QStringLiteral(
        "INSERT INTO tAuftrag (idAuftrag, flMandant, flAuftragArt, dlAuftragArtNr,"
        " flAngelegenheit, dlAngelegenheitNr, dlJahr, diMonat, diLfdNr, dlObjektNr,"
        " dcAngelegenheitErweitert, dlAbrechnungsArt, flRechnung)"
        " SELECT %1, flMandant, flAuftragArt, dlAuftragArtNr, flAngelegenheit,"
        " dlAngelegenheitNr, dlJahr, diMonat, 2, %2, dcAngelegenheitErweitert,"
        " dlAbrechnungsArt, 0 FROM tAuftrag WHERE idAuftrag = %3");
    execute(copyOrder.arg(5106).arg(4).arg(kRentalIncomeOrder));
    execute(copyOrder.arg(5107).arg(2).arg(5007));
    execute(
        QStringLiteral("INSERT INTO tGgwBasis (idGgwBasis, flManId, dsKenner, dlJahr, diMonat,"
                       " diLfdNr) VALUES (101, 103, '21', 2025, 12, 4)"));
    execute(QStringLiteral(
        "INSERT INTO tGgwBetrag (idGgwBetrag, flGgwBasis, dmBetrag) VALUES (101, 101, 0)"));
    execute(
        QStringLiteral("INSERT INTO tGGWObjName (idGgwObjName, flGgwBetrag, dcBezeichnung)"
                       " VALUES (101, 101, 'Garagenhof Gartenstraße 14')"));
    // order, designation, kinds (VuV, Bewertung, Schenkung, Erbschaft, Grundsteuer)
    const std::tuple<std::int32_t, const char*, const char*> expected[] = {
        {5006, "Objekt Nr.: 3 Mehrfamilienhaus Gartenstraße 12", "10000"},
        {5106, "Objekt Nr.: 4 Garagenhof Gartenstraße 14", "10000"},
        {5007, "Objekt Nr.: 1 Einfamilienhaus Lindenweg 4", "01000"},
        {5107, "Objekt Nr.: 2", "01000"},
        {5008, "Objekt Nr.: 2 Eigentumswohnung Am Markt 7", "00100"},
        {5009, "Objekt Nr.: 1 Wohnhaus Bergstraße 21", "00010"},
        {5010, "Objekt Nr.: 4 Gewerbegrundstück Industriestraße 8", "00001"},
        {5001, "", "00000"},
    };
    std::vector<QString> keys;
    for (const auto& [id, bezeichnung, kinds] : expected) {
        keys.push_back(workedOn(id, 10)->Key());
    }
    auto next = startedSession();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const auto& [id, bezeichnung, kinds] = expected[i];
        const auto a = next->Auftrag(keys[i]);
        EXPECT_EQ(a->ObjektBezeichnung(), QString::fromUtf8(bezeichnung)) << id;
        QString actual;
        for (const bool kind : {a->VuVAuftrag(), a->IsBewertung(), a->IsSchenkung(),
                                a->IsErbschaft(), a->IsGrundsteuer()}) {
            actual += kind ? QLatin1Char('1') : QLatin1Char('0');
        }
        EXPECT_EQ(actual, QLatin1String(kinds)) << id;
    }
    EXPECT_EQ(next->Auftrag(keys[0])->Angelegenheit(),
              QStringLiteral("Einkünfte aus Vermietung und Verpachtung (Objekt Nr.: 3 "
                             "Mehrfamilienhaus Gartenstraße 12)"));
    // Rental income without a designation for that year: the object number alone.
    auto auftrag = newOrder(kRentalIncomeOrder);
    auftrag->Jahr(2019);
    std::int32_t vuv = 21;
    EXPECT_EQ(session_->fsBezeichnungObjektNr(*auftrag, vuv), QStringLiteral("Objekt Nr.: 3"));

    execute(QStringLiteral("UPDATE tGgwKennerArt SET diGgwArt = 2 WHERE dlGgwKenner = 21"));
    next = startedSession();
    EXPECT_TRUE(next->Auftrag(keys[0])->IsBewertung());
    // The rental object's designation is no valuation basis.
    EXPECT_EQ(next->Auftrag(keys[0])->ObjektBezeichnung(), QStringLiteral("Objekt Nr.: 3"));
    execute(QStringLiteral("DELETE FROM tGgwKennerArt WHERE dlGgwKenner = 21"));
    next = startedSession();
    EXPECT_FALSE(next->Auftrag(keys[0])->IsBewertung());
    EXPECT_EQ(next->Auftrag(keys[0])->ObjektBezeichnung(), QString());
}

// An entry still marked running under a finished order is a remnant and becomes deleted.
TEST_P(LoadingTest, ARunningEntryUnderAFinishedOrderIsARemnant) {
    auto finished = workedOn(5001, 10);
    finished->Status(AuftragStatus_Beendet);
    auto running = newOrder(5002);
    running->Starten(true);
    advance(5);
    running->Increment();
    running->Speichern();
    running->Status(AuftragStatus_Beendet);
    session_->LeistungenStatusKorrigieren();
    const auto remnant = first(*running);
    EXPECT_EQ(remnant->Status(), AuftragStatus_Geloescht);
    EXPECT_EQ(row(remnant->Id())->status, AuftragStatus_Geloescht);
    EXPECT_EQ(first(*finished)->Status(), AuftragStatus_Beendet);
}

ORV_INSTANTIATE_FOR_BACKENDS(LoadingTest);

}  // namespace
}  // namespace orv
