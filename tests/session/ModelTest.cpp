#include "SessionTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// Orders and entries as the grids show them and as their rows hold them.
class ModelTest : public test::SessionTest {};

TEST_P(ModelTest, TextsOfAnOrderForTheGrids) {
    auto auftrag = newOrder();
    EXPECT_EQ(auftrag->MandantLabel(), QStringLiteral("kein Auftrag zugeordnet"));
    EXPECT_EQ(session_->LeerlaufAuftrag().MandantLabel(), QStringLiteral("Leerlauf"));
    EXPECT_EQ(auftrag->BeginnText(), QString());
    auftrag->AuftragAendern(5001);
    EXPECT_EQ(auftrag->MandantLabel(), auftrag->Mandant() + QStringLiteral(" (10001)"));
    EXPECT_EQ(auftrag->PeriodeText(), QStringLiteral("01/2026"));
    // seconds, time text, industrial hours (at least one hundredth)
    const std::tuple<std::int32_t, const char*, const char*> times[] = {
        {0, "00:00:00", "0,01"}, {5400, "01:30:00", "1,50"}, {10800000, "3000:00:00", "3.000,00"}};
    for (const auto& [seconds, zeit, industrie] : times) {
        auftrag->Sekunden(seconds);
        EXPECT_EQ(auftrag->ZeitText(), QLatin1String(zeit));
        EXPECT_EQ(auftrag->ZeitTextIndustrie(), QLatin1String(industrie));
    }
    auftrag->Beginn(QDateTime(QDate(2026, 3, 16), QTime(7, 5, 9)));
    EXPECT_EQ(auftrag->BeginnText(), QStringLiteral("07:05:09"));
    const QString matter = auftrag->Angelegenheit();
    auftrag->ObjektBezeichnung(QStringLiteral("Objekt Nr.: 3"));
    EXPECT_EQ(auftrag->Angelegenheit(), matter + QStringLiteral(" (Objekt Nr.: 3)"));

    // The default text keeps 64 characters and becomes the current entry's first line.
    auftrag->Starten(true);
    auftrag->LeistungsTextVorgabe(QString(70, QChar(u'ä')));
    EXPECT_EQ(auftrag->LeistungsTextVorgabe(), QString(64, QChar(u'ä')));
    EXPECT_EQ(auftrag->AktuelleLeistung()->ErsteZeileText().left(64), QString(64, QChar(u'ä')));
}

TEST_P(ModelTest, AssigningAnotherOfficeOrderRepointsTheRowsAndKeepsTheTime) {
    auto auftrag = workedOn(5001, 10);
    const QString vorgabe = auftrag->LeistungsTextVorgabe();
    const std::int32_t entryId = auftrag->Leistung(QStringLiteral("1"))->Id();
    auftrag->AuftragAendern(0);
    EXPECT_EQ(QStringList({auftrag->Mandant(), auftrag->Angelegenheit(), auftrag->AuftragArt(),
                           QString::number(auftrag->MandantNr() + auftrag->Jahr())})
                  .join(QLatin1Char('|')),
              QStringLiteral("||0|0"));
    EXPECT_EQ(auftrag->Sekunden(), 10);
    EXPECT_EQ(auftrag->LeistungsTextVorgabe(), vorgabe) << "a default text stays";
    EXPECT_EQ(row(auftrag->Id())->idAuftrag, 0);
    EXPECT_EQ(row(entryId)->idAuftrag, 0);

    auftrag->AuftragAendern(office::demo::kInvoicedOrder);
    EXPECT_TRUE(auftrag->Fakturiert());
    EXPECT_EQ(auftrag->MandantNr(), 10002);
    EXPECT_EQ(row(entryId)->idAuftrag, office::demo::kInvoicedOrder);

    // An entry moved back and forth between orders of the session: no new order, the same id
    // or none changes nothing; a preview in the edit window reassigns the entry's own order.
    const auto leistung = auftrag->Leistung(QStringLiteral("1"));
    leistung->AuftragAendern(5002, false);
    const std::int32_t orders = session_->Auftraege().Count();
    leistung->AuftragAendern(office::demo::kInvoicedOrder, false);
    leistung->AuftragAendern(office::demo::kInvoicedOrder, false);
    leistung->AuftragAendern(0, false);
    EXPECT_EQ(session_->Auftraege().Count(), orders);
    EXPECT_EQ(&leistung->Auftrag(), auftrag.get());
    EXPECT_EQ(auftrag->Sekunden(), 10);
    EXPECT_EQ(session_->AuftragZuAuftragId(5002)->Sekunden(), 0);
    leistung->AuftragAendernVorlauefig(5003);
    EXPECT_EQ(auftrag->AuftragId(), 5003);
    EXPECT_EQ(row(entryId)->idAuftrag, 5003);
    expectBalanced();
    expectRowsMatchObjects();
}

