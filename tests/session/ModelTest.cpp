#include "SessionTestSupport.h"

#include "session/diagnostics/OrvError.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::ZeRow;

class ModelTest : public test::SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            start();
        }
    }

    // Runs the order for the given seconds, one tick per second.
    static void tick(CAuftrag& auftrag, test::SettableClock& clock, int seconds) {
        for (int i = 0; i < seconds; ++i) {
            clock.advance(1);
            auftrag.Increment();
        }
    }
    void run(CAuftrag& auftrag, int seconds) { tick(auftrag, clock(), seconds); }

    // The entries' seconds of an order, summed.
    static std::int32_t entrySeconds(const CAuftrag& auftrag) {
        std::int32_t sum = 0;
        for (const auto& leistung : auftrag.Leistungen()) {
            sum += leistung->Sekunden();
        }
        return sum;
    }

    std::vector<ZeRow> entryRowsOf(const CAuftrag& auftrag) {
        std::vector<ZeRow> entries;
        for (const ZeRow& r : rowsOf()) {
            if (r.parentId == auftrag.Id()) {
                entries.push_back(r);
            }
        }
        return entries;
    }

    CAuftrag& idle() { return session_->LeerlaufAuftrag(); }

    // The trace lines an object type wrote, in order.
    QStringList traceOf(const char* type) {
        const QString source = QStringLiteral("ORVkStoppUhren.") + QLatin1String(type);
        QStringList lines;
        for (const test::TraceLine& line : platform_->trace().lines()) {
            if (line.source == source) {
                lines << line.message;
            }
        }
        return lines;
    }
};

TEST_P(ModelTest, TextsOfAnOrderForTheGrids) {
    auto auftrag = newOrder();
    EXPECT_EQ(auftrag->MandantLabel(), QStringLiteral("kein Auftrag zugeordnet"));
    EXPECT_EQ(idle().MandantLabel(), QStringLiteral("Leerlauf"));
    EXPECT_EQ(auftrag->ZeitText(), QStringLiteral("00:00:00"));
    EXPECT_EQ(auftrag->ZeitTextIndustrie(), QStringLiteral("0,01"));
    EXPECT_EQ(auftrag->BeginnText(), QString());
    EXPECT_EQ(auftrag->EndeText(), QString());

    auftrag->AuftragAendern(5001);
    EXPECT_EQ(auftrag->MandantLabel(), auftrag->Mandant() + QStringLiteral(" (10001)"));
    EXPECT_EQ(auftrag->PeriodeText(), QStringLiteral("01/2026"));
    auftrag->Sekunden(5400);
    EXPECT_EQ(auftrag->ZeitText(), QStringLiteral("01:30:00"));
    EXPECT_EQ(auftrag->ZeitTextIndustrie(), QStringLiteral("1,50"));
    auftrag->Sekunden(360000 * 30);
    EXPECT_EQ(auftrag->ZeitText(), QStringLiteral("3000:00:00"));
    EXPECT_EQ(auftrag->ZeitTextIndustrie(), QStringLiteral("3.000,00"));
    auftrag->Beginn(QDateTime(QDate(2026, 3, 16), QTime(7, 5, 9)));
    EXPECT_EQ(auftrag->BeginnText(), QStringLiteral("07:05:09"));
    EXPECT_EQ(CAuftrag::GetNumberText(0), QString());
    EXPECT_EQ(CAuftrag::GetNumberText(12), QStringLiteral("12"));

    const QString matter = auftrag->Angelegenheit();
    auftrag->ObjektBezeichnung(QStringLiteral("Objekt Nr.: 3"));
    EXPECT_EQ(auftrag->Angelegenheit(), matter + QStringLiteral(" (Objekt Nr.: 3)"));

    // The default text keeps 64 characters and becomes the current entry's first line.
    auftrag->Starten(true);
    auftrag->LeistungsTextVorgabe(QString(70, QChar(u'ä')));
    EXPECT_EQ(auftrag->LeistungsTextVorgabe(), QString(64, QChar(u'ä')));
    EXPECT_EQ(auftrag->AktuelleLeistung()->ErsteZeileText().left(64), QString(64, QChar(u'ä')));
}

