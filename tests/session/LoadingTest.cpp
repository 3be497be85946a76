#include "SessionTestSupport.h"
#include "TestQueries.h"

#include "session/diagnostics/OrvError.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using office::demo::kEmployeeWithoutRights;
using office::demo::kEmployeeWithRights;

// A first session leaves rows behind; the test reshapes them and starts the next session.
class LoadingTest : public test::SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            start();
        }
    }

    // The next session of the employee; the test fails when it does not start.
    std::unique_ptr<CStoppUhren> restart(std::int32_t employee = kEmployeeWithRights) {
        auto next = newSession();
        EXPECT_TRUE(next->Starten(employee));
        EXPECT_TRUE(platform_->errorReports().empty());
        return next;
    }

    std::shared_ptr<CAuftrag> stoppedOrder(std::int32_t auftragId, int seconds) {
        auto auftrag = newOrder(auftragId);
        auftrag->Starten(true);
        advance(seconds);
        auftrag->Increment();
        auftrag->Anhalten(false, false);
        return auftrag;
    }
};

TEST_P(LoadingTest, AFinishedOrderWithoutEntriesIsRemovedWhoeverItBelongsTo) {
    auto ownFinished = newOrder(5001);
    ownFinished->Status(AuftragStatus_Beendet);
    ownFinished->Speichern();
    auto withEntry = stoppedOrder(5002, 30);
    withEntry->Status(AuftragStatus_Beendet);
    withEntry->Speichern();

    // Another employee's finished order without entries goes as well.
    auto other = newSession();
    std::int32_t employee = kEmployeeWithoutRights;
    ASSERT_TRUE(other->Starten(employee));
    auto foreign = std::make_shared<CAuftrag>(*other);
    foreign->Init(*other, false, 0, false);
    foreign->Status(AuftragStatus_Beendet);
    foreign->Speichern();

    auto next = restart();
    EXPECT_FALSE(row(ownFinished->Id()).has_value());
    EXPECT_FALSE(row(foreign->Id()).has_value());
    EXPECT_TRUE(row(withEntry->Id()).has_value());
    EXPECT_EQ(next->Auftraege().Count(), 1);
    EXPECT_EQ(next->Auftrag(withEntry->Key())->Status(), AuftragStatus_Beendet);
}

TEST_P(LoadingTest, TheIdleRowsLoseAnyOrderAndARunningEntryUnderAnInactiveOrderRunsAgain) {
    auto auftrag = stoppedOrder(5003, 45);
    const auto entry = auftrag->Leistung(QStringLiteral("1"));
    execute(QStringLiteral("UPDATE tLeistungZeiterfassung SET Status = 1 WHERE "
                           "idLeistungZeiterfassung = %1")
                .arg(entry->Id()));
    execute(
        QStringLiteral("UPDATE tLeistungZeiterfassung SET idAuftrag = 5001 WHERE "
                       "VorgangKey = 'p0' OR VorgangParentKey = 'p0'"));

    auto next = restart();
    const auto reloaded = next->Auftrag(auftrag->Key());
    EXPECT_EQ(reloaded->Status(), AuftragStatus_InAktiv);
    ASSERT_NE(reloaded->AktuelleLeistung(), nullptr);
    EXPECT_EQ(reloaded->AktuelleLeistung()->Id(), entry->Id());
    EXPECT_EQ(next->AktuellerAuftrag(), nullptr) << "the order itself does not run";
    EXPECT_FALSE(next->AuftragLaeuft());
    EXPECT_EQ(next->LeerlaufAuftrag().AuftragId(), 0);
    for (const test::ZeRow& r : rowsOf()) {
        if (r.vorgangKey == QStringLiteral("p0") || r.parentKey == QStringLiteral("p0")) {
            EXPECT_EQ(r.idAuftrag, 0);
        }
    }

    // Starting the order again continues on that entry instead of opening a new one.
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
    const QString versions =
        QStringLiteral(
            "SELECT xmin::text AS v FROM tLeistungZeiterfassung WHERE ps_id = %1"
            " ORDER BY idLeistungZeiterfassung")
            .arg(kEmployeeWithRights);
    const QString before = test::tableText(database(), versions, {"v"});
    ASSERT_FALSE(before.isEmpty());

    auto other = newSession();
    std::int32_t employee = kEmployeeWithoutRights;
    ASSERT_TRUE(other->Starten(employee));
    EXPECT_EQ(test::tableText(database(), versions, {"v"}), before);
}

