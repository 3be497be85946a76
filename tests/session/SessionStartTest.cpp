#include "SessionTestSupport.h"

#include "platform/MessageBoxes.h"

#include <gtest/gtest.h>

#include <functional>

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
        const auto entry = first(idle);
        return QStringLiteral("%1 %2 %3 %4")
            .arg(idle.Sekunden())
            .arg(entry->Sekunden())
            .arg(row(idle.Id())->sekunden)
            .arg(row(entry->Id())->sekunden);
    }
};

struct OptionCase {
    const char* subKey;
    const char* text;  // nullptr: the office has no such setting
    const char* read;  // see SessionStartTest::options; nullptr: the start fails
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
    // No number: the start fails and says which text.
    {"ORV.Brix.Options.KOrg.Verwaltungsanteil", "zehn", nullptr},
};

// The first start shows the window and creates and starts the idle order; each start reads the
// office options.
TEST_P(SessionStartTest, TheFirstStartShowsTheWindowStartsTheIdleOrderAndReadsTheOptions) {
    EXPECT_FALSE(session_->Beenden()) << "ending before starting shows nothing";
    EXPECT_EQ(platform_->frmStoppUhr().anzeigen, 0);
    start();
    EXPECT_EQ(platform_->frmStoppUhr().session, session_.get());
    EXPECT_EQ(session_->Auftraege().Count(), 0);
    EXPECT_FALSE(session_->AuftragLaeuft());
    EXPECT_EQ(table(QStringLiteral("SELECT * FROM tLeistungZeiterfassung ORDER BY 1"),
                    {"VorgangKey", "VorgangParentKey", "Status", "idAuftrag"}),
              QStringLiteral("p0|NULL|1|0 / NULL|p0|1|0"));
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
        if (c.read != nullptr) {
            EXPECT_EQ(options(*startedSession()), QLatin1String(c.read));
        } else {
            std::int32_t employee = kEmployeeWithRights;
            EXPECT_FALSE(newSession()->Starten(employee));
            ASSERT_EQ(platform_->errorReports().size(), 1u);
            EXPECT_EQ(platform_->errorReports()[0].number, err::kTypeMismatch);
            EXPECT_TRUE(platform_->errorReports()[0].description.contains(
                QStringLiteral("\"%1\" ist keine Zahl").arg(QString::fromUtf8(c.text))));
        }
        s.Execute(QStringLiteral("UPDATE tBenutzerEinstellung SET dsSubKey = $1, dcValue = $2"
                                 " WHERE dsSubKey = $1 OR dsSubKey = 'weg'"),
                  {key, stored});
    }
}

// A component the office lacks: the call that needs it fails with error 429 naming the
// component or the place (the start reports it; a call of the host's raises it to the host).
TEST_P(SessionStartTest, AComponentThatCannotBeCreatedIsNamed) {
    const auto startOn = [&] {
        std::int32_t employee = kEmployeeWithRights;
        EXPECT_FALSE(newSession()->Starten(employee));
    };
    CDBAccess fresh(*platform_);
    fresh.StoppUhren(*session_);
    struct Case {
        test::Creation creation;
        std::function<void()> call;
        const char* named;
    };
    const Case cases[] = {
        {test::Creation::FrmStoppUhr, startOn, "StoppUhrenAnzeigen"},
        {test::Creation::Timer, startOn, "TimerStarten"},
        {test::Creation::PersonStamm, [&] { session_->Mandant(kFirstClient); },
         "\r\nORVkStoppUhren.CStoppUhren.Mandant - Property Let"},
        {test::Creation::Mitarbeiter, [&] { newSession()->plMitarbeiterNr(); },
         "Befehl: Set oMit = New srvQeMit.QeMitarbeiterClass"},
        {test::Creation::GlobaleWerte, [&] { fresh.OptionsWertErmitteln(3); }, "GlobaleWerte"},
        // Loading asks the assessment component about each order's kind.
        {test::Creation::CQeGgwBasis,
         [&] {
             ASSERT_TRUE(starten());  // nothing to load yet
             newOrder(5001);
             startOn();
         },
         "Set oQeGgwBasis = New ORVkQeGgw.CQeGgwBasis"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.named);
        const std::size_t reports = platform_->errorReports().size();
        platform_->failCreation(c.creation);
        const std::optional<OrvError> raised = test::failureOf(c.call);
        platform_->failCreation(c.creation, false);
        ASSERT_EQ(platform_->errorReports().size(), reports + (raised ? 0 : 1));
        const test::ErrorReport report =
            raised ? test::ErrorReport{raised->number(), raised->source(), raised->description()}
                   : platform_->errorReports().back();
        EXPECT_EQ(report.number, err::kCannotCreateObject);
        EXPECT_TRUE((report.source + report.description).contains(QLatin1String(c.named)))
            << (report.source + report.description).toStdString();
    }
}

