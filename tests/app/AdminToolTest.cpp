#include "admin/AdminArguments.h"
#include "admin/AdminCommands.h"
#include "admin/OfficeListing.h"
#include "admin/TextTable.h"

#include "TestDatabases.h"
#include "TestQueries.h"
#include "office/demo/DemoData.h"
#include "office/schema/Migrations.h"
#include "persistence/DbService.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <string>
#include <tuple>
#include <vector>

namespace orv::admin {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

struct ToolRun {
    int code = -1;
    std::string out;
    std::string err;
};

ToolRun runTool(const QStringList& arguments) {
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    ToolRun run;
    run.code = runAdmin(arguments, outStream, errStream);
    run.out = out.toStdString();
    run.err = err.toStdString();
    return run;
}

// ---------------------------------------------------------------------------------------------
// Arguments

TEST(AdminArgumentsTest, RejectsBadCallsWithAGermanReason) {
    struct Case {
        QStringList arguments;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {{}, "Kein Befehl"},
        {{"loeschen", "x.sqlite"}, "Unbekannter Befehl „loeschen“"},
        {{"migrate"}, "fehlt das Ziel"},
        {{"migrate", "  "}, "fehlt das Ziel"},
        {{"migrate", "kanzlei.txt"}, "„kanzlei.txt“ ist kein gültiges Ziel"},
        {{"migrate", "sqlite:"}, "kein gültiges Ziel"},
        {{"migrate", "x.sqlite", "y.sqlite"}, "Zu viele Argumente"},
        {{"migrate", "x.sqlite", "--ueberschreiben"}, "Unbekannte Option „--ueberschreiben“"},
        {{"zeige", "x.sqlite"}, "fehlt die Mitarbeiter-Id"},
        {{"zeige", "x.sqlite", "sieben"}, "„sieben“ ist keine gültige Mitarbeiter-Id"},
        {{"zeige", "x.sqlite", "7x"}, "„7x“ ist keine gültige Mitarbeiter-Id"},
        {{"zeige", "x.sqlite", "0"}, "keine gültige Mitarbeiter-Id"},
        {{"zeige", "x.sqlite", "-3"}, "keine gültige Mitarbeiter-Id"},
        {{"zeige", "x.sqlite", "99999999999"}, "keine gültige Mitarbeiter-Id"},
        {{"neu", "x.sqlite"}, "orv-admin neu x.sqlite --ueberschreiben"},
        {{"neu", "postgres:dbname=kanzlei", "--ueberschreiben"}, "nur für SQLite-Dateien"},
        {{"neu", "postgresql:///kanzlei", "--ueberschreiben"}, "nur für SQLite-Dateien"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const ParsedArguments parsed = parseAdminArguments(c.arguments);
        EXPECT_FALSE(parsed.call.has_value());
        EXPECT_THAT(parsed.error.toStdString(), HasSubstr(c.reason));
    }
}

TEST(AdminArgumentsTest, AcceptsEachCommandWithItsTarget) {
    ParsedArguments parsed = parseAdminArguments({"zeige", "postgres:host=/tmp dbname=k", "7"});
    ASSERT_TRUE(parsed.call.has_value()) << parsed.error.toStdString();
    EXPECT_EQ(parsed.call->command, AdminCommand::Show);
    EXPECT_EQ(parsed.call->target.backend, db::Backend::Postgres);
    EXPECT_EQ(parsed.call->target.conninfo, QStringLiteral("host=/tmp dbname=k"));
    EXPECT_EQ(parsed.call->employeeId, 7);

    parsed = parseAdminArguments({"neu", "--ueberschreiben", "sqlite:/daten/buero.db"});
    ASSERT_TRUE(parsed.call.has_value()) << parsed.error.toStdString();
    EXPECT_EQ(parsed.call->command, AdminCommand::Recreate);
    EXPECT_EQ(parsed.call->target.sqlitePath, QStringLiteral("/daten/buero.db"));

    parsed = parseAdminArguments({"uebersicht", "demo/buero.sqlite"});
    ASSERT_TRUE(parsed.call.has_value());
    EXPECT_EQ(parsed.call->command, AdminCommand::Overview);
    EXPECT_EQ(parsed.call->target.backend, db::Backend::Sqlite);

    for (const char* help : {"--help", "-h", "hilfe"}) {
        parsed = parseAdminArguments({help});
        ASSERT_TRUE(parsed.call.has_value());
        EXPECT_EQ(parsed.call->command, AdminCommand::Help);
    }
}

TEST(AdminArgumentsTest, UsageErrorsExitWithTwoAndPointToTheHelp) {
    const ToolRun run = runTool({"zeige", "x.sqlite", "abc"});
    EXPECT_EQ(run.code, kExitUsage);
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(run.err, AllOf(HasSubstr("orv-admin: „abc“"), HasSubstr("orv-admin --help")));

    const ToolRun help = runTool({"--help"});
    EXPECT_EQ(help.code, kExitOk);
    EXPECT_THAT(help.out, AllOf(HasSubstr("orv-admin migrate <ziel>"),
                                HasSubstr("orv-admin neu <ziel> --ueberschreiben")));
    EXPECT_EQ(help.err, "");
}

// ---------------------------------------------------------------------------------------------
// Formatting

TEST(TextTableTest, PadsColumnsToTheirWidestCellCountingCharactersNotBytes) {
    TextTable table({{"Id", TextTable::Align::Right}, {"Name"}, {"Notiz"}});
    table.addRow({"7", "Jürgen Öztürk", "x"});
    table.addRow({"1234", "Al"});
    table.addDetail("Textzeile 1: über");
    EXPECT_EQ(table.render().toStdString(),
              "  Id  Name           Notiz\n"
              "--------------------------\n"
              "   7  Jürgen Öztürk  x\n"
              "1234  Al\n"
              "    Textzeile 1: über\n");
    EXPECT_THROW(table.addRow({"1", "2", "3", "4"}), std::invalid_argument);
    TextTable empty({{"A"}});
    EXPECT_THROW(empty.addDetail("x"), std::logic_error);
    // A status the listing does not know, and a negative duration of a damaged row, stay legible.
    EXPECT_EQ(statusText(5).toStdString() + ' ' + statusText(-1).toStdString(), "5 -1");
    EXPECT_EQ(durationText(90061).toStdString() + ' ' + durationText(-61).toStdString(),
              "25:01:01 -0:01:01");
}

// ---------------------------------------------------------------------------------------------
// Commands on a real database, both backends

class AdminToolTest : public test::BackendTest {
protected:
    QString target() const {
        const db::DbTarget& t = const_cast<AdminToolTest*>(this)->temp().target();
        return t.backend == db::Backend::Sqlite ? QStringLiteral("sqlite:") + t.sqlitePath
                                                : QStringLiteral("postgres:") + t.conninfo;
    }

    // A provisional row as the stopwatch leaves it; an order's key names its own id.
    int insertRow(int employee, int order, const QString& key, int parentId,
                  const QString& parentKey, int status, const QDateTime& begin,
                  const QDateTime& end, const QString& text1, const QString& text2, int seconds) {
        const QString id = test::tableText(
            database(),
            QStringLiteral("INSERT INTO tLeistungZeiterfassung (ps_id, idAuftrag, VorgangKey,"
                           " VorgangParentId, VorgangParentKey, Status, Beginn, Ende, Text1, Text2,"
                           " Sekunden) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11)"
                           " RETURNING idLeistungZeiterfassung AS id"),
            {"id"},
            {std::int64_t{employee}, std::int64_t{order},
             key.isEmpty() ? db::DbValue{} : db::DbValue{key}, std::int64_t{parentId},
             parentKey.isEmpty() ? db::DbValue{} : db::DbValue{parentKey}, std::int64_t{status},
             begin, end.isValid() ? db::DbValue{end} : db::DbValue{}, text1, text2,
             std::int64_t{seconds}});
        if (key == QLatin1String("a0")) {
            db::DbService(database())
                .Execute(
                    QStringLiteral("UPDATE tLeistungZeiterfassung SET VorgangKey = 'a%1' WHERE "
                                   "idLeistungZeiterfassung = %1")
                        .arg(id));
        }
        return id.toInt();
    }
    int insertText(int row, const QString& text) {
        return test::tableText(
                   database(),
                   QStringLiteral("INSERT INTO tLeistungZeiterfassungTexte"
                                  " (flLeistungZeiterfassung, LeistungZeiterfassungText)"
                                  " VALUES ($1, $2) RETURNING"
                                  " idLeistungZeiterfassungTexte AS id"),
                   {"id"}, {std::int64_t{row}, text})
            .toInt();
    }

    static QDateTime at(int day, int hour, int minute) {
        return QDateTime(QDate(2026, 3, day), QTime(hour, minute));
    }
};

TEST_P(AdminToolTest, MigrateReportsBothVersionsAndASecondRunChangesNothing) {
    const std::string latest = std::to_string(office::latestSchemaVersion());
    const ToolRun first = runTool({"migrate", target()});
    EXPECT_EQ(first.code, kExitOk) << first.err;
    EXPECT_THAT(first.out, HasSubstr("Schemaversion alt: 0, neu: " + latest));
    EXPECT_EQ(office::currentSchemaVersion(database()), office::latestSchemaVersion());

    const ToolRun second = runTool({"migrate", target()});
    EXPECT_EQ(second.code, kExitOk) << second.err;
    EXPECT_THAT(second.out, HasSubstr("Schemaversion " + latest + ": schon aktuell"));
}

TEST_P(AdminToolTest, DemoLoadsOnceAndTheOverviewShowsTheOffice) {
    const ToolRun demo = runTool({"demo", target()});
    ASSERT_EQ(demo.code, kExitOk) << demo.err;
    EXPECT_THAT(demo.out, HasSubstr("Demodaten geladen."));
    const ToolRun again = runTool({"demo", target()});
    EXPECT_EQ(again.code, kExitOk) << again.err;
    EXPECT_THAT(again.out,
                AllOf(HasSubstr("schon aktuell"), HasSubstr("Demodaten waren schon da")));

    const ToolRun overview = runTool({"uebersicht", target()});
    ASSERT_EQ(overview.code, kExitOk) << overview.err;
    EXPECT_THAT(overview.out, AllOf(HasSubstr("Mitarbeiter: 3\n"), HasSubstr("Anna Berger"),
                                    HasSubstr("28, 34, 38"), HasSubstr("Jonas Keller"),
                                    HasSubstr("Mandanten: 10, Kanzleien: 1\n"),
                                    HasSubstr("Bäckerei Krume"), HasSubstr("Aufträge: 18\n")));
    // The invoiced order names its invoice, the others do not.
    const std::string& out = overview.out;
    const auto invoiced = out.find("\n" + std::to_string(office::demo::kInvoicedOrder) + "  ");
    ASSERT_NE(invoiced, std::string::npos) << out;
    EXPECT_THAT(out.substr(invoiced + 1, out.find('\n', invoiced + 1) - invoiced - 1),
                HasSubstr("Nr. "));
}

TEST_P(AdminToolTest, ShowListsOneEmployeesRowsOrdersFirstWithTheirTextLines) {
    ASSERT_EQ(runTool({"demo", target()}).code, kExitOk);
    const int employee = office::demo::kEmployeeWithRights;
    const int idle = insertRow(employee, 0, "p0", 0, "", 0, at(2, 8, 0), {}, "", "", 0);
    const int order =
        insertRow(employee, 5001, "a0", 0, "", 1, at(2, 8, 0), {}, "Buchhaltung März", "", 5400);
    const int entry = insertRow(employee, 5001, "", order, QStringLiteral("a%1").arg(order), 2,
                                at(2, 8, 0), at(2, 9, 30), "", "Belege sortiert", 5400);
    const int idleEntry =
        insertRow(employee, 0, "", idle, "p0", 1, at(2, 9, 30), {}, "", "Telefon", 61);
    const int firstLine = insertText(entry, "Kontoauszüge Januar");
    const int secondLine = insertText(entry, "Rückfrage beim Mandanten");
    insertRow(office::demo::kEmployeeWithoutRights, 5003, "a0", 0, "", 1, at(2, 8, 0), {},
              "Fremde Zeile", "", 0);

    const ToolRun run = runTool({"zeige", target(), QString::number(employee)});
    ASSERT_EQ(run.code, kExitOk) << run.err;
    const std::string& out = run.out;
    EXPECT_THAT(out, HasSubstr("Mitarbeiter 7 (Nr. "));
    EXPECT_THAT(out, HasSubstr("Anna Berger): 2 Aufträge, 2 Zeiteinträge, 2 Textzeilen"));
    EXPECT_THAT(out, Not(HasSubstr("Fremde Zeile")));

    // One line per row, orders (parent 0) first, entries by their order, each text line right
    // under its entry; the order row carries the office's order, client and matter; dates and
    // durations read well.
    QStringList lines;
    for (const QString& line : QString::fromStdString(out).split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1String("Textzeile ")) ||
            line.contains(
                QRegularExpression(QStringLiteral("Buchhaltung März|Belege sortiert|Telefon")))) {
            lines << line.trimmed();
        }
    }
    ASSERT_EQ(lines.size(), 5) << out;
    EXPECT_THAT(
        lines[0].toStdString(),
        AllOf(HasSubstr("a" + std::to_string(order)), HasSubstr("1 aktiv"), HasSubstr("5001"),
              HasSubstr("10001 Bäckerei Krume"), HasSubstr("01/2026 lfd. 1"),
              HasSubstr("02.03.2026 08:00:00"), HasSubstr("1:30:00")));
    EXPECT_THAT(lines[1].toStdString(),
                AllOf(HasSubstr(std::to_string(idleEntry)), HasSubstr("p0"), HasSubstr("0:01:01")));
    EXPECT_THAT(lines[2].toStdString(), AllOf(HasSubstr("Belege sortiert"), HasSubstr("2 beendet"),
                                              HasSubstr("02.03.2026 09:30:00")));
    EXPECT_EQ(lines[3], QStringLiteral("Textzeile %1: Kontoauszüge Januar").arg(firstLine));
    EXPECT_EQ(lines[4], QStringLiteral("Textzeile %1: Rückfrage beim Mandanten").arg(secondLine));
}

