#include "SessionTestSupport.h"

#include "platform/MessageBoxes.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using office::demo::kAdministrativeEmployee;
using office::demo::kEmployeeWithRights;
using office::demo::kUnproductiveTimeOrder;
using test::outcome::kGeaendert;

// Booking the day's entries and ending the day; the session has ten minutes of idle time.
class DayClosingTest : public test::SessionTest {
protected:
    DayClosingTest() : SessionTest(true, 600) {}

    // An order worked on for the given seconds with a text line, its entry released.
    std::shared_ptr<cLeistung> workAndRelease(std::int32_t auftragId, qint64 seconds,
                                              const QString& text) {
        std::shared_ptr<CAuftrag> auftrag = session_->AuftragZuAuftragId(auftragId);
        if (auftrag == nullptr) {
            auftrag = startNewOrder(auftragId);
        } else {
            switchTo(auftrag->Key());
        }
        tick(seconds);
        const std::shared_ptr<cLeistung> leistung = auftrag->AktuelleLeistung();
        switchTo(CAuftrag::LeerlaufKey());
        leistung->StandardTextSetzen(text);
        leistung->Speichern(false);
        EXPECT_TRUE(release(*leistung));
        return leistung;
    }
};

TEST_P(DayClosingTest, SummedBookingMakesOneServicePerOrderWithAllTexts) {
    const auto a = workAndRelease(5001, 600, QStringLiteral("Belege Januar"));  // 08:10-08:20
    tick(60);
    const auto b = workAndRelease(5001, 1200, QStringLiteral("Kasse Januar"));
    const auto c = workAndRelease(5003, 300, QStringLiteral("Lohnjournal"));
    const auto d = workAndRelease(5001, 1800, QStringLiteral("Bank Januar"));  // to 09:26
    session_->SammelBuchen();
    // From the earliest begin to the latest end of its entries; the administrative share for
    // the five minutes on 5003 would be 30 seconds, below the smallest service.
    EXPECT_EQ(services(), QStringLiteral("5001|10000|08:10-09:16|Belege Januar / Kasse Januar / "
                                         "Bank Januar\n5003|833|08:41-08:46|Lohnjournal"));
    EXPECT_EQ(services(kAdministrativeEmployee).section(QLatin1Char('|'), 0, 1),
              QStringLiteral("5001|1000"));
    for (const auto& leistung : {a, b, c, d}) {
        EXPECT_FALSE(row(leistung->Id()).has_value());
        EXPECT_EQ(leistung->Status(), cLeistung::kStatusZeileGeloescht);
    }
    EXPECT_EQ(session_->FreigegebeneLeistungen(), nullptr);
    expectBalanced();
    expectRowsMatchObjects();

    // Nothing released: nothing booked.
    session_->SammelBuchen();
    session_->EinzelBuchen();
    EXPECT_EQ(count(QStringLiteral("tLeistung WHERE flMitarbeiter = 7")), 2);
}

TEST_P(DayClosingTest, ABookedEntryWritesNothingAnyMore) {
    // The first provisional text line and the first service text get the same id.
    auto auftrag = newOrder(5001);
    const auto entry = [&](const QString& line, std::int32_t seconds) {
        auto leistung = std::make_shared<cLeistung>(*session_);
        leistung->Init(*auftrag, true);
        leistung->Sekunden(seconds);
        leistung->TextHinzufuegen(0, line);
        leistung->Speichern(false);
        return leistung;
    };
    const auto bleibt = entry(QStringLiteral("bleibt vorläufig"), 60);
    const auto gebucht = entry(QStringLiteral("wird gebucht"), 600);
    ASSERT_GT(gateway().InsertLeistung(*gebucht), 0);
    gebucht->Status(AuftragStatus_Geloescht);
    gebucht->Loeschen(false);
    // Its lines now carry the service's text ids; saving it again must not touch the
    // provisional lines that carry the same numbers.
    gebucht->Text(QStringLiteral("1"))->Text(QStringLiteral("geändert"));
    gebucht->Speichern(false);
    EXPECT_EQ(textLines(bleibt->Id()), QStringList{QStringLiteral("bleibt vorläufig")});
    EXPECT_TRUE(services().endsWith(QStringLiteral("|wird gebucht")));
}

TEST_P(DayClosingTest, UnfinishedOrdersLetTheEmployeePostponeTheDayClosing) {
    startNewOrder(5001);
    tick(60);
    // Yes: the session ends now, without day closing; the rows stay for tomorrow. (No: see the
    // day closing put off.)
    platform_->messageBoxes().answer(platform::MsgAnswer::Yes);
    EXPECT_TRUE(session_->Beenden());
    const test::AskedBox& box = platform_->messageBoxes().asked().at(0);
    EXPECT_EQ(box.title, QStringLiteral("Stoppuhren beenden"));
    EXPECT_EQ(box.text, QStringLiteral("Es sind noch nicht beendete Aufträge vorhanden.\n"
                                       "Möchten Sie den Tagesabschluss später vornehmen?"));
    EXPECT_TRUE(platform_->timer()->finished());
    EXPECT_EQ(platform_->frmStoppUhr().schliessen, 1);
    EXPECT_EQ(platform_->frmLeistung().asked(), 0);
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-08:11:00/0"));
    EXPECT_FALSE(rowsOf().empty());
    EXPECT_EQ(services(), QString());
}

ORV_INSTANTIATE_FOR_BACKENDS(DayClosingTest);

}  // namespace
}  // namespace orv
