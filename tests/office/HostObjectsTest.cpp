#include "FakePlatform.h"
#include "OfficeTestSupport.h"

#include "office/host/OfficeErstellungsInfo.h"
#include "office/host/OfficeMitarbeiter.h"
#include "office/host/OfficePersonStamm.h"
#include "session/diagnostics/OrvError.h"
#include "session/diagnostics/Version.h"

#include <gtest/gtest-spi.h>

namespace orv::test {
namespace {

using office::demo::kEmployeeWithoutRights;
using office::demo::kEmployeeWithRights;
using office::demo::kFirstClient;
using office::demo::kLastClient;
using office::demo::kOffice;

const QString kMitarbeiterCommand = QStringLiteral("Set oMit = New srvQeMit.QeMitarbeiterClass");
const QString kMitarbeiterLibrary = QStringLiteral("srvQeMit.dll");

class HostObjectsTest : public OfficeDbTest {
protected:
    void SetUp() override {
        OfficeDbTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            loadDemo();
        }
    }
};

struct PersonCase {
    int id;
    bool kanzlei;
    bool found;
    int nummer;
};

TEST_P(HostObjectsTest, PersonStammFindsAnIdOnlyAsTheKindAskedFor) {
    office::OfficePersonStamm person(database());
    const PersonCase cases[] = {
        {kFirstClient, false, true, 10001},
        {kLastClient, false, true, 10006},
        {kOffice, true, true, 1},
        {kFirstClient, true, false, 0},
        {kOffice, false, false, 0},
        {999, false, false, 0},
        {999, true, false, 0},
        {0, false, false, 0},
    };
    // One object asked in turn: a failed load must not leave the previous number behind.
    for (const PersonCase& c : cases) {
        person.setId(c.id);
        person.setKanzlei(c.kanzlei);
        EXPECT_EQ(person.Load(true), c.found) << c.id << (c.kanzlei ? " als Kanzlei" : "");
        EXPECT_EQ(person.Nummer(), c.nummer) << c.id << (c.kanzlei ? " als Kanzlei" : "");
    }
}

TEST_P(HostObjectsTest, PersonStammReadsTheShortNameOnlyWithDetailsAndCloseForgetsAll) {
    office::OfficePersonStamm person(database());
    EXPECT_EQ(person.Nummer(), 0);
    person.setId(kFirstClient);
    ASSERT_TRUE(person.Load(false));
    EXPECT_EQ(person.Nummer(), 10001);
    EXPECT_TRUE(person.Kurzname().isEmpty());
    ASSERT_TRUE(person.Load(true));
    EXPECT_EQ(person.Kurzname(), QStringLiteral("Bäckerei Krume"));

    person.setId(kOffice);
    person.setKanzlei(true);
    ASSERT_TRUE(person.Load(true));
    person.Close();
    EXPECT_EQ(person.Nummer(), 0);
    EXPECT_TRUE(person.Kurzname().isEmpty());
    // Closing also forgets the office flag: the same id is now asked as a client.
    person.setId(kOffice);
    EXPECT_FALSE(person.Load(true));
}

TEST_P(HostObjectsTest, MitarbeiterNumberById) {
    office::OfficeMitarbeiter employee(database());
    EXPECT_EQ(employee.Nummer(), 0);
    employee.setId(kEmployeeWithRights);
    ASSERT_TRUE(employee.Load(true));
    EXPECT_EQ(employee.Nummer(), 11);
    EXPECT_EQ(employee.Name(), QStringLiteral("Anna Berger"));
    employee.setId(kEmployeeWithoutRights);
    ASSERT_TRUE(employee.Load(false));
    EXPECT_EQ(employee.Nummer(), 12);
    EXPECT_TRUE(employee.Name().isEmpty());
    employee.setId(kOffice);
    EXPECT_FALSE(employee.Load(true));
    EXPECT_EQ(employee.Nummer(), 0);
    employee.setId(kEmployeeWithRights);
    ASSERT_TRUE(employee.Load(true));
    employee.Close();
    EXPECT_EQ(employee.Nummer(), 0);
    EXPECT_FALSE(employee.Load(true));
}

// A refused statement is an error for the caller's report, never "not found".
TEST_P(HostObjectsTest, AFailingDatabaseRaisesInsteadOfFindingNothing) {
    office::OfficePersonStamm person(database());
    person.setId(kFirstClient);
    database().faults().failStatement(1);
    try {
        person.Load(true);
        FAIL() << "Der Fehler der Datenbank wurde verschluckt.";
    } catch (const OrvError& e) {
        EXPECT_EQ(e.number(), err::kDatabase);
    }
    office::OfficeMitarbeiter employee(database());
    employee.setId(kEmployeeWithRights);
    database().faults().failStatement(1);
    EXPECT_THROW(employee.Load(true), OrvError);
    EXPECT_EQ(employee.Nummer(), 0);
}

TEST_P(HostObjectsTest, ErstellungsInfoNamesCommandLibraryAndTheDatabaseState) {
    office::OfficeErstellungsInfo info(database());
    const QString text = info.Info(kMitarbeiterCommand, kMitarbeiterLibrary);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Befehl: ") + kMitarbeiterCommand +
                                QStringLiteral("\r\nBibliothek: ") + kMitarbeiterLibrary +
                                QStringLiteral("\r\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Programm: ORVkStoppUhren %1.%2.%3\r\n")
                                  .arg(version::kMajor)
                                  .arg(version::kMinor)
                                  .arg(version::kRevision)))
        << text.toStdString();
    const QString where = backend() == db::Backend::Sqlite
                              ? QStringLiteral("SQLite-Datei ") + temp().target().sqlitePath
                              : QStringLiteral("PostgreSQL (");
    EXPECT_TRUE(text.contains(QStringLiteral("Bürodatenbank: ") + where)) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("antwortet, Schemastand %1 (dieses Programm kennt "
                                             "bis %1)")
                                  .arg(office::latestSchemaVersion())))
        << text.toStdString();

    database().faults().failStatement(1);
    const QString failed = info.Info(kMitarbeiterCommand, kMitarbeiterLibrary);
    EXPECT_TRUE(
        failed.contains(QStringLiteral("Zustand der Bürodatenbank: antwortet nicht, Fehler %1: ")
                            .arg(err::kDatabase)))
        << failed.toStdString();
}