TEST_P(AdminToolTest, ShowTellsAnEmployeeWithoutRowsFromAnUnknownOne) {
    ASSERT_EQ(runTool({"demo", target()}).code, kExitOk);
    const ToolRun none = runTool({"zeige", target(), "8"});
    EXPECT_EQ(none.code, kExitOk) << none.err;
    EXPECT_THAT(none.out, AllOf(HasSubstr("Mitarbeiter 8 (Nr. "), HasSubstr("Jonas Keller"),
                                HasSubstr("hat keine vorläufigen Zeilen.")));

    const ToolRun unknown = runTool({"zeige", target(), "4711"});
    EXPECT_EQ(unknown.code, kExitFailure);
    EXPECT_EQ(unknown.out, "");
    EXPECT_THAT(unknown.err, HasSubstr("Einen Mitarbeiter mit der Id 4711 gibt es in dieser "
                                       "Datenbank nicht."));
}

TEST_P(AdminToolTest, ReadingCommandsRefuseADatabaseWithoutSchemaAndCreateNothing) {
    for (const QStringList& arguments :
         {QStringList{"zeige", target(), "7"}, QStringList{"uebersicht", target()}}) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.code, kExitFailure);
        EXPECT_EQ(run.out, "");
        EXPECT_THAT(run.err, HasSubstr("orv-admin migrate " + target().toStdString()));
    }
    if (backend() == db::Backend::Sqlite) {
        EXPECT_FALSE(QFileInfo::exists(temp().target().sqlitePath));
    } else {
        EXPECT_EQ(office::currentSchemaVersion(database()), 0);
    }
}