TEST_P(ModelTest, TicksCountClockSecondsAndTheSixtiethStepSaves) {
    auto auftrag = newOrder(5001);
    auftrag->Starten(true);
    const std::int32_t entryId = auftrag->AktuelleLeistung()->Id();
    run(*auftrag, 59);
    EXPECT_EQ(auftrag->Sekunden(), 59);
    EXPECT_EQ(row(auftrag->Id())->sekunden, 0) << "no save before the 60th step";
    EXPECT_EQ(row(entryId)->sekunden, 0);

    // A late tick counts every second it missed, for the order and its entry alike.
    advance(5);
    auftrag->Increment();
    EXPECT_EQ(auftrag->Sekunden(), 64);
    EXPECT_EQ(auftrag->AktuelleLeistung()->Sekunden(), 64);
    EXPECT_EQ(row(auftrag->Id())->sekunden, 64);
    EXPECT_EQ(row(entryId)->sekunden, 64);
    EXPECT_EQ(auftrag->tickCounter(), 0);

    run(*auftrag, 59);
    EXPECT_EQ(row(auftrag->Id())->sekunden, 64);
    platform_->trace().clear();
    run(*auftrag, 1);
    EXPECT_EQ(row(auftrag->Id())->sekunden, 124);
    EXPECT_EQ(traceOf("CAuftrag"),
              (QStringList{QStringLiteral("Begin Increment"), QStringLiteral("Increment"),
                           QStringLiteral("Begin Speichern"),
                           QStringLiteral("moLeistung.Speichern False"),
                           QStringLiteral("End Speichern"), QStringLiteral("End Increment")}));
    EXPECT_TRUE(traceOf("cLeistung")
                    .contains(QStringLiteral(
                        "Speichern: moAuftrag.StoppUhren.DbAccess.UpdateLeistung Me")));
    EXPECT_TRUE(traceOf("CDBAccess").contains(QStringLiteral("Begin UpdateAuftrag")));
}

TEST_P(ModelTest, StopAndStartGivesAProductiveOrderANewEntryAndTheIdleOrderKeepsItsOne) {
    EXPECT_EQ(idle().Leistungen().Count(), 1);
    auto auftrag = newOrder(5001);
    auftrag->Starten(true);
    EXPECT_TRUE(session_->AuftragLaeuft());
    const auto first = auftrag->AktuelleLeistung();
    run(*auftrag, 30);
    auftrag->Anhalten(false, false);
    EXPECT_FALSE(session_->AuftragLaeuft());
    // The order may run again; the stretch of its entry is over.
    EXPECT_EQ(auftrag->Status(), AuftragStatus_InAktiv);
    EXPECT_EQ(first->Status(), AuftragStatus_Beendet);
    EXPECT_EQ(first->Ende(), now());

    auftrag->Starten(false);
    ASSERT_EQ(auftrag->Leistungen().Count(), 2);
    EXPECT_NE(auftrag->AktuelleLeistung(), first);
    run(*auftrag, 15);
    auftrag->Anhalten(false, true);
    EXPECT_EQ(auftrag->Status(), AuftragStatus_Beendet);
    EXPECT_EQ(auftrag->Ende(), now());

    idle().Anhalten(false, false);
    idle().Starten(false);
    EXPECT_EQ(idle().Leistungen().Count(), 1);
    EXPECT_EQ(idle().AktuelleLeistung()->Status(), AuftragStatus_Aktiv);

    // What the rows say equals the objects: the order's seconds are its entries' seconds.
    const ZeRow order = *row(auftrag->Id());
    EXPECT_EQ(order.vorgangKey, auftrag->Key());
    EXPECT_EQ(order.status, AuftragStatus_Beendet);
    EXPECT_EQ(order.sekunden, 45);
    EXPECT_EQ(order.idAuftrag, 5001);
    EXPECT_EQ(order.text1, auftrag->LeistungsTextVorgabe());
    const std::vector<ZeRow> entries = entryRowsOf(*auftrag);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].sekunden, 30);
    EXPECT_EQ(entries[0].status, AuftragStatus_Beendet);
    EXPECT_EQ(entries[1].sekunden, 15);
    EXPECT_EQ(entries[1].status, AuftragStatus_Beendet);
    for (const ZeRow& entry : entries) {
        EXPECT_EQ(entry.parentKey, auftrag->Key());
        EXPECT_EQ(entry.idAuftrag, 5001);
        // A stopped entry takes the order's default text as its first line.
        EXPECT_EQ(textLines(entry.id), QStringList{auftrag->LeistungsTextVorgabe()});
    }
    EXPECT_EQ(entrySeconds(*auftrag), auftrag->Sekunden());
}

