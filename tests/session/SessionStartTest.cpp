#include "SessionTestSupport.h"

#include "platform/MessageBoxes.h"

#include <gtest/gtest.h>

#include <functional>

namespace orv {
namespace {

using platform::MsgAnswer;
using test::Creation;

// The component as the host creates it, before and at its start.
class SessionStartTest : public test::SessionTest {
protected:
    SessionStartTest() : SessionTest(false) {}

    void failedStart() {
        std::int32_t employee = office::demo::kEmployeeWithRights;
        EXPECT_FALSE(newSession()->Starten(employee));
    }
    // Gives the office's setting the text; nullptr: the office has none.
    void setOption(const char* subKey, const char* text) {
        execute(QStringLiteral("UPDATE tBenutzerEinstellung SET %1 WHERE dsSubKey = '%2'")
                    .arg(text ? QStringLiteral("dcValue = '%1'").arg(QString::fromUtf8(text))
                              : QStringLiteral("dsSubKey = 'weg'"),
                         QLatin1String(subKey)));
    }
};

// The first start creates and starts the idle order. Option texts are read in the user's
// number format, of the employee only the leading number; a missing setting counts as 0, and
// the administrative share needs both share and employee.
TEST_P(SessionStartTest, TheStartCreatesTheIdleOrderAndReadsTheOptionsInGermanFormat) {
    start();
    EXPECT_EQ(table(QStringLiteral("SELECT * FROM tLeistungZeiterfassung ORDER BY 1"),
                    {"VorgangKey", "VorgangParentKey", "Status", "idAuftrag"}),
              QStringLiteral("p0|NULL|1|0 / NULL|p0|1|0"));
    // Each setting changed in turn, then: idle booking order|share|its employee|share active
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"ORV.Brix.Options.KOrg.Verwaltungsmitarbeiter", "7 (Berger)", "5013|10|7|1"},
        {"ORV.Brix.Options.KOrg.Verwaltungsanteil", " 2,5 ", "5013|2.5|7|1"},
        {"ORV.Brix.Options.KOrg.Verwaltungsanteil", nullptr, "5013|0|7|0"},
        {"ORV.Common.KOrg.Zeiterfassung", "", "0|0|7|0"},
    };
    for (const auto& [subKey, text, read] : cases) {
        setOption(subKey, text);
        const auto s = startedSession();
        EXPECT_EQ(QStringLiteral("%1|%2|%3|%4")
                      .arg(s->LeerlaufBuchungsAuftrag())
                      .arg(s->Verwaltungsanteil())
                      .arg(s->Verwaltungsmitarbeiter())
                      .arg(int(s->VerwaltungsanteilAktiv())),
                  QLatin1String(read))
            << subKey;
    }
}