TEST_P(AdminToolTest, RecreateRefusesPostgresAndAFileWithoutTheFlag) {
    ASSERT_EQ(runTool({"demo", target()}).code, kExitOk);

    const ToolRun refused = runTool({"neu", target()});
    EXPECT_EQ(refused.code, kExitUsage);
    EXPECT_THAT(refused.err, backend() == db::Backend::Sqlite
                                 ? HasSubstr("--ueberschreiben")
                                 : HasSubstr("nur für SQLite-Dateien"));
    if (backend() == db::Backend::Postgres) {
        const ToolRun flagged = runTool({"neu", target(), "--ueberschreiben"});
        EXPECT_EQ(flagged.code, kExitUsage);
        EXPECT_THAT(flagged.err, HasSubstr("nur für SQLite-Dateien"));
    }
    // Nothing was dropped.
    const ToolRun overview = runTool({"uebersicht", target()});
    EXPECT_EQ(overview.code, kExitOk) << overview.err;
    EXPECT_THAT(overview.out, HasSubstr("Mitarbeiter: 3\n"));
}

ORV_INSTANTIATE_FOR_BACKENDS(AdminToolTest);

// ---------------------------------------------------------------------------------------------
// SQLite files and unreachable servers

class AdminToolFileTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

TEST_F(AdminToolFileTest, RecreateDropsTheFileWithItsJournalsAndStartsEmpty) {
    const QString file = path("buero.sqlite");
    ASSERT_EQ(runTool({"demo", file}).code, kExitOk);
    QFile stale(file + "-journal");
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();

    const ToolRun run = runTool({"neu", file, "--ueberschreiben"});
    ASSERT_EQ(run.code, kExitOk) << run.err;
    EXPECT_THAT(run.out, AllOf(HasSubstr("wurde gelöscht"), HasSubstr("Schemaversion alt: 0")));
    EXPECT_FALSE(QFileInfo::exists(file + "-journal"));

    const ToolRun overview = runTool({"uebersicht", file});
    EXPECT_EQ(overview.code, kExitOk) << overview.err;
    EXPECT_THAT(overview.out,
                AllOf(HasSubstr("Mitarbeiter: 0\n(keine)"), HasSubstr("Aufträge: 0")));
}