TEST_P(LoadingTest, AnEntryWhoseOrderIsMissingEndsLoadingWithAReport) {
    auto auftrag = stoppedOrder(5001, 20);
    execute(QStringLiteral("UPDATE tLeistungZeiterfassung SET VorgangParentId = 999999,"
                           " VorgangParentKey = 'a999999' WHERE VorgangParentId = %1")
                .arg(auftrag->Id()));
    auto next = newSession();
    std::int32_t employee = kEmployeeWithRights;
    EXPECT_FALSE(next->Starten(employee));
    ASSERT_EQ(platform_->errorReports().size(), 1u);
    EXPECT_TRUE(platform_->errorReports()[0].source.endsWith(
        QStringLiteral("ORVkStoppUhren.CStoppUhren.AuftraegeLeistungenLaden\r\n"
                       "ORVkStoppUhren.CStoppUhren.Starten")));
    EXPECT_EQ(platform_->errorReports()[0].number, err::kInvalidCall);
    // The orders read until then stay; no clock runs.
    EXPECT_EQ(next->Auftraege().Count(), 1);
    EXPECT_EQ(next->LoginId(), 0);
}

TEST_P(LoadingTest, PropertyAssessmentOrdersGetTheirObjectDescriptions) {
    struct Expected {
        std::int32_t auftragId;
        QString bezeichnung;
        bool vuv, bewertung, schenkung, erbschaft, grundsteuer;
    };
    const Expected expected[] = {
        {5006, QStringLiteral("Objekt Nr.: 3 Mehrfamilienhaus Gartenstraße 12"), true, false, false,
         false, false},
        {5007, QStringLiteral("Objekt Nr.: 1 Einfamilienhaus Lindenweg 4"), false, true, false,
         false, false},
        {5008, QStringLiteral("Objekt Nr.: 2 Eigentumswohnung Am Markt 7"), false, false, true,
         false, false},
        {5009, QStringLiteral("Objekt Nr.: 1 Wohnhaus Bergstraße 21"), false, false, false, true,
         false},
        {5010, QStringLiteral("Objekt Nr.: 4 Gewerbegrundstück Industriestraße 8"), false, false,
         false, false, true},
        {5001, QString(), false, false, false, false, false},
    };
    std::vector<QString> keys;
    for (const Expected& e : expected) {
        keys.push_back(stoppedOrder(e.auftragId, 10)->Key());
    }
    auto next = restart();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        SCOPED_TRACE(expected[i].auftragId);
        const auto auftrag = next->Auftrag(keys[i]);
        EXPECT_EQ(auftrag->ObjektBezeichnung(), expected[i].bezeichnung);
        EXPECT_EQ(auftrag->VuVAuftrag(), expected[i].vuv);
        EXPECT_EQ(auftrag->IsBewertung(), expected[i].bewertung);
        EXPECT_EQ(auftrag->IsSchenkung(), expected[i].schenkung);
        EXPECT_EQ(auftrag->IsErbschaft(), expected[i].erbschaft);
        EXPECT_EQ(auftrag->IsGrundsteuer(), expected[i].grundsteuer);
    }
    EXPECT_EQ(next->Auftrag(keys[0])->Angelegenheit(),
              QStringLiteral("Einkünfte aus Vermietung und Verpachtung (Objekt Nr.: 3 "
                             "Mehrfamilienhaus Gartenstraße 12)"));
}

