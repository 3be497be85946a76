#include "SessionTestSupport.h"

#include "platform/MessageBoxes.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using office::demo::kEmployeeWithoutRights;
using office::demo::kEmployeeWithRights;
using platform::MsgAnswer;
using test::ZeRow;

class SessionStartTest : public test::SessionTest {
protected:
    void setOption(const char* subKey, const QString& value) {
        db::DbService s(database());
        s.Open();
        s.Execute(
            QStringLiteral("UPDATE tBenutzerEinstellung SET dcValue = $1 WHERE dsSubKey = $2"),
            db::Params{value, QString::fromLatin1(subKey)});
    }

    // The time counted in the idle order and its entry, as objects and as rows.
    struct IdleTime {
        std::int32_t order, entry, orderRow, entryRow;
        bool operator==(const IdleTime&) const = default;
    };
    IdleTime idleTime(CStoppUhren& session) {
        CAuftrag& idle = session.LeerlaufAuftrag();
        const auto entry = idle.Leistung(QStringLiteral("1"));
        return {idle.Sekunden(), entry->Sekunden(), row(idle.Id())->sekunden,
                row(entry->Id())->sekunden};
    }

    // A morning session from 08:00 to 12:00 with its login closed.
    void morningSession() {
        start();
        advance(4 * 3600);
        gateway().LogOut();
    }
};

TEST_P(SessionStartTest, StartReadsTheOfficeOptionsAndTheEmployeesRights) {
    start();
    EXPECT_EQ(session_->Verwaltungsmitarbeiter(), office::demo::kAdministrativeEmployee);
    EXPECT_EQ(session_->Verwaltungsanteil(), 10.0);
    EXPECT_TRUE(session_->VerwaltungsanteilAktiv());
    EXPECT_EQ(session_->LeerlaufBuchungsAuftrag(), office::demo::kUnproductiveTimeOrder);
    EXPECT_FALSE(session_->LeistungenAufFakturierteAuftraege());
    EXPECT_TRUE(session_->RechtLeistungAendern());
    EXPECT_TRUE(session_->RechtAuftragBrowser());
    EXPECT_TRUE(session_->RechtLeistungenSummieren());

    auto other = newSession();
    std::int32_t employee = kEmployeeWithoutRights;
    ASSERT_TRUE(other->Starten(employee));
    EXPECT_FALSE(other->RechtLeistungAendern());
    EXPECT_FALSE(other->RechtAuftragBrowser());
    EXPECT_FALSE(other->RechtLeistungenSummieren());
}

TEST_P(SessionStartTest, OptionTextsAreReadInTheUsersNumberFormat) {
    setOption("ORV.Common.KOrg.Zeiterfassung", QStringLiteral("12,0"));
    setOption("ORV.Brix.Options.KOrg.Verwaltungsanteil", QStringLiteral(" 2,5 "));
    setOption("ORV.Brix.Options.KOrg.Verwaltungsmitarbeiter", QStringLiteral("7 (Berger)"));
    execute(QStringLiteral("UPDATE tGlobaleWerte SET dbWert = 1 WHERE dlNummer = 31"));
    start();
    EXPECT_EQ(session_->LeerlaufBuchungsAuftrag(), 12);
    EXPECT_EQ(session_->Verwaltungsanteil(), 2.5);
    EXPECT_EQ(session_->Verwaltungsmitarbeiter(), 7);
    EXPECT_TRUE(session_->LeistungenAufFakturierteAuftraege());

    // Empty or missing settings count as 0.
    setOption("ORV.Common.KOrg.Zeiterfassung", QString());
    execute(QStringLiteral("DELETE FROM tBenutzerEinstellung WHERE dsSubKey LIKE '%Verwaltung%'"));
    auto other = newSession();
    std::int32_t employee = kEmployeeWithRights;
    ASSERT_TRUE(other->Starten(employee));
    EXPECT_EQ(other->LeerlaufBuchungsAuftrag(), 0);
    EXPECT_EQ(other->Verwaltungsanteil(), 0.0);
    EXPECT_EQ(other->Verwaltungsmitarbeiter(), 0);
    EXPECT_FALSE(other->VerwaltungsanteilAktiv());
}