TEST_F(AdminToolFileTest, RecreateLeavesAFileThatIsNoDatabaseAlone) {
    const QString file = path("notizen.db");
    QFile notes(file);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("Wichtige Notizen, keine Datenbank.\n");
    notes.close();

    const ToolRun run = runTool({"neu", file, "--ueberschreiben"});
    EXPECT_EQ(run.code, kExitFailure);
    EXPECT_THAT(run.err, HasSubstr("ist keine SQLite-Datenbank"));
    ASSERT_TRUE(notes.open(QIODevice::ReadOnly));
    EXPECT_EQ(notes.readAll(), QByteArray("Wichtige Notizen, keine Datenbank.\n"));

    // The other commands report the driver's refusal instead of touching it.
    const ToolRun migrate = runTool({"migrate", file});
    EXPECT_EQ(migrate.code, kExitFailure);
    EXPECT_THAT(migrate.err, HasSubstr("meldet einen Fehler"));
}

TEST_F(AdminToolFileTest, MissingFilesAndFoldersAreReportedNotCreated) {
    const ToolRun show = runTool({"zeige", path("fehlt.sqlite"), "7"});
    EXPECT_EQ(show.code, kExitFailure);
    EXPECT_THAT(show.err, HasSubstr("gibt es nicht"));
    EXPECT_FALSE(QFileInfo::exists(path("fehlt.sqlite")));

    const ToolRun migrate = runTool({"migrate", path("kein/ordner/buero.sqlite")});
    EXPECT_EQ(migrate.code, kExitFailure);
    EXPECT_THAT(migrate.err, HasSubstr("Das Verzeichnis"));
    EXPECT_FALSE(QFileInfo::exists(path("kein")));

    ASSERT_TRUE(QDir(dir_.path()).mkdir("ordner.sqlite"));
    const ToolRun directory = runTool({"migrate", path("ordner.sqlite")});
    EXPECT_EQ(directory.code, kExitFailure);
    EXPECT_THAT(directory.err, HasSubstr("ist ein Verzeichnis"));
}

