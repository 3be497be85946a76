#include "FakePlatform.h"
#include "TestDatabases.h"

#include "office/demo/DemoData.h"
#include "session/CStoppUhren.h"
#include "session/diagnostics/OrvError.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using office::demo::kEmployeeWithRights;
using office::demo::kFirstClient;
using office::demo::kOffice;

class CStoppUhrenTest : public test::BackendTest {
protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        office::loadDemoData(database());
        platform_ = std::make_unique<test::FakePlatform>(database());
        session_ = std::make_unique<CStoppUhren>(*platform_);
    }
    void TearDown() override {
        session_.reset();
        platform_.reset();
        BackendTest::TearDown();
    }

    struct HostView {
        std::int32_t mandant, mandantNr, kanzlei, kanzleiNr, mitarbeiter;
        bool fakturierte, industrie;
        bool operator==(const HostView&) const = default;
    };
    HostView hostView() const {
        return {session_->Mandant(),       session_->MandantNr(),
                session_->Kanzlei(),       session_->KanzleiNr(),
                session_->MitarbeiterId(), session_->LeistungenAufFakturierteAuftraege(),
                session_->IndustrieZeit()};
    }
    QStringList traceMessages() const {
        QStringList lines;
        for (const test::TraceLine& line : platform_->trace().lines()) {
            lines << line.message;
        }
        return lines;
    }

    std::unique_ptr<test::FakePlatform> platform_;
    std::unique_ptr<CStoppUhren> session_;
};

TEST_P(CStoppUhrenTest, ClientAndOfficeNumbersComeFromTheOfficeDatabase) {
    session_->Mandant(kFirstClient);
    EXPECT_EQ(session_->Mandant(), kFirstClient);
    EXPECT_EQ(session_->MandantNr(), 10001);
    session_->Kanzlei(kOffice);
    EXPECT_EQ(session_->KanzleiNr(), 1);
    // The office is no client and a client no office: the number stays 0.
    session_->Mandant(kOffice);
    EXPECT_EQ(session_->MandantNr(), 0);
    session_->Kanzlei(kFirstClient);
    EXPECT_EQ(session_->Kanzlei(), kFirstClient);
    EXPECT_EQ(session_->KanzleiNr(), 0);
}

TEST_P(CStoppUhrenTest, SettingPersonWithoutLookupReplacesBothPairs) {
    session_->gSetPsIdAndNumber(false, kFirstClient, 10001);
    EXPECT_EQ(hostView(), (HostView{kFirstClient, 10001, 0, 0, 0, false, false}));
    session_->gSetPsIdAndNumber(true, kOffice, 1);
    EXPECT_EQ(hostView(), (HostView{0, 0, kOffice, 1, 0, false, false}));
    session_->gSetPsIdAndNumber(true, 0, 5);
    EXPECT_EQ(hostView(), (HostView{0, 0, 0, 0, 0, false, false}));
    EXPECT_TRUE(traceMessages().contains(QStringLiteral(
        "End gSetPsIdAndNumbermlMandant = 0, mlMandantNr = 0, mlKanzlei = 0, mlKanzleiNr = 0")));
}

TEST_P(CStoppUhrenTest, FailedLookupReachesTheHostWithItsPlace) {
    platform_->failCreation(test::Creation::PersonStamm);
    try {
        session_->Mandant(kFirstClient);
        FAIL() << "kein Fehler";
    } catch (const OrvError& e) {
        EXPECT_EQ(e.number(), err::kCannotCreateObject);
        EXPECT_TRUE(e.source().endsWith(
            QStringLiteral("\r\nORVkStoppUhren.CStoppUhren.Mandant - Property Let")));
    }
    EXPECT_EQ(session_->MandantNr(), 0);
    EXPECT_TRUE(platform_->errorReports().empty());
}

TEST_P(CStoppUhrenTest, HostOnlyPropertiesAreStoredAndReturned) {
    const HostView before = hostView();
    session_->Anzeigen();
    session_->Ausblenden();
    EXPECT_EQ(hostView(), before);
    EXPECT_EQ(platform_->frmStoppUhr().created(), 0);
    session_->IndustrieZeit(true);
    session_->LeistungenAufFakturierteAuftraege(true);
    EXPECT_TRUE(session_->IndustrieZeit());
    EXPECT_TRUE(session_->LeistungenAufFakturierteAuftraege());
}

TEST_P(CStoppUhrenTest, EndingBeforeStartingShowsNothing) {
    EXPECT_FALSE(session_->Beenden());
    EXPECT_TRUE(platform_->messageBoxes().asked().empty());
    EXPECT_TRUE(platform_->errorReports().empty());
    EXPECT_EQ(platform_->frmStoppUhr().created(), 0);
    EXPECT_EQ(platform_->timersCreated(), 0u);
}

TEST_P(CStoppUhrenTest, StartShowsTheWindowAndAFailedStartIsReportedNotThrown) {
    std::int32_t employee = kEmployeeWithRights;
    EXPECT_TRUE(session_->Starten(employee));
    EXPECT_EQ(session_->MitarbeiterId(), kEmployeeWithRights);
    EXPECT_EQ(platform_->frmStoppUhr().anzeigen(), 1);
    EXPECT_EQ(platform_->frmStoppUhr().session(), session_.get());
    EXPECT_TRUE(traceMessages().contains(QStringLiteral("Ende Begin Starten")));

    test::FakePlatform other(database());
    other.failCreation(test::Creation::FrmStoppUhr);
    CStoppUhren failing(other);
    EXPECT_FALSE(failing.Starten(employee));
    ASSERT_EQ(other.errorReports().size(), 1u);
    EXPECT_TRUE(other.errorReports().front().source.endsWith(
        QStringLiteral("ORVkStoppUhren.CStoppUhren.StoppUhrenAnzeigen\r\n"
                       "ORVkStoppUhren.CStoppUhren.Starten")));
    for (const test::TraceLine& line : other.trace().lines()) {
        EXPECT_NE(line.message, QStringLiteral("Ende Begin Starten"));
    }
}

TEST_P(CStoppUhrenTest, EmployeeNumberIsLookedUpOnceAndAFailedCreationIsExplained) {
    std::int32_t employee = kEmployeeWithRights;
    session_->Starten(employee);
    EXPECT_EQ(session_->plMitarbeiterNr(), 11);
    // Cached: a later failure of the employee object does not matter any more.
    platform_->failCreation(test::Creation::Mitarbeiter);
    EXPECT_EQ(session_->plMitarbeiterNr(), 11);

    CStoppUhren fresh(*platform_);
    try {
        fresh.plMitarbeiterNr();
        FAIL() << "kein Fehler";
    } catch (const OrvError& e) {
        EXPECT_TRUE(e.description().contains(
            QStringLiteral("Befehl: Set oMit = New srvQeMit.QeMitarbeiterClass")));
        EXPECT_TRUE(e.description().contains(QStringLiteral("srvQeMit.dll")));
    }
}

ORV_INSTANTIATE_FOR_BACKENDS(CStoppUhrenTest);

}  // namespace
}  // namespace orv