TEST_P(SessionStartTest, AnOptionThatIsNoNumberIsReportedAndTheStartFails) {
    setOption("ORV.Brix.Options.KOrg.Verwaltungsanteil", QStringLiteral("zehn"));
    std::int32_t employee = kEmployeeWithRights;
    EXPECT_FALSE(session_->Starten(employee));
    ASSERT_EQ(platform_->errorReports().size(), 1u);
    const test::ErrorReport& report = platform_->errorReports().front();
    EXPECT_EQ(report.number, err::kTypeMismatch);
    EXPECT_TRUE(report.description.contains(QStringLiteral("\"zehn\" ist keine Zahl")));
    EXPECT_TRUE(
        report.source.endsWith(QStringLiteral("ORVkStoppUhren.CStoppUhren.getDouble\r\n"
                                              "ORVkStoppUhren.CStoppUhren.Starten")));
    EXPECT_EQ(platform_->frmStoppUhr().anzeigen(), 0);
}

TEST_P(SessionStartTest, TheFirstStartCreatesAndStartsTheIdleOrder) {
    start();
    EXPECT_EQ(session_->Auftraege().Count(), 0);
    EXPECT_EQ(session_->AuftragsSekunden(), 0);
    EXPECT_EQ(session_->AktuellerAuftrag(), nullptr);
    EXPECT_FALSE(session_->AuftragLaeuft());
    const std::vector<ZeRow> rows = rowsOf();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].vorgangKey, QStringLiteral("p0"));
    EXPECT_EQ(rows[0].parentKey, QStringLiteral("NULL"));
    EXPECT_EQ(rows[0].status, AuftragStatus_Aktiv);
    EXPECT_EQ(rows[0].idAuftrag, 0);
    EXPECT_EQ(rows[1].parentId, rows[0].id);
    EXPECT_EQ(rows[1].parentKey, QStringLiteral("p0"));
    EXPECT_EQ(rows[1].status, AuftragStatus_Aktiv);
    EXPECT_TRUE(platform_->messageBoxes().asked().empty());
}

TEST_P(SessionStartTest, ASecondStartTheSameDayOffersTheGapAsIdleTime) {
    morningSession();
    clock().set(QDateTime(QDate(2026, 3, 16), QTime(13, 0, 0)));
    const IdleTime before = idleTime(*session_);

    platform_->messageBoxes().answer(MsgAnswer::Yes);
    auto afternoon = newSession();
    std::int32_t employee = kEmployeeWithRights;
    ASSERT_TRUE(afternoon->Starten(employee));
    ASSERT_EQ(platform_->messageBoxes().asked().size(), 1u);
    const test::AskedBox& box = platform_->messageBoxes().asked().front();
    EXPECT_EQ(box.title, QStringLiteral("Stoppuhren starten"));
    EXPECT_EQ(box.text, QStringLiteral("Sie haben sich heute bereits abgemeldet.\n"
                                       "Soll die Differenzzeit zwischen der vorherigen Abmeldung "
                                       "und der aktuellen Anmeldung zur Leerlaufzeit hinzugefügt "
                                       "werden?"));
    EXPECT_EQ(box.buttons, platform::MsgButtons::YesNo);
    EXPECT_EQ(box.icon, platform::MsgIcon::Question);
    EXPECT_TRUE(box.systemModal);

    // From the logout plus one second to now minus one second: 12:00:01 to 12:59:59.
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-12:00:00/0 12:00:01-12:59:59/0 13:00:00-/0"));
    const std::int32_t gap = 3598;
    EXPECT_EQ(idleTime(*afternoon), (IdleTime{before.order + gap, before.entry + gap,
                                              before.order + gap, before.entry + gap}));
}