TEST_F(AdminToolFileTest, AnUnreachableServerIsAFailureWithoutThePassword) {
    const ToolRun run =
        runTool({"uebersicht",
                 "postgresql://anna:geheim@/kanzlei?host=" + path("kein-server") + "&port=1"});
    EXPECT_EQ(run.code, kExitFailure);
    EXPECT_THAT(run.err, AllOf(HasSubstr("PostgreSQL-Datenbank"), HasSubstr("meldet einen Fehler"),
                               Not(HasSubstr("geheim"))));
}

// The program itself: exit codes and UTF-8 text on its standard streams.
TEST_F(AdminToolFileTest, TheProgramWritesUtf8AndExitsWithTheCommandsCode) {
    auto start = [](const QStringList& arguments) {
        QProcess process;
        process.start(QStringLiteral(ORV_ADMIN_EXE), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return std::tuple(process.exitCode(), process.readAllStandardOutput(),
                          process.readAllStandardError());
    };
    auto [code, out, err] = start({});
    EXPECT_EQ(code, kExitUsage);
    EXPECT_THAT(err.toStdString(), HasSubstr("Kein Befehl angegeben."));

    std::tie(code, out, err) = start({"migrate", path("buero.sqlite")});
    EXPECT_EQ(code, kExitOk) << err.toStdString();
    EXPECT_THAT(out.toStdString(), HasSubstr("SQLite-Datei „"));

    std::tie(code, out, err) = start({"zeige", path("buero.sqlite"), "4711"});
    EXPECT_EQ(code, kExitFailure);
    EXPECT_THAT(err.toStdString(), HasSubstr("gibt es in dieser Datenbank nicht"));
}

}  // namespace
}  // namespace orv::admin