// What the start or a call of the host cannot create or read is reported in German and named:
// the start reports and returns false, a call of the host raises the error to the host.
TEST_P(SessionStartTest, WhatCannotBeCreatedOrReadIsNamedInGerman) {
    struct Case {
        std::optional<Creation> creation;
        std::function<void()> call;
        std::int32_t number;
        const char* where;  // in the call path or the description
        const char* told;   // the description's first line; of a creation, what was not created
    };
    const QString notCreated =
        QStringLiteral("Objekterstellung durch ActiveX-Komponente nicht möglich: ");
    const Case cases[] = {
        {Creation::FrmStoppUhr, [&] { failedStart(); }, err::kCannotCreateObject,
         "CStoppUhren.StoppUhrenAnzeigen", "frmStoppUhr"},
        {Creation::Timer, [&] { failedStart(); }, err::kCannotCreateObject,
         "CStoppUhren.TimerStarten", "ORVkTimer.TimerObjekt"},
        {Creation::GlobaleWerte, [&] { failedStart(); }, err::kCannotCreateObject,
         "CStoppUhren.Starten", "GlobaleWerte"},
        {Creation::PersonStamm, [&] { session_->Mandant(office::demo::kFirstClient); },
         err::kCannotCreateObject, "CStoppUhren.Mandant - Property Let", "PersonStamm"},
        {Creation::Mitarbeiter, [&] { newSession()->plMitarbeiterNr(); }, err::kCannotCreateObject,
         "Befehl: Set oMit = New srvQeMit.QeMitarbeiterClass", "srvQeMit.QeMitarbeiterClass"},
        // Loading asks the assessment component about each order's kind.
        {Creation::CQeGgwBasis,
         [&] {
             ASSERT_TRUE(starten());
             workedOn(5001, 20);
             failedStart();
         },
         err::kCannotCreateObject, "Set oQeGgwBasis = New ORVkQeGgw.CQeGgwBasis",
         "ORVkQeGgw.CQeGgwBasis"},
        // An entry whose order is missing ends the loading.
        {std::nullopt,
         [&] {
             execute(QStringLiteral("UPDATE tLeistungZeiterfassung SET VorgangParentId = 999999,"
                                    " VorgangParentKey = 'a999999' WHERE VorgangParentId = %1")
                         .arg(session_->AuftragZuAuftragId(5001)->Id()));
             failedStart();
         },
         err::kInvalidCall,
         "CStoppUhren.AuftraegeLeistungenLaden\r\nORVkStoppUhren.CStoppUhren.Starten",
         "Ungültiger Prozeduraufruf oder ungültiges Argument: Schlüssel \"a999999\" nicht "
         "gefunden."},
        // The last: no start reads the option any more.
        {std::nullopt,
         [&] {
             setOption("ORV.Brix.Options.KOrg.Verwaltungsanteil", "zehn");
             failedStart();
         },
         err::kTypeMismatch, "CStoppUhren.Starten",
         "Typen unverträglich: \"zehn\" ist keine Zahl."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        const std::size_t reports = platform_->errorReports().size();
        platform_->failCreation(c.creation.value_or(Creation::ErrorServer), c.creation.has_value());
        const std::optional<OrvError> raised = test::failureOf(c.call);
        platform_->failCreation(c.creation.value_or(Creation::ErrorServer), false);
        ASSERT_EQ(platform_->errorReports().size(), reports + (raised ? 0 : 1));
        const test::ErrorReport report =
            raised ? test::ErrorReport{raised->number(), raised->source(), raised->description()}
                   : platform_->errorReports().back();
        EXPECT_EQ(report.number, c.number);
        EXPECT_TRUE((report.source + report.description).contains(QLatin1String(c.where)))
            << (report.source + report.description).toStdString();
        EXPECT_EQ(report.description.section(QStringLiteral("\r\n"), 0, 0),
                  (c.creation ? notCreated : QString()) + QString::fromUtf8(c.told));
    }
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
    session_ = startedSession();
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-12:00:00/0 13:00:00-/0"));
    EXPECT_EQ(idle(), 0);
    advance(3600);
    gateway().LogOut();
    clock().set(QDateTime(QDate(2026, 3, 16), QTime(15, 0, 0)));
    platform_->messageBoxes().answer(MsgAnswer::Yes);
    session_ = startedSession();
    const test::AskedBox& box = platform_->messageBoxes().asked().at(1);
    EXPECT_EQ(box.text, QStringLiteral("Sie haben sich heute bereits abgemeldet.\n"
                                       "Soll die Differenzzeit zwischen der vorherigen Abmeldung "
                                       "und der aktuellen Anmeldung zur Leerlaufzeit hinzugefügt "
                                       "werden?"));
    // From the logout plus one second to now minus one second: 14:00:01 to 14:59:59.
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-12:00:00/0 13:00:00-14:00:00/0 "
                                       "14:00:01-14:59:59/0 15:00:00-/0"));
    counted_ = 3598;
    expectBalanced();
    expectRowsMatchObjects();
}

ORV_INSTANTIATE_FOR_BACKENDS(SessionStartTest);

}  // namespace
}  // namespace orv
