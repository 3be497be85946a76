#include "SessionTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// Orders and entries as the grids show them and as their rows hold them.
class ModelTest : public test::SessionTest {};

TEST_P(ModelTest, AssigningAnotherOfficeOrderRepointsTheRowsAndKeepsTheTime) {
    auto auftrag = workedOn(5001, 10);
    const QString vorgabe = auftrag->LeistungsTextVorgabe();
    const std::int32_t entryId = first(*auftrag)->Id();
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
    const auto leistung = first(*auftrag);
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

// The browser filters by the order's client, else by the host's; what is picked reaches the row.
TEST_P(ModelTest, OrdersArePickedThroughTheOfficeDialogs) {
    auto auftrag = newOrder(5001);
    auto& browser = platform_->orderBrowser();
    browser.answer(std::vector<std::int32_t>{5002, 5003});
    EXPECT_TRUE(auftrag->AuftragBrowsen());
    EXPECT_EQ(auftrag->AuftragId(), 5002);
    EXPECT_EQ(row(auftrag->Id())->idAuftrag, 5002);
    auto fresh = newOrder();
    session_->Mandant(102);
    browser.answer(std::vector<std::int32_t>{});
    EXPECT_FALSE(fresh->AuftragBrowsen());
    EXPECT_EQ(fresh->AuftragId(), 0);
    EXPECT_EQ(browser.calls, (QStringList{QStringLiteral("7|1|ManNr|10001|1"),
                                          QStringLiteral("7|1|ManNr|10002|1")}));

    auto& service = platform_->orderService();
    service.pick(5003);
    EXPECT_TRUE(auftrag->AuftragAnzeigen());
    EXPECT_EQ(row(auftrag->Id())->idAuftrag, 5003);
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
    EXPECT_EQ(textLines(leistung->Id()),
              (QStringList{QStringLiteral("Belege gebucht"), QStringLiteral("Abstimmung Konten")}));

    // The idle entry's lines are never stored.
    const auto idleEntry = first(session_->LeerlaufAuftrag());
    idleEntry->Sekunden(5);
    idleEntry->TextHinzufuegen(0, QStringLiteral("Leerlauf"));
    idleEntry->Speichern(false);
    EXPECT_EQ(row(idleEntry->Id())->sekunden, 5);
    EXPECT_TRUE(textLines(idleEntry->Id()).isEmpty());
}

ORV_INSTANTIATE_FOR_BACKENDS(ModelTest);

}  // namespace
}  // namespace orv