// A stop writes the order, its entry and the entry's lines once each, with their final values.
TEST_P(ModelTest, AStopWritesEachRowAndTextLineOnce) {
    auto auftrag = newOrder(5001);
    auftrag->Starten(true);
    const auto first = auftrag->AktuelleLeistung();
    run(*auftrag, 30);
    int seen = database().faults().statementsSeen();
    auftrag->Anhalten(false, false);
    EXPECT_EQ(database().faults().statementsSeen() - seen, 5)
        << "in one transaction: the order's row, the entry's row and the new default line";
    ZeRow entry = *row(first->Id());
    EXPECT_EQ(entry.status, AuftragStatus_Beendet);
    EXPECT_EQ(entry.ende, now());
    EXPECT_EQ(entry.sekunden, 30);
    EXPECT_EQ(textLines(first->Id()), QStringList{auftrag->LeistungsTextVorgabe()});
    EXPECT_EQ(row(auftrag->Id())->status, AuftragStatus_InAktiv);

    // A running entry whose line the employee wrote: the stop writes the line once and keeps
    // its text, whatever the order's default text became.
    auftrag->Starten(false);
    const auto second = auftrag->AktuelleLeistung();
    EXPECT_EQ(row(auftrag->Id())->status, AuftragStatus_Aktiv);
    EXPECT_EQ(row(second->Id())->status, AuftragStatus_Aktiv);
    EXPECT_EQ(row(first->Id())->status, AuftragStatus_Beendet);
    run(*auftrag, 10);
    second->TextHinzufuegen(0, QStringLiteral("Entwurf"));
    second->Speichern(false);
    ASSERT_EQ(textLines(second->Id()), QStringList{QStringLiteral("Entwurf")});
    auftrag->LeistungsTextVorgabe(QStringLiteral("Jahresabschluss 2025"));
    advance(5);
    seen = database().faults().statementsSeen();
    auftrag->Anhalten(false, true);
    EXPECT_EQ(database().faults().statementsSeen() - seen, 5)
        << "in one transaction: the order's row, the entry's row and the changed line";
    entry = *row(second->Id());
    EXPECT_EQ(entry.status, AuftragStatus_Beendet);
    EXPECT_EQ(entry.ende, now());
    EXPECT_EQ(entry.sekunden, 10);
    EXPECT_EQ(textLines(second->Id()), QStringList{QStringLiteral("Entwurf")});
    const ZeRow order = *row(auftrag->Id());
    EXPECT_EQ(order.status, AuftragStatus_Beendet);
    EXPECT_EQ(order.sekunden, 40);
    EXPECT_EQ(order.text1, QStringLiteral("Jahresabschluss 2025"));
}