TEST_P(HostObjectsTest, FactoryHandsOutHostObjectsOnItsDatabaseAndOneErstellungsInfo) {
    FakePlatform platform(database());
    EXPECT_EQ(&platform.officeDatabase(), &database());
    auto person = platform.createPersonStamm();
    person->setId(kFirstClient + 1);
    ASSERT_TRUE(person->Load(true));
    EXPECT_EQ(person->Nummer(), 10002);
    auto employee = platform.createMitarbeiter();
    employee->setId(kEmployeeWithoutRights);
    ASSERT_TRUE(employee->Load(true));
    EXPECT_EQ(employee->Nummer(), 12);
    EXPECT_EQ(&platform.erstellungsInfo(), &platform.erstellungsInfo());

    platform.failCreation(Creation::Mitarbeiter);
    try {
        platform.createMitarbeiter();
        FAIL() << "Die Erstellung hätte scheitern sollen.";
    } catch (const OrvError& e) {
        EXPECT_EQ(e.number(), err::kCannotCreateObject);
        EXPECT_TRUE(e.description().contains(QStringLiteral("srvQeMit.QeMitarbeiterClass")));
    }
}

ORV_INSTANTIATE_FOR_BACKENDS(HostObjectsTest);

// A database that cannot be reached: the text says so, and a password never reaches a report.
TEST(ErstellungsInfoTest, UnreachableDatabaseIsReportedWithoutItsPassword) {
    QTemporaryDir dir;
    db::Database sqlite(db::DbTarget::sqlite(dir.filePath(QStringLiteral("fehlt/office.sqlite"))));
    const QString sqliteText =
        office::OfficeErstellungsInfo(sqlite).Info(kMitarbeiterCommand, kMitarbeiterLibrary);
    EXPECT_TRUE(sqliteText.contains(QStringLiteral("Zustand der Bürodatenbank: antwortet nicht")))
        << sqliteText.toStdString();

    db::Database server(db::DbTarget::postgres(QStringLiteral("host=") + dir.path() +
                                               QStringLiteral(" port=1 user=anna password=geheim "
                                                              "dbname=kanzlei")));
    const QString serverText =
        office::OfficeErstellungsInfo(server).Info(kMitarbeiterCommand, kMitarbeiterLibrary);
    EXPECT_TRUE(serverText.contains(QStringLiteral("password=*** dbname=kanzlei")))
        << serverText.toStdString();
    EXPECT_TRUE(serverText.contains(QStringLiteral("Zustand der Bürodatenbank: antwortet nicht")))
        << serverText.toStdString();
    EXPECT_FALSE(serverText.contains(QStringLiteral("geheim"))) << serverText.toStdString();
}

// --- the fakes every later test relies on