TEST_P(ModelTest, OrdersArePickedThroughTheOfficeDialogs) {
    auto auftrag = newOrder(5001);
    auto& browser = platform_->orderBrowser();
    browser.answer(std::vector<std::int32_t>{5002, 5003});
    EXPECT_TRUE(auftrag->AuftragBrowsen());
    EXPECT_EQ(auftrag->AuftragId(), 5002);
    const test::OrderBrowserCall& call = browser.calls.at(0);
    EXPECT_EQ(call.mitarbeiterId, office::demo::kEmployeeWithRights);
    EXPECT_EQ(call.modus, 1);
    EXPECT_EQ(call.filterField, QStringLiteral("ManNr"));
    EXPECT_EQ(call.filterValue, 10001);
    EXPECT_TRUE(call.auftragAnlageErlaubt);

    // Without a client of its own the order filters by the host's client; without either, not.
    auto fresh = newOrder();
    session_->Mandant(102);
    browser.answer(std::vector<std::int32_t>{});
    EXPECT_FALSE(fresh->AuftragBrowsen());
    EXPECT_EQ(browser.calls.at(1).filterValue, 10002);
    EXPECT_EQ(fresh->AuftragId(), 0);
    session_->gSetPsIdAndNumber(false, 0, 0);
    browser.answer(std::vector<std::int32_t>{});
    fresh->AuftragBrowsen();
    EXPECT_EQ(browser.calls.at(2).filterField, QString());

    auto& service = platform_->orderService();
    service.pick(5003);
    EXPECT_TRUE(auftrag->AuftragAnzeigen());
    EXPECT_EQ(auftrag->AuftragId(), 5003);
    EXPECT_EQ(row(auftrag->Id())->idAuftrag, 5003);
    EXPECT_EQ(service.calls.at(0).at(platform::OrderService::kAnzeigenMitarbeiter),
              office::demo::kEmployeeWithRights);
    EXPECT_EQ(service.calls.at(0).at(platform::OrderService::kAnzeigenAuftrag), 5002);
    service.answer(0);
    EXPECT_FALSE(auftrag->AuftragAnzeigen());
    EXPECT_EQ(auftrag->AuftragId(), 5003);
    EXPECT_EQ(service.ended, 2);
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
    EXPECT_EQ(row(leistung->Id())->text2, QStringLiteral("Rückfrage Mandant"));
    EXPECT_EQ(row(leistung->Id())->sekunden, 90);
    // A changed line is updated in place, not added again.
    leistung->Text(QStringLiteral("1"))->Text(QStringLiteral("Belege gebucht und geprüft"));
    leistung->Speichern(false);
    EXPECT_EQ(textLines(leistung->Id()), (QStringList{QStringLiteral("Belege gebucht und geprüft"),
                                                      QStringLiteral("Abstimmung Konten")}));

    // The idle entry's lines are never stored.
    const auto idleEntry = session_->LeerlaufAuftrag().Leistung(QStringLiteral("1"));
    idleEntry->Sekunden(5);
    idleEntry->TextHinzufuegen(0, QStringLiteral("Leerlauf"));
    idleEntry->Speichern(false);
    EXPECT_EQ(row(idleEntry->Id())->sekunden, 5);
    EXPECT_TRUE(textLines(idleEntry->Id()).isEmpty());
}

// An order counts as finished once all its entries are booked.
TEST_P(ModelTest, FinishedOrdersAndTheirEntries) {
    auto auftrag = newOrder(5001);
    EXPECT_FALSE(auftrag->LeistungenBeendet()) << "an order that never ran";
    auftrag->Starten(true);
    EXPECT_FALSE(auftrag->LeistungenBeendet());
    advance(10);  // an entry of no seconds goes when it stops
    auftrag->Increment();
    auftrag->Anhalten(false, true);
    EXPECT_FALSE(auftrag->LeistungenBeendet()) << "its entry is not booked";
    auftrag->Leistung(QStringLiteral("1"))->Status(AuftragStatus_Gebucht);
    EXPECT_TRUE(auftrag->LeistungenBeendet());
}

ORV_INSTANTIATE_FOR_BACKENDS(ModelTest);

}  // namespace
}  // namespace orv
