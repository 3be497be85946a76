#include "SessionTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using office::demo::kInvoicedOrder;

// Orders and entries as the grids show them and as their rows hold them.
class ModelTest : public test::SessionTest {};

// Without an office order the order shows no client nor matter; its entries' rows follow it.
TEST_P(ModelTest, AssigningAnotherOfficeOrderRepointsTheRowsAndKeepsTheTime) {
    auto auftrag = workedOn(5001, 10);
    const auto leistung = first(*auftrag);
    const QString vorgabe = auftrag->LeistungsTextVorgabe();
    auftrag->AuftragAendern(0);
    EXPECT_EQ(auftrag->Mandant() + auftrag->Angelegenheit() + auftrag->AuftragArt(), "0");
    EXPECT_EQ(auftrag->LeistungsTextVorgabe(), vorgabe) << "a default text stays";
    EXPECT_EQ(row(leistung->Id())->idAuftrag, 0);
    auftrag->AuftragAendern(kInvoicedOrder);
    EXPECT_TRUE(auftrag->Fakturiert());
    EXPECT_EQ(row(leistung->Id())->idAuftrag, kInvoicedOrder);

    expectBalanced();
    expectRowsMatchObjects();
}

// Text lines as typed, quotes and all; the idle entry's lines are never stored.
TEST_P(ModelTest, AnEntrySavesOnlyWithSecondsAndOnlyProductiveTextLines) {
    auto auftrag = newOrder(5001);
    auftrag->Starten(true);
    const auto leistung = auftrag->AktuelleLeistung();
    const auto idleEntry = first(session_->LeerlaufAuftrag());
    const QString hostile = QStringLiteral("Bescheid geprüft'); DELETE FROM tLeistung; --");
    leistung->Notiz(QStringLiteral("Rückfrage Mandant"));
    for (const auto& entry : {leistung, idleEntry}) {
        entry->TextHinzufuegen(0, hostile);
    }
    leistung->Speichern(false);
    EXPECT_EQ(row(leistung->Id())->text2, QString()) << "0 seconds write nothing";
    EXPECT_TRUE(textLines(leistung->Id()).isEmpty());

    leistung->TextHinzufuegen(0, QString());  // an empty line is never stored
    leistung->TextHinzufuegen(0, QStringLiteral("Abstimmung Konten"));
    for (const auto& entry : {leistung, idleEntry}) {
        entry->Sekunden(90);
        entry->Speichern(false);
        EXPECT_EQ(row(entry->Id())->sekunden, 90);
    }
    EXPECT_EQ(row(leistung->Id())->text2, QStringLiteral("Rückfrage Mandant"));
    EXPECT_EQ(textLines(leistung->Id()), (QStringList{hostile, "Abstimmung Konten"}));
    EXPECT_TRUE(textLines(idleEntry->Id()).isEmpty());
}

ORV_INSTANTIATE_FOR_BACKENDS(ModelTest);

}  // namespace
}  // namespace orv