// The host's client or office, as id and as number; the office is no client and a client no
// office. Set without lookup, both pairs are replaced.
TEST_P(SessionStartTest, ClientAndOfficeNumbersComeFromTheOfficeDatabase) {
    const std::tuple<std::int32_t, bool, std::int32_t> cases[] = {
        {kFirstClient, false, 10001}, {kOffice, true, 1}, {kOffice, false, 0},
        {kFirstClient, true, 0},      {999, false, 0},
    };
    for (const auto& [id, kanzlei, nummer] : cases) {
        kanzlei ? session_->Kanzlei(id) : session_->Mandant(id);
        EXPECT_EQ(kanzlei ? session_->KanzleiNr() : session_->MandantNr(), nummer) << id;
        EXPECT_EQ(kanzlei ? session_->Kanzlei() : session_->Mandant(), id);
    }
    session_->gSetPsIdAndNumber(false, kFirstClient, 10001);
    EXPECT_EQ(session_->MandantNr() + session_->Kanzlei() + session_->KanzleiNr(), 10001);
    session_->gSetPsIdAndNumber(true, kOffice, 1);
    EXPECT_EQ(session_->Mandant() + session_->MandantNr() + session_->KanzleiNr(), 1);
    // The employee number is looked up once.
    start();
    EXPECT_EQ(session_->plMitarbeiterNr(), 11);
    platform_->failCreation(test::Creation::Mitarbeiter);
    EXPECT_EQ(session_->plMitarbeiterNr(), 11);
}

// A gap declined is not recorded; one accepted is a login of its own and idle time. (That a
// logout of another day offers no gap, the gateway's test shows.)
TEST_P(SessionStartTest, ASecondStartTheSameDayOffersTheGapAsIdleTime) {
    // A morning session from 08:00 to 12:00 with its login closed, and the next start at 13:00.
    start();
    advance(4 * 3600);
    gateway().LogOut();
    clock().set(QDateTime(QDate(2026, 3, 16), QTime(13, 0, 0)));
    platform_->messageBoxes().answer(MsgAnswer::No);
    auto afternoon = startedSession();
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-12:00:00/0 13:00:00-/0"));
    EXPECT_EQ(idleTime(*afternoon), QStringLiteral("0 0 0 0"));
    advance(3600);
    afternoon->DbAccess().LogOut();
    clock().set(QDateTime(QDate(2026, 3, 16), QTime(15, 0, 0)));
    platform_->messageBoxes().answer(MsgAnswer::Yes);
    auto evening = startedSession();
    const test::AskedBox& box = platform_->messageBoxes().asked().at(1);
    EXPECT_EQ(box.title, QStringLiteral("Stoppuhren starten"));
    EXPECT_EQ(box.text, QStringLiteral("Sie haben sich heute bereits abgemeldet.\n"
                                       "Soll die Differenzzeit zwischen der vorherigen Abmeldung "
                                       "und der aktuellen Anmeldung zur Leerlaufzeit hinzugefügt "
                                       "werden?"));
    EXPECT_EQ(box.buttons, platform::MsgButtons::YesNo);
    EXPECT_EQ(box.icon, platform::MsgIcon::Question);
    EXPECT_TRUE(box.systemModal);
    // From the logout plus one second to now minus one second: 14:00:01 to 14:59:59.
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-12:00:00/0 13:00:00-14:00:00/0 "
                                       "14:00:01-14:59:59/0 15:00:00-/0"));
    EXPECT_EQ(idleTime(*evening), QStringLiteral("3598 3598 3598 3598"));
}

TEST_P(SessionStartTest, ARestartReloadsOrdersEntriesTextLinesAndTheRunningStopwatch) {
    start();
    session_->LeerlaufAuftrag().Anhalten(false, false);
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
    // The productive orders as they were, text lines with the ids their save gave them (the idle
    // order starts afresh); an entry that still runs begins again at the start.
    const auto productive = [](CStoppUhren& s) { return objects(s, false).section('\n', 2); };
    EXPECT_EQ(productive(*next).toStdString(), productive(*session_).toStdString());
    // That it runs again, counting into the total, the restart of the day's clock shows.
    EXPECT_EQ(next->MandantVorgabe(), running->MandantId());
    EXPECT_EQ(next->AktuellerAuftrag()->Mandant() + next->AktuellerAuftrag()->Angelegenheit(),
              running->Mandant() + running->Angelegenheit());
    EXPECT_EQ(next->LeerlaufAuftrag().Status(), AuftragStatus_InAktiv);
}

ORV_INSTANTIATE_FOR_BACKENDS(SessionStartTest);

}  // namespace
}  // namespace orv