TEST_P(ModelTest, AssigningAnotherOfficeOrderRepointsTheRowsAndKeepsTheTime) {
    auto auftrag = newOrder(5001);
    EXPECT_EQ(auftrag->MandantNr(), 10001);
    EXPECT_FALSE(auftrag->LeistungsTextVorgabe().isEmpty());
    const QString vorgabe = auftrag->LeistungsTextVorgabe();
    auftrag->Starten(true);
    run(*auftrag, 10);
    auftrag->Anhalten(false, false);
    const QDateTime beginn = auftrag->Beginn();

    auftrag->AuftragAendern(0);
    EXPECT_EQ(auftrag->AuftragId(), 0);
    EXPECT_EQ(auftrag->MandantId(), 0);
    EXPECT_EQ(auftrag->MandantNr(), 0);
    EXPECT_EQ(auftrag->Mandant(), QString());
    EXPECT_EQ(auftrag->Angelegenheit(), QString());
    EXPECT_EQ(auftrag->AngelegenheitErweitert(), QString());
    EXPECT_EQ(auftrag->AuftragArt(), QStringLiteral("0"));
    EXPECT_EQ(auftrag->Jahr(), 0);
    EXPECT_FALSE(auftrag->Fakturiert());
    EXPECT_EQ(auftrag->Beginn(), beginn);
    EXPECT_EQ(auftrag->Sekunden(), 10);
    EXPECT_EQ(auftrag->Leistungen().Count(), 1);
    EXPECT_EQ(auftrag->LeistungsTextVorgabe(), vorgabe) << "a default text stays";
    EXPECT_EQ(row(auftrag->Id())->idAuftrag, 0);
    EXPECT_EQ(entryRowsOf(*auftrag).at(0).idAuftrag, 0);

    auftrag->AuftragAendern(office::demo::kInvoicedOrder);
    EXPECT_TRUE(auftrag->Fakturiert());
    EXPECT_EQ(auftrag->MandantNr(), 10002);
    EXPECT_EQ(row(auftrag->Id())->idAuftrag, office::demo::kInvoicedOrder);
    EXPECT_EQ(entryRowsOf(*auftrag).at(0).idAuftrag, office::demo::kInvoicedOrder);

    // An order without entries repoints only its own row; other rows stay.
    auto other = newOrder();
    other->AuftragAendern(5003);
    EXPECT_EQ(row(other->Id())->idAuftrag, 5003);
    EXPECT_EQ(row(auftrag->Id())->idAuftrag, office::demo::kInvoicedOrder);
    EXPECT_EQ(other->LeistungsTextVorgabe(), other->Angelegenheit());
}

TEST_P(ModelTest, OrdersArePickedThroughTheOfficeDialogs) {
    auto auftrag = newOrder(5001);
    auto& browser = platform_->orderBrowser();
    browser.answer({5002, 5003});
    EXPECT_TRUE(auftrag->AuftragBrowsen());
    EXPECT_EQ(auftrag->AuftragId(), 5002);
    ASSERT_EQ(browser.calls().size(), 1u);
    EXPECT_EQ(browser.calls()[0].mitarbeiterId, office::demo::kEmployeeWithRights);
    EXPECT_EQ(browser.calls()[0].modus, 1);
    EXPECT_EQ(browser.calls()[0].filterField, QStringLiteral("ManNr"));
    EXPECT_EQ(browser.calls()[0].filterValue, 10001);
    EXPECT_TRUE(browser.calls()[0].auftragAnlageErlaubt);

    // Without a client of its own the order filters by the host's client; without either, not.
    auto fresh = newOrder();
    session_->Mandant(102);
    browser.answer({});
    EXPECT_FALSE(fresh->AuftragBrowsen());
    EXPECT_EQ(browser.calls()[1].filterValue, 10002);
    EXPECT_EQ(fresh->AuftragId(), 0);
    session_->gSetPsIdAndNumber(false, 0, 0);
    browser.answer({});
    fresh->AuftragBrowsen();
    EXPECT_EQ(browser.calls()[2].filterField, QString());

    auto& service = platform_->orderService();
    service.answer(test::OrderServiceAnswer::gewaehlt(5003));
    EXPECT_TRUE(auftrag->AuftragAnzeigen());
    EXPECT_EQ(auftrag->AuftragId(), 5003);
    EXPECT_EQ(row(auftrag->Id())->idAuftrag, 5003);
    ASSERT_EQ(service.calls().size(), 1u);
    EXPECT_EQ(service.calls()[0].aktion, test::auftragsdienst::kAnzeigen);
    EXPECT_EQ(service.calls()[0].parameter[test::auftragsdienst::kMitarbeiter],
              office::demo::kEmployeeWithRights);
    EXPECT_EQ(service.calls()[0].parameter[test::auftragsdienst::kAuftrag], 5002);
    service.answer(test::OrderServiceAnswer::abgebrochen());
    EXPECT_FALSE(auftrag->AuftragAnzeigen());
    EXPECT_EQ(auftrag->AuftragId(), 5003);
    EXPECT_EQ(service.ended(), 2);
}