class FakesTest : public ::testing::Test {
protected:
    TempDatabase temp_{db::Backend::Sqlite, nullptr};
    FakePlatform platform_{temp_.database()};
};

class CountingNotify final : public platform::TimerNotify {
public:
    void TimerTick() override { ++ticks; }
    int ticks = 0;
};

TEST_F(FakesTest, TimerTicksOnlyWhileStartedAndStaysReadableAfterRelease) {
    CountingNotify notify;
    SettableClock& clock = platform_.settableClock();
    const QDateTime begin = clock.now();
    {
        auto timer = platform_.createTimer();
        ManualTimer& manual = *platform_.timer();
        timer->take(&notify);
        EXPECT_FALSE(manual.tick(clock, 5));  // not started yet, but time passes
        timer->start();
        EXPECT_TRUE(manual.tick(clock, 2));
        timer->stop();
        EXPECT_FALSE(manual.tick());
        timer->start();
        timer->take(nullptr);
        EXPECT_FALSE(manual.tick());  // nobody takes the ticks any more
        timer->finish();
    }
    EXPECT_EQ(notify.ticks, 1);
    EXPECT_EQ(begin.secsTo(clock.now()), 7);
    ManualTimer& released = *platform_.timer();
    EXPECT_TRUE(released.released());
    EXPECT_TRUE(released.finished());
    EXPECT_FALSE(released.running());
    EXPECT_EQ(released.starts(), 2);
    EXPECT_EQ(released.takes(), 2);
    EXPECT_EQ(
        platform_.journal().entries(),
        QStringList({"Timer.create", "Timer.take", "Timer.start", "Timer.TimerTick", "Timer.stop",
                     "Timer.start", "Timer.take", "Timer.finish", "Timer.release"}));

    EXPECT_NONFATAL_FAILURE(released.start(), "nach finish()");
}

TEST_F(FakesTest, ClockCountsRealSecondsAcrossTheChangeToSummerTime) {
    SettableClock clock;
    clock.set(QDateTime(QDate(2026, 3, 29), QTime(1, 30, 0, 750)));
    EXPECT_EQ(clock.now().time(), QTime(1, 30, 0));
    clock.advance(3600);
    EXPECT_EQ(clock.now().time(), QTime(3, 30, 0));
}

TEST_F(FakesTest, MessageBoxesAnswerInOrderAndFailTheTestWhenTheScriptDoesNotFit) {
    using platform::MsgAnswer;
    using platform::MsgButtons;
    using platform::MsgIcon;
    ScriptedMessageBoxes& boxes = platform_.messageBoxes();
    boxes.answer(MsgAnswer::No);
    boxes.answer(MsgAnswer::Cancel);
    EXPECT_EQ(boxes.show(QStringLiteral("Erste?"), MsgButtons::YesNo, MsgIcon::Question,
                         QStringLiteral("Eins"), true),
              MsgAnswer::No);
    EXPECT_EQ(boxes.show(QStringLiteral("Zweite?"), MsgButtons::OkCancel, MsgIcon::Exclamation,
                         QStringLiteral("Zwei")),
              MsgAnswer::Cancel);
    ASSERT_EQ(boxes.asked().size(), 2u);
    EXPECT_EQ(boxes.asked()[0].title, QStringLiteral("Eins"));
    EXPECT_TRUE(boxes.asked()[0].systemModal);
    EXPECT_EQ(boxes.asked()[1].icon, MsgIcon::Exclamation);
    EXPECT_FALSE(boxes.asked()[1].systemModal);

    MsgAnswer unscripted = MsgAnswer::No;
    EXPECT_NONFATAL_FAILURE(
        unscripted = boxes.show(QStringLiteral("Dritte?"), MsgButtons::YesNoCancel,
                                MsgIcon::Question, QStringLiteral("Drei")),
        "ohne vorbereitete Antwort");
    EXPECT_EQ(unscripted, MsgAnswer::Yes);
    boxes.answer(MsgAnswer::Yes);
    MsgAnswer misfit = MsgAnswer::No;
    EXPECT_NONFATAL_FAILURE(misfit = boxes.show(QStringLiteral("Fertig."), MsgButtons::OkOnly,
                                                MsgIcon::Information, QStringLiteral("Vier")),
                            "passt zu keiner");
    EXPECT_EQ(misfit, MsgAnswer::Ok);
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedMessageBoxes leftOver;
            leftOver.answer(MsgAnswer::Ok);
        },
        "nie abgefragt");
}

}  // namespace
}  // namespace orv::test
