#include "SessionTestSupport.h"

#include "platform/MessageBoxes.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using office::demo::kEmployeeWithoutRights;
using office::demo::kEmployeeWithRights;
using office::demo::kFirstClient;
using office::demo::kOffice;
using platform::MsgAnswer;

// The component as the host creates it, before and at its start.
class SessionStartTest : public test::SessionTest {
protected:
    SessionStartTest() : SessionTest(false) {}

    // What the start read: idle booking order|administrative share|its employee|share active.
    QString options(CStoppUhren& s) {
        return QStringLiteral("%1|%2|%3|%4")
            .arg(s.LeerlaufBuchungsAuftrag())
            .arg(s.Verwaltungsanteil())
            .arg(s.Verwaltungsmitarbeiter())
            .arg(int(s.VerwaltungsanteilAktiv()));
    }
    // The seconds of the idle order and its entry, as objects and as rows.
    QString idleTime(CStoppUhren& session) {
        CAuftrag& idle = session.LeerlaufAuftrag();
        const auto entry = idle.Leistung(QStringLiteral("1"));
        return QStringLiteral("%1 %2 %3 %4")
            .arg(idle.Sekunden())
            .arg(entry->Sekunden())
            .arg(row(idle.Id())->sekunden)
            .arg(row(entry->Id())->sekunden);
    }
    // A morning session from 08:00 to 12:00 with its login closed, and the next start at 13:00.
    void morningSession() {
        start();
        advance(4 * 3600);
        gateway().LogOut();
        clock().set(QDateTime(QDate(2026, 3, 16), QTime(13, 0, 0)));
    }
};

struct OptionCase {
    const char* subKey;
    const char* text;  // nullptr: the office has no such setting
    const char* read;  // see SessionStartTest::options
};

// Option texts are read in the user's number format; empty or missing settings count as 0.
const OptionCase kOptions[] = {
    {"ORV.Common.KOrg.Zeiterfassung", "12,0", "12|10|9|1"},
    {"ORV.Common.KOrg.Zeiterfassung", "", "0|10|9|1"},
    {"ORV.Common.KOrg.Zeiterfassung", nullptr, "0|10|9|1"},
    {"ORV.Brix.Options.KOrg.Verwaltungsanteil", " 2,5 ", "5013|2.5|9|1"},
    {"ORV.Brix.Options.KOrg.Verwaltungsanteil", "0", "5013|0|9|0"},
    {"ORV.Brix.Options.KOrg.Verwaltungsanteil", nullptr, "5013|0|9|0"},
    {"ORV.Brix.Options.KOrg.Verwaltungsmitarbeiter", "7 (Berger)", "5013|10|7|1"},
    {"ORV.Brix.Options.KOrg.Verwaltungsmitarbeiter", nullptr, "5013|10|0|0"},
};

TEST_P(SessionStartTest, StartReadsTheOfficeOptions) {
    start();
    EXPECT_EQ(options(*session_), QStringLiteral("5013|10|9|1"));
    for (const OptionCase& c : kOptions) {
        SCOPED_TRACE(testing::Message() << c.subKey << " = " << (c.text ? c.text : "(keine)"));
        const QString key = QString::fromLatin1(c.subKey);
        const QString stored =
            table(QStringLiteral("SELECT dcValue FROM tBenutzerEinstellung WHERE dsSubKey = $1"),
                  {"dcValue"}, {key});
        db::DbService s(database());
        if (c.text != nullptr) {
            s.Execute(
                QStringLiteral("UPDATE tBenutzerEinstellung SET dcValue = $1 WHERE dsSubKey = $2"),
                {QString::fromUtf8(c.text), key});
        } else {
            s.Execute(QStringLiteral(
                          "UPDATE tBenutzerEinstellung SET dsSubKey = 'weg' WHERE dsSubKey = $1"),
                      {key});
        }
        EXPECT_EQ(options(*startedSession()), QLatin1String(c.read));
        s.Execute(QStringLiteral("UPDATE tBenutzerEinstellung SET dsSubKey = $1, dcValue = $2"
                                 " WHERE dsSubKey = $1 OR dsSubKey = 'weg'"),
                  {key, stored});
    }
}