TEST_P(ModelTest, AnEntrySavesOnlyWithSecondsAndOnlyProductiveTextLines) {
    auto auftrag = newOrder(5001);
    auftrag->Starten(true);
    const auto leistung = auftrag->AktuelleLeistung();
    leistung->Notiz(QStringLiteral("Rückfrage Mandant"));
    leistung->TextHinzufuegen(0, QStringLiteral("Belege gebucht"));
    leistung->Speichern(false);
    EXPECT_EQ(row(leistung->Id())->text2, QString()) << "0 seconds write nothing";
    EXPECT_TRUE(textLines(leistung->Id()).isEmpty());

    leistung->Sekunden(90);
    leistung->TextHinzufuegen(0, QString());  // an empty line is never stored
    leistung->TextHinzufuegen(0, QStringLiteral("Abstimmung Konten"));
    leistung->Speichern(false);
    const ZeRow saved = *row(leistung->Id());
    EXPECT_EQ(saved.text2, QStringLiteral("Rückfrage Mandant"));
    EXPECT_EQ(saved.sekunden, 90);
    EXPECT_EQ(textLines(leistung->Id()),
              (QStringList{QStringLiteral("Belege gebucht"), QStringLiteral("Abstimmung Konten")}));
    EXPECT_GT(leistung->Text(QStringLiteral("1"))->TextId(), 0);
    EXPECT_EQ(leistung->Text(QStringLiteral("2"))->TextId(), 0);
    EXPECT_EQ(leistung->Text(QString()), nullptr);

    // A changed line is updated in place, not added again.
    leistung->Text(QStringLiteral("1"))->Text(QStringLiteral("Belege gebucht und geprüft"));
    leistung->Speichern(false);
    EXPECT_EQ(textLines(leistung->Id()).at(0), QStringLiteral("Belege gebucht und geprüft"));
    EXPECT_EQ(textLines(leistung->Id()).size(), 2);

    // The idle entry's lines are never stored.
    const auto idleEntry = idle().Leistung(QStringLiteral("1"));
    idleEntry->Sekunden(5);
    idleEntry->TextHinzufuegen(0, QStringLiteral("Leerlauf"));
    idleEntry->Speichern(false);
    EXPECT_EQ(row(idleEntry->Id())->sekunden, 5);
    EXPECT_TRUE(textLines(idleEntry->Id()).isEmpty());
}

TEST_P(ModelTest, ATextLineWhoseInsertFailedIsInsertedAtTheNextSave) {
    auto auftrag = newOrder(5001);
    auftrag->Starten(true);
    const auto leistung = auftrag->AktuelleLeistung();
    leistung->Sekunden(60);
    leistung->TextHinzufuegen(0, QStringLiteral("erste Zeile"));
    leistung->TextHinzufuegen(0, QStringLiteral("zweite Zeile"));
    // The first text insert is refused (after the save's begin and the row update): the save
    // is written as a whole or not at all.
    database().faults().failStatement(3);
    try {
        leistung->Speichern(false);
        ADD_FAILURE() << "the refused insert must reach the caller";
    } catch (const OrvError& error) {
        EXPECT_TRUE(error.source().contains(QStringLiteral("ORVkStoppUhren.cLeistung.Speichern")));
    }
    EXPECT_EQ(row(leistung->Id())->sekunden, 0);
    EXPECT_TRUE(textLines(leistung->Id()).isEmpty());
    EXPECT_EQ(leistung->Text(QStringLiteral("1"))->TextId(), 0);

    leistung->Speichern(false);
    EXPECT_EQ(row(leistung->Id())->sekunden, 60);
    EXPECT_EQ(textLines(leistung->Id()),
              (QStringList{QStringLiteral("erste Zeile"), QStringLiteral("zweite Zeile")}));
}