// Several orders of one matter code: each keeps its own object, the code is put to the
// assessment component once per start, and more orders cost no more statements.
TEST_P(LoadingTest, OrdersOfOneMatterCodeEachGetTheirOwnObject) {
    // A second rental object of the client of order 5006, and a valuation without designation.
    const QString copyOrder = QStringLiteral(
        "INSERT INTO tAuftrag (idAuftrag, flMandant, flAuftragArt, dlAuftragArtNr,"
        " flAngelegenheit, dlAngelegenheitNr, dlJahr, diMonat, diLfdNr, dlObjektNr,"
        " dcAngelegenheitErweitert, dlAbrechnungsArt, flRechnung)"
        " SELECT %1, flMandant, flAuftragArt, dlAuftragArtNr, flAngelegenheit,"
        " dlAngelegenheitNr, dlJahr, diMonat, 2, %2, dcAngelegenheitErweitert,"
        " dlAbrechnungsArt, 0 FROM tAuftrag WHERE idAuftrag = %3");
    execute(copyOrder.arg(5106).arg(4).arg(office::demo::kRentalIncomeOrder));
    execute(copyOrder.arg(5107).arg(2).arg(5007));
    execute(
        QStringLiteral("INSERT INTO tGgwBasis (idGgwBasis, flManId, dsKenner, dlJahr, diMonat,"
                       " diLfdNr) VALUES (101, 103, '21', 2025, 12, 4)"));
    execute(QStringLiteral(
        "INSERT INTO tGgwBetrag (idGgwBetrag, flGgwBasis, dmBetrag) VALUES (101, 101, 0)"));
    execute(
        QStringLiteral("INSERT INTO tGGWObjName (idGgwObjName, flGgwBetrag, dcBezeichnung)"
                       " VALUES (101, 101, 'Garagenhof Gartenstraße 14')"));
    std::vector<QString> keys;
    for (std::int32_t id : {office::demo::kRentalIncomeOrder, 5106, 5007, 5107, 5001}) {
        keys.push_back(stoppedOrder(id, 10)->Key());
    }
    const auto statementsOfStart = [&](std::unique_ptr<CStoppUhren>& next) {
        const int before = database().faults().statementsSeen();
        next = restart();
        return database().faults().statementsSeen() - before;
    };
    platform_->trace().clear();
    std::unique_ptr<CStoppUhren> next;
    const int statements = statementsOfStart(next);
    const auto auftrag = [&](std::size_t i) { return next->Auftrag(keys[i]); };
    EXPECT_EQ(auftrag(0)->ObjektBezeichnung(),
              QStringLiteral("Objekt Nr.: 3 Mehrfamilienhaus Gartenstraße 12"));
    EXPECT_EQ(auftrag(1)->ObjektBezeichnung(),
              QStringLiteral("Objekt Nr.: 4 Garagenhof Gartenstraße 14"));
    EXPECT_TRUE(auftrag(1)->VuVAuftrag());
    EXPECT_EQ(auftrag(2)->ObjektBezeichnung(),
              QStringLiteral("Objekt Nr.: 1 Einfamilienhaus Lindenweg 4"));
    EXPECT_EQ(auftrag(3)->ObjektBezeichnung(), QStringLiteral("Objekt Nr.: 2"));
    EXPECT_TRUE(auftrag(3)->IsBewertung());
    EXPECT_FALSE(auftrag(3)->VuVAuftrag());
    EXPECT_EQ(auftrag(4)->ObjektBezeichnung(), QString());
    EXPECT_FALSE(auftrag(4)->VuVAuftrag() || auftrag(4)->IsBewertung());
    // Codes 21, 31 and the 0 of an ordinary matter.
    EXPECT_EQ(platform_->trace()
                  .messages(QStringLiteral("ORVkStoppUhren.CStoppUhren"))
                  .count(QStringLiteral("Begin fbIsVuV")),
              3);

    // Three more assessment orders of the same codes are read with the others.
    for (std::int32_t id : {5106, 5107, 5107}) {
        keys.push_back(stoppedOrder(id, 10)->Key());
    }
    EXPECT_EQ(statementsOfStart(next), statements);
    EXPECT_EQ(next->Auftrag(keys[5])->ObjektBezeichnung(),
              QStringLiteral("Objekt Nr.: 4 Garagenhof Gartenstraße 14"));
    EXPECT_EQ(next->Auftrag(keys[7])->ObjektBezeichnung(), QStringLiteral("Objekt Nr.: 2"));
}

// The office's classification is read anew at every start.
TEST_P(LoadingTest, AChangedClassificationShowsAtTheNextStart) {
    const QString key = stoppedOrder(office::demo::kRentalIncomeOrder, 10)->Key();
    EXPECT_TRUE(restart()->Auftrag(key)->VuVAuftrag());
    execute(QStringLiteral("UPDATE tGgwKennerArt SET diGgwArt = 2 WHERE dlGgwKenner = 21"));
    const auto reloaded = restart()->Auftrag(key);
    EXPECT_FALSE(reloaded->VuVAuftrag());
    EXPECT_TRUE(reloaded->IsBewertung());
    // The rental object's designation is no valuation basis.
    EXPECT_EQ(reloaded->ObjektBezeichnung(), QStringLiteral("Objekt Nr.: 3"));
    execute(QStringLiteral("DELETE FROM tGgwKennerArt WHERE dlGgwKenner = 21"));
    const auto unclassified = restart()->Auftrag(key);
    EXPECT_FALSE(unclassified->IsBewertung());
    EXPECT_EQ(unclassified->ObjektBezeichnung(), QString());
}

