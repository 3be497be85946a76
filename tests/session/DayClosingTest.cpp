#include "SessionTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// Booking the day's entries and ending the day; the session has ten minutes of idle time.
class DayClosingTest : public test::SessionTest {
protected:
    DayClosingTest() : SessionTest(true, 600) {}
};

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
    // Nothing released any more: neither booking books anything.
    const QString booked = services();
    session_->SammelBuchen();
    session_->EinzelBuchen();
    EXPECT_EQ(services(), booked);
}

// The day closing books the idle time on the order the employee confirms, and the session ends.
// An order the office removed books nothing and deletes nothing; the employee is told, and the
// day goes on with the idle time counting.
TEST_P(DayClosingTest, TheDayClosingBooksTheIdleTimeUnlessItsOrderIsGone) {
    execute(QStringLiteral("DELETE FROM tAuftrag WHERE idAuftrag = 5012"));
    for (const std::int32_t auftragId : {5012, 5003}) {
        SCOPED_TRACE(auftragId);
        const bool removed = auftragId == 5012;
        const std::int32_t leer = idle();
        platform_->frmLeistung().answer(
            test::LeistungAnzeigenAnswer{test::outcome::kGeaendert, std::nullopt, auftragId});
        EXPECT_EQ(session_->Beenden(), !removed);
        EXPECT_EQ(platform_->errorReports().size(), 1u);
        EXPECT_EQ(services().section(QLatin1Char('|'), 0, 1),
                  removed ? QString() : QStringLiteral("5003|%1").arg(qRound(leer / 0.36)));
        EXPECT_EQ(rowsOf().empty(), !removed);
        if (removed) {
            tick(60);
            EXPECT_EQ(idle(), leer + 60);
        }
    }
    EXPECT_EQ(openLogins(), 0);
}

ORV_INSTANTIATE_FOR_BACKENDS(DayClosingTest);

}  // namespace
}  // namespace orv