TEST_P(ModelTest, DeletingAnEntryGivesItsSecondsBackToTheIdleTime) {
    auto auftrag = newOrder(5001);
    auftrag->Starten(true);
    run(*auftrag, 120);
    auftrag->Anhalten(false, false);
    const auto leistung = auftrag->Leistung(QStringLiteral("1"));
    const std::int32_t idleBefore = idle().Sekunden();
    const std::int32_t idleEntryBefore = idle().Leistung(QStringLiteral("1"))->Sekunden();

    EXPECT_TRUE(leistung->Loeschen(true));
    EXPECT_EQ(leistung->Status(), cLeistung::kStatusZeileGeloescht);
    EXPECT_FALSE(row(leistung->Id()).has_value());
    EXPECT_TRUE(textLines(leistung->Id()).isEmpty());
    EXPECT_EQ(auftrag->Leistungen().Count(), 0);
    EXPECT_EQ(auftrag->Sekunden(), 0);
    EXPECT_EQ(row(auftrag->Id())->sekunden, 0);
    EXPECT_EQ(idle().Sekunden(), idleBefore + 120);
    EXPECT_EQ(row(idle().Id())->sekunden, idleBefore + 120);
    const auto idleEntry = idle().Leistung(QStringLiteral("1"));
    EXPECT_EQ(idleEntry->Sekunden(), idleEntryBefore + 120);
    EXPECT_EQ(row(idleEntry->Id())->sekunden, idleEntryBefore + 120);
}

TEST_P(ModelTest, MovingAnEntryToAnotherOfficeOrderMovesItsSeconds) {
    auto auftrag = newOrder(5001);
    auftrag->Starten(true);
    run(*auftrag, 40);
    auftrag->Anhalten(false, false);
    const auto leistung = auftrag->Leistung(QStringLiteral("1"));

    // No order of the session holds 5002 yet: one is created, inactive, with its own row.
    leistung->AuftragAendern(5002, false);
    const auto target = session_->AuftragZuAuftragId(5002);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->Status(), AuftragStatus_InAktiv);
    EXPECT_EQ(&leistung->Auftrag(), target.get());
    EXPECT_EQ(target->Leistungen().Count(), 1);
    EXPECT_EQ(auftrag->Leistungen().Count(), 0);
    EXPECT_EQ(target->Sekunden(), 40);
    EXPECT_EQ(auftrag->Sekunden(), 0);
    const ZeRow moved = *row(leistung->Id());
    EXPECT_EQ(moved.parentId, target->Id());
    EXPECT_EQ(moved.parentKey, target->Key());
    EXPECT_EQ(moved.idAuftrag, 5002);
    EXPECT_EQ(row(target->Id())->sekunden, 40);
    EXPECT_EQ(row(target->Id())->status, AuftragStatus_InAktiv);
    EXPECT_EQ(row(auftrag->Id())->sekunden, 0);

    // Back to the order that holds 5001: no new order; the same id or none changes nothing.
    const std::int32_t orders = session_->Auftraege().Count();
    leistung->AuftragAendern(5001, false);
    leistung->AuftragAendern(5001, false);
    leistung->AuftragAendern(0, false);
    EXPECT_EQ(session_->Auftraege().Count(), orders);
    EXPECT_EQ(&leistung->Auftrag(), auftrag.get());
    EXPECT_EQ(auftrag->Sekunden(), 40);
    EXPECT_EQ(target->Sekunden(), 0);
    EXPECT_EQ(row(leistung->Id())->parentId, auftrag->Id());

    // A preview in the edit window reassigns the entry's own order.
    leistung->AuftragAendernVorlauefig(5003);
    EXPECT_EQ(auftrag->AuftragId(), 5003);
    EXPECT_EQ(row(leistung->Id())->idAuftrag, 5003);
}

TEST_P(ModelTest, ANewEntryJoinsAnOrderAsANewRow) {
    auto auftrag = newOrder(5001);
    auto leistung = std::make_shared<cLeistung>(*session_);
    leistung->Init(*auftrag, false);
    leistung->Sekunden(300);
    leistung->TextHinzufuegen(0, QStringLiteral("Telefonat"));
    leistung->AuftragAendern(5003, true);
    const auto target = session_->AuftragZuAuftragId(5003);
    ASSERT_NE(target, nullptr);
    ASSERT_GT(leistung->Id(), 0);
    EXPECT_EQ(target->Leistung(leistung->Key()), leistung);
    EXPECT_EQ(target->Sekunden(), 300);
    const ZeRow inserted = *row(leistung->Id());
    EXPECT_EQ(inserted.parentId, target->Id());
    EXPECT_EQ(inserted.idAuftrag, 5003);
    EXPECT_EQ(inserted.sekunden, 300);
    EXPECT_EQ(textLines(leistung->Id()), QStringList{QStringLiteral("Telefonat")});

    auto appended = std::make_shared<cLeistung>(*session_);
    appended->Init(*auftrag, true);
    appended->Sekunden(60);
    appended->AnAuftragAnfuegen();
    EXPECT_EQ(auftrag->Sekunden(), 60);
    EXPECT_EQ(row(auftrag->Id())->sekunden, 60);
    EXPECT_EQ(row(appended->Id())->parentId, auftrag->Id());
    EXPECT_EQ(auftrag->Leistung(QStringLiteral("1")), appended);
}