TEST_P(SessionStartTest, AGapDeclinedOrFromAnotherDayIsNotRecorded) {
    morningSession();
    clock().set(QDateTime(QDate(2026, 3, 16), QTime(13, 0, 0)));
    const IdleTime before = idleTime(*session_);
    platform_->messageBoxes().answer(MsgAnswer::No);
    auto afternoon = newSession();
    std::int32_t employee = kEmployeeWithRights;
    ASSERT_TRUE(afternoon->Starten(employee));
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-12:00:00/0 13:00:00-/0"));
    EXPECT_EQ(idleTime(*afternoon), before);

    // The next morning the question is not asked at all.
    clock().set(QDateTime(QDate(2026, 3, 17), QTime(8, 0, 0)));
    auto nextDay = newSession();
    ASSERT_TRUE(nextDay->Starten(employee));
    EXPECT_EQ(platform_->messageBoxes().asked().size(), 1u);
}

TEST_P(SessionStartTest, ARestartReloadsOrdersEntriesTextLinesAndTheRunningStopwatch) {
    start();
    CAuftrag& idle = session_->LeerlaufAuftrag();
    idle.Anhalten(false, false);
    auto finished = newOrder(5002);
    finished->Starten(true);
    advance(600);
    finished->Increment();
    finished->Anhalten(false, true);
    auto running = newOrder(5003);
    running->Starten(true);
    advance(90);
    running->Increment();
    running->AktuelleLeistung()->TextHinzufuegen(0, QStringLiteral("Lohnjournal geprüft"));
    running->AktuelleLeistung()->Notiz(QStringLiteral("bis 12 Uhr"));
    running->Speichern();

    auto next = newSession();
    std::int32_t employee = kEmployeeWithRights;
    ASSERT_TRUE(next->Starten(employee));
    ASSERT_EQ(next->Auftraege().Count(), 2);
    EXPECT_EQ(next->AuftragsSekunden(), 690);
    const auto reloaded = next->Auftrag(running->Key());
    EXPECT_EQ(next->AktuellerAuftrag(), reloaded);
    EXPECT_TRUE(next->zeitzaehlungAktiv());
    EXPECT_TRUE(next->AuftragLaeuft());
    EXPECT_EQ(next->MandantVorgabe(), running->MandantId());
    EXPECT_EQ(reloaded->AuftragId(), 5003);
    EXPECT_EQ(reloaded->Mandant(), running->Mandant());
    EXPECT_EQ(reloaded->MandantNr(), running->MandantNr());
    EXPECT_EQ(reloaded->Angelegenheit(), running->Angelegenheit());
    EXPECT_EQ(reloaded->PeriodeText(), running->PeriodeText());
    EXPECT_EQ(reloaded->LeistungsTextVorgabe(), running->LeistungsTextVorgabe());
    EXPECT_EQ(reloaded->Sekunden(), 90);
    EXPECT_EQ(reloaded->Beginn(), running->Beginn());
    const auto entry = reloaded->AktuelleLeistung();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Id(), running->AktuelleLeistung()->Id());
    EXPECT_EQ(entry->Status(), AuftragStatus_Aktiv);
    EXPECT_EQ(entry->Sekunden(), 90);
    EXPECT_EQ(entry->Notiz(), QStringLiteral("bis 12 Uhr"));
    ASSERT_EQ(entry->Texte().Count(), 1);
    EXPECT_EQ(entry->ErsteZeileText(), QStringLiteral("Lohnjournal geprüft"));
    EXPECT_GT(entry->Text(QStringLiteral("1"))->TextId(), 0);

    const auto done = next->Auftrag(finished->Key());
    EXPECT_EQ(done->Status(), AuftragStatus_Beendet);
    EXPECT_EQ(done->Ende(), finished->Ende());
    EXPECT_EQ(done->Leistungen().Count(), 1);
    EXPECT_EQ(next->LeerlaufAuftrag().Id(), idle.Id());
    EXPECT_EQ(next->LeerlaufAuftrag().Status(), AuftragStatus_InAktiv);
}

ORV_INSTANTIATE_FOR_BACKENDS(SessionStartTest);

}  // namespace
}  // namespace orv