TEST_P(SessionStartTest, AnOptionThatIsNoNumberIsReportedAndTheStartFails) {
    execute(
        QStringLiteral("UPDATE tBenutzerEinstellung SET dcValue = 'zehn'"
                       " WHERE dsSubKey = 'ORV.Brix.Options.KOrg.Verwaltungsanteil'"));
    std::int32_t employee = kEmployeeWithRights;
    EXPECT_FALSE(session_->Starten(employee));
    ASSERT_EQ(platform_->errorReports().size(), 1u);
    const test::ErrorReport& report = platform_->errorReports().front();
    EXPECT_EQ(report.number, err::kTypeMismatch);
    EXPECT_TRUE(report.description.contains(QStringLiteral("\"zehn\" ist keine Zahl")));
    EXPECT_TRUE(
        report.source.endsWith(QStringLiteral("ORVkStoppUhren.CStoppUhren.getDouble\r\n"
                                              "ORVkStoppUhren.CStoppUhren.Starten")));
    EXPECT_EQ(platform_->frmStoppUhr().anzeigen, 0);
}

TEST_P(SessionStartTest, StartReadsTheEmployeesRightsAndTheInvoicedOrdersSwitch) {
    start();
    EXPECT_TRUE(session_->RechtLeistungAendern());
    EXPECT_TRUE(session_->RechtAuftragBrowser());
    EXPECT_TRUE(session_->RechtLeistungenSummieren());
    EXPECT_FALSE(session_->LeistungenAufFakturierteAuftraege());
    execute(QStringLiteral("UPDATE tGlobaleWerte SET dbWert = 1 WHERE dlNummer = 31"));
    const auto other = startedSession(kEmployeeWithoutRights);
    EXPECT_FALSE(other->RechtLeistungAendern());
    EXPECT_FALSE(other->RechtAuftragBrowser());
    EXPECT_FALSE(other->RechtLeistungenSummieren());
    EXPECT_TRUE(other->LeistungenAufFakturierteAuftraege());
}

TEST_P(SessionStartTest, TheFirstStartShowsTheWindowAndCreatesAndStartsTheIdleOrder) {
    EXPECT_FALSE(session_->Beenden()) << "ending before starting shows nothing";
    EXPECT_EQ(platform_->frmStoppUhr().created, 0);
    start();
    EXPECT_EQ(session_->MitarbeiterId(), kEmployeeWithRights);
    EXPECT_EQ(platform_->frmStoppUhr().session, session_.get());
    EXPECT_TRUE(platform_->timer()->running());
    EXPECT_EQ(session_->Auftraege().Count(), 0);
    EXPECT_FALSE(session_->AuftragLaeuft());
    EXPECT_EQ(table(QStringLiteral("SELECT * FROM tLeistungZeiterfassung ORDER BY 1"),
                    {"VorgangKey", "VorgangParentKey", "Status", "idAuftrag"}),
              QStringLiteral("p0|NULL|1|0 / NULL|p0|1|0"));
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-/0"));
    EXPECT_TRUE(platform_->messageBoxes().asked().empty());
}

// A missing window or timer ends the start with a report, not an exception.
TEST_P(SessionStartTest, AStartWhoseWindowOrTimerCannotBeCreatedIsReported) {
    for (const auto& [creation, place] :
         {std::pair{test::Creation::FrmStoppUhr, "StoppUhrenAnzeigen"},
          std::pair{test::Creation::Timer, "TimerStarten"}}) {
        test::FakePlatform platform(database());
        platform.failCreation(creation);
        CStoppUhren failing(platform);
        std::int32_t employee = kEmployeeWithRights;
        EXPECT_FALSE(failing.Starten(employee)) << place;
        ASSERT_EQ(platform.errorReports().size(), 1u) << place;
        EXPECT_EQ(platform.errorReports()[0].number, err::kCannotCreateObject);
        EXPECT_TRUE(platform.errorReports()[0].source.contains(QLatin1String(place)))
            << platform.errorReports()[0].source.toStdString();
    }
}