TEST_P(ModelTest, FinishedOrdersAndTheirEntries) {
    auto auftrag = newOrder(5001);
    EXPECT_FALSE(auftrag->LeistungenBeendet()) << "an order that never ran";
    auftrag->Starten(true);
    run(*auftrag, 10);
    EXPECT_FALSE(auftrag->LeistungenBeendet());
    auftrag->Anhalten(false, true);
    EXPECT_FALSE(auftrag->LeistungenBeendet()) << "its entry is not booked";
    auftrag->Leistung(QStringLiteral("1"))->Status(AuftragStatus_Gebucht);
    EXPECT_TRUE(auftrag->LeistungenBeendet());
    EXPECT_TRUE(newOrder()->LeistungenBeendet() == false);

    // An entry still marked running under a finished order is a remnant and becomes deleted.
    auto remnant = newOrder(5002);
    remnant->Starten(true);
    run(*remnant, 5);
    remnant->Speichern();
    remnant->Status(AuftragStatus_Beendet);
    remnant->LeistungenStatusKorrigieren();
    const auto entry = remnant->Leistung(QStringLiteral("1"));
    EXPECT_EQ(entry->Status(), AuftragStatus_Geloescht);
    EXPECT_EQ(row(entry->Id())->status, AuftragStatus_Geloescht);
}

TEST_P(ModelTest, EntriesAreFoundByPositionOrKey) {
    auto auftrag = newOrder(5001);
    auftrag->Starten(true);
    run(*auftrag, 1);  // an entry of no seconds goes when it stops
    auftrag->Anhalten(false, false);
    auftrag->Starten(false);
    const auto second = auftrag->AktuelleLeistung();
    EXPECT_EQ(auftrag->Leistung(QStringLiteral("2")), second);
    EXPECT_EQ(auftrag->Leistung(second->Key()), second);
    try {
        auftrag->Leistung(QStringLiteral("l999999"));
        ADD_FAILURE() << "a missing key is an error";
    } catch (const OrvError& error) {
        EXPECT_EQ(error.number(), err::kInvalidCall);
        EXPECT_TRUE(error.source().contains(
            QStringLiteral("ORVkStoppUhren.CAuftrag.Leistung - Property Get")));
    }
    try {
        auftrag->Leistung(QStringLiteral("3"));
        ADD_FAILURE() << "a position beyond the entries is an error";
    } catch (const OrvError& error) {
        EXPECT_EQ(error.number(), err::kSubscript);
    }
}

TEST_P(ModelTest, TheAdministrativeShareOfAnEntry) {
    // The demo office books 10 % of every service for its administration.
    auto auftrag = newOrder(5001);
    auftrag->Starten(true);
    const auto leistung = auftrag->AktuelleLeistung();
    leistung->Sekunden(3600);
    EXPECT_EQ(leistung->VerwaltungsZeit(), 360);
    EXPECT_EQ(leistung->VerwaltungsZeitText(), QStringLiteral("00:06:00"));
    leistung->Sekunden(35);
    EXPECT_EQ(leistung->VerwaltungsZeit(), 4);
    EXPECT_EQ(leistung->VerwaltungsText(), QStringLiteral("(VZL) "));
    leistung->StandardTextSetzen(QString(70, QLatin1Char('x')));
    EXPECT_EQ(leistung->VerwaltungsText(),
              QStringLiteral("(VZL) ") + QString(58, QLatin1Char('x')));
    EXPECT_EQ(leistung->Texte().Count(), 1);
}

ORV_INSTANTIATE_FOR_BACKENDS(ModelTest);

}  // namespace
}  // namespace orv