// Loading cannot classify without the assessment component: the start fails and says why.
TEST_P(LoadingTest, AStartWithoutTheAssessmentComponentReportsItsCreation) {
    stoppedOrder(5001, 10);
    platform_->failCreation(test::Creation::CQeGgwBasis);
    auto next = newSession();
    std::int32_t employee = kEmployeeWithRights;
    EXPECT_FALSE(next->Starten(employee));
    ASSERT_EQ(platform_->errorReports().size(), 1u);
    const auto& report = platform_->errorReports()[0];
    EXPECT_EQ(report.number, err::kCannotCreateObject);
    EXPECT_TRUE(report.source.endsWith(
        QStringLiteral("ORVkStoppUhren.CStoppUhren.fbIsVuV\r\n"
                       "ORVkStoppUhren.CStoppUhren.fsBezeichnungObjektNr\r\n"
                       "ORVkStoppUhren.CStoppUhren.AuftraegeLeistungenLaden\r\n"
                       "ORVkStoppUhren.CStoppUhren.Starten")))
        << report.source.toStdString();
    EXPECT_TRUE(report.description.contains(
        QStringLiteral("Befehl: Set oQeGgwBasis = New ORVkQeGgw.CQeGgwBasis")));
    EXPECT_TRUE(report.description.contains(QStringLiteral("Bibliothek: ORVkQeGgw.dll")));
    EXPECT_EQ(next->LoginId(), 0);
}

TEST_P(LoadingTest, ObjectDescriptionsWithoutAKindOrWithoutADesignation) {
    auto auftrag = newOrder(office::demo::kRentalIncomeOrder);
    const auto statementsFor = [&](std::int32_t kenner) {
        const int before = database().faults().statementsSeen();
        session_->fsBezeichnungObjektNr(*auftrag, kenner);
        return database().faults().statementsSeen() - before;
    };
    // Without a kind the five questions are asked and no description is looked up: one
    // statement less than for a kind that has one.
    const int ohneArt = statementsFor(0);
    EXPECT_EQ(ohneArt, 5) << "one read per question; a creation that works describes nothing";
    EXPECT_EQ(auftrag->ObjektBezeichnung(), QString());
    EXPECT_EQ(statementsFor(21), ohneArt + 1);
    EXPECT_EQ(statementsFor(31), ohneArt + 1);

    // Rental income without a designation for that year: the object number alone.
    std::int32_t vuv = 21;
    auftrag->Jahr(2019);
    EXPECT_EQ(session_->fsBezeichnungObjektNr(*auftrag, vuv), QStringLiteral("Objekt Nr.: 3"));

    // The assessment component cannot be created: the report names what was tried.
    platform_->failCreation(test::Creation::CQeGgwBasis);
    try {
        session_->fbIsVuV(QStringLiteral("21"));
        ADD_FAILURE() << "the failed creation must reach the caller";
    } catch (const OrvError& error) {
        EXPECT_EQ(error.number(), err::kCannotCreateObject);
        EXPECT_TRUE(error.description().contains(QStringLiteral("ORVkQeGgw")));
        EXPECT_TRUE(error.source().contains(QStringLiteral("CStoppUhren.fbIsVuV")));
    }
}

TEST_P(LoadingTest, TidyingFinishedOrdersAndTheirEntries) {
    auto finished = stoppedOrder(5001, 10);
    finished->Status(AuftragStatus_Beendet);
    auto running = newOrder(5002);
    running->Starten(true);
    advance(5);
    running->Increment();
    running->Speichern();
    running->Status(AuftragStatus_Beendet);
    auto empty = newOrder(5003);
    empty->Status(AuftragStatus_Beendet);

    session_->LeistungenStatusKorrigieren();
    const auto remnant = running->Leistung(QStringLiteral("1"));
    EXPECT_EQ(remnant->Status(), AuftragStatus_Geloescht);
    EXPECT_EQ(row(remnant->Id())->status, AuftragStatus_Geloescht);
    EXPECT_EQ(finished->Leistung(QStringLiteral("1"))->Status(), AuftragStatus_Beendet);

    session_->BeendeteAuftraegeLoeschen();
    EXPECT_FALSE(session_->Auftraege().contains(empty->Key()));
    EXPECT_FALSE(row(empty->Id()).has_value());
    EXPECT_EQ(empty->Status(), AuftragStatus_Geloescht);
    EXPECT_TRUE(session_->Auftraege().contains(finished->Key()));
    EXPECT_TRUE(session_->Auftraege().contains(running->Key()));
}

ORV_INSTANTIATE_FOR_BACKENDS(LoadingTest);

}  // namespace
}  // namespace orv