TEST_P(SessionStartTest, ClientAndOfficeNumbersComeFromTheOfficeDatabase) {
    // client or office id, as office, number; the office is no client and a client no office.
    const std::tuple<std::int32_t, bool, std::int32_t> cases[] = {
        {kFirstClient, false, 10001}, {kOffice, true, 1}, {kOffice, false, 0},
        {kFirstClient, true, 0},      {999, false, 0},
    };
    for (const auto& [id, kanzlei, nummer] : cases) {
        if (kanzlei) {
            session_->Kanzlei(id);
        } else {
            session_->Mandant(id);
        }
        EXPECT_EQ(kanzlei ? session_->KanzleiNr() : session_->MandantNr(), nummer) << id;
        EXPECT_EQ(kanzlei ? session_->Kanzlei() : session_->Mandant(), id);
    }
    // Setting without lookup replaces both pairs.
    session_->gSetPsIdAndNumber(false, kFirstClient, 10001);
    EXPECT_EQ(session_->MandantNr() + session_->Kanzlei() + session_->KanzleiNr(), 10001);
    session_->gSetPsIdAndNumber(true, kOffice, 1);
    EXPECT_EQ(session_->Mandant() + session_->MandantNr() + session_->KanzleiNr(), 1);
    session_->gSetPsIdAndNumber(true, 0, 5);
    EXPECT_TRUE(platform_->trace().messages().contains(QStringLiteral(
        "End gSetPsIdAndNumbermlMandant = 0, mlMandantNr = 0, mlKanzlei = 0, mlKanzleiNr = 0")));

    platform_->failCreation(test::Creation::PersonStamm);
    const auto error = test::failureOf([&] { session_->Mandant(kFirstClient); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), err::kCannotCreateObject);
    EXPECT_TRUE(error->source().endsWith(
        QStringLiteral("\r\nORVkStoppUhren.CStoppUhren.Mandant - Property Let")));
    EXPECT_TRUE(platform_->errorReports().empty()) << "the host reports it";

    // The employee number is looked up once; a failed creation is explained.
    start();
    EXPECT_EQ(session_->plMitarbeiterNr(), 11);
    platform_->failCreation(test::Creation::Mitarbeiter);
    EXPECT_EQ(session_->plMitarbeiterNr(), 11);
    const auto missing = test::failureOf([&] { newSession()->plMitarbeiterNr(); });
    ASSERT_TRUE(missing.has_value());
    EXPECT_TRUE(missing->description().contains(
        QStringLiteral("Befehl: Set oMit = New srvQeMit.QeMitarbeiterClass")));
    EXPECT_TRUE(missing->description().contains(QStringLiteral("srvQeMit.dll")));
}

TEST_P(SessionStartTest, ASecondStartTheSameDayOffersTheGapAsIdleTime) {
    morningSession();
    const QString before = idleTime(*session_);
    platform_->messageBoxes().answer(MsgAnswer::Yes);
    auto afternoon = startedSession();
    const test::AskedBox& box = platform_->messageBoxes().asked().at(0);
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
    EXPECT_EQ(before, QStringLiteral("0 0 0 0"));
    EXPECT_EQ(idleTime(*afternoon), QStringLiteral("3598 3598 3598 3598"));
}

TEST_P(SessionStartTest, AGapDeclinedOrFromAnotherDayIsNotRecorded) {
    morningSession();
    platform_->messageBoxes().answer(MsgAnswer::No);
    auto afternoon = startedSession();
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-12:00:00/0 13:00:00-/0"));
    EXPECT_EQ(idleTime(*afternoon), QStringLiteral("0 0 0 0"));
    // The next morning the question is not asked at all.
    clock().set(QDateTime(QDate(2026, 3, 17), QTime(8, 0, 0)));
    startedSession();
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

    auto next = startedSession();
    ASSERT_EQ(next->Auftraege().Count(), 2);
    EXPECT_EQ(next->AuftragsSekunden(), 690);
    const auto reloaded = next->Auftrag(running->Key());
    EXPECT_EQ(next->AktuellerAuftrag(), reloaded);
    EXPECT_TRUE(next->zeitzaehlungAktiv());
    EXPECT_TRUE(next->AuftragLaeuft());
    EXPECT_EQ(next->MandantVorgabe(), running->MandantId());
    const auto describe = [](const CAuftrag& a) {
        return QStringList{QString::number(a.AuftragId()),
                           a.Mandant(),
                           QString::number(a.MandantNr()),
                           a.Angelegenheit(),
                           a.PeriodeText(),
                           a.LeistungsTextVorgabe(),
                           QString::number(a.Sekunden()),
                           a.Beginn().toString(),
                           a.Ende().toString(),
                           QString::number(a.Status()),
                           QString::number(a.Leistungen().Count())}
            .join(QLatin1Char('|'))
            .toStdString();
    };
    EXPECT_EQ(describe(*reloaded), describe(*running));
    EXPECT_EQ(describe(*next->Auftrag(finished->Key())), describe(*finished));
    const auto entry = reloaded->AktuelleLeistung();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Id(), running->AktuelleLeistung()->Id());
    EXPECT_EQ(entry->Status(), AuftragStatus_Aktiv);
    EXPECT_EQ(entry->Sekunden(), 90);
    EXPECT_EQ(entry->Notiz(), QStringLiteral("bis 12 Uhr"));
    EXPECT_EQ(entry->ErsteZeileText(), QStringLiteral("Lohnjournal geprüft"));
    EXPECT_GT(entry->Text(QStringLiteral("1"))->TextId(), 0);
    EXPECT_EQ(next->LeerlaufAuftrag().Id(), idle.Id());
    EXPECT_EQ(next->LeerlaufAuftrag().Status(), AuftragStatus_InAktiv);
}

ORV_INSTANTIATE_FOR_BACKENDS(SessionStartTest);

}  // namespace
}  // namespace orv
