// orv-admin: its command line, its commands on real databases of both backends, and SQLite files
// or servers that are missing, or no database at all.
#include "admin/AdminArguments.h"
#include "admin/AdminCommands.h"
#include "admin/TextTable.h"

#include "TestDatabases.h"
#include "office/demo/DemoData.h"
#include "office/schema/Migrations.h"
#include "persistence/driver/Connection.h"

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
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int code = runAdmin(arguments, outStream, errStream);
    return {code, out.toStdString(), err.toStdString()};
}

// What a command line comes to: the call, or the German reason it is refused.
std::string parsedText(const QStringList& arguments) {
    const ParsedArguments parsed = parseAdminArguments(arguments);
    const char* names[] = {"Hilfe", "migrate", "demo", "zeige", "uebersicht", "neu"};
    return parsed.call ? QStringLiteral("%1 %2 %3")
                             .arg(QLatin1String(names[static_cast<int>(parsed.call->command)]),
                                  parsed.call->target.sqlitePath + parsed.call->target.conninfo)
                             .arg(parsed.call->employeeId)
                             .toStdString()
                       : "Fehler: " + parsed.error.toStdString();
}

TEST(AdminArgumentsTest, CommandLinesComeToTheirCallOrAGermanReason) {
    const std::pair<QStringList, const char*> cases[] = {
        {{"zeige", "postgres:host=/tmp dbname=k", "7"}, "zeige host=/tmp dbname=k 7"},
        {{"neu", "--ueberschreiben", "sqlite:/daten/buero.db"}, "neu /daten/buero.db 0"},
        {{"uebersicht", "demo/buero.sqlite"}, "uebersicht demo/buero.sqlite 0"},
        {{"--help"}, "Hilfe  0"},
        {{"-h"}, "Hilfe  0"},
        {{"hilfe"}, "Hilfe  0"},
        {{}, "Fehler: Kein Befehl"},
        {{"loeschen", "x.sqlite"}, "Fehler: Unbekannter Befehl „loeschen“"},
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
    for (const auto& [arguments, expected] : cases) {
        EXPECT_THAT(parsedText(arguments), HasSubstr(expected));
    }
    EXPECT_THAT(runTool({"--help"}).out, AllOf(HasSubstr("orv-admin migrate <ziel>"),
                                               HasSubstr("orv-admin neu <ziel> --ueberschreiben")));
}

// Columns as wide as their widest cell in characters, not bytes.
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
}

class AdminToolTest : public test::BackendTest {
protected:
    QString target() {
        const db::DbTarget& t = temp().target();
        return t.backend == db::Backend::Sqlite ? QStringLiteral("sqlite:") + t.sqlitePath
                                                : QStringLiteral("postgres:") + t.conninfo;
    }
};

// One line per row of the employee, orders first, entries by their order, each text line right
// under its entry; another employee's rows stay out.
TEST_P(AdminToolTest, ShowListsOneEmployeesRowsOrdersFirstWithTheirTextLines) {
    ASSERT_EQ(runTool({"demo", target()}).code, kExitOk);
    database().connection()->executeScript(
        "INSERT INTO tLeistungZeiterfassung (idLeistungZeiterfassung, ps_id, idAuftrag,"
        " VorgangKey, VorgangParentId, VorgangParentKey, Status, Beginn, Ende, Text1, Text2,"
        " Sekunden) VALUES"
        " (101, 7, 0, 'p0', 0, NULL, 0, '2026-03-02 08:00:00', NULL, '', '', 0),"
        " (102, 7, 5001, 'a102', 0, NULL, 1, '2026-03-02 08:00:00', NULL, 'Buchhaltung März',"
        " '', 5400),"
        " (103, 7, 5001, NULL, 102, 'a102', 2, '2026-03-02 08:00:00', '2026-03-02 09:30:00', '',"
        " 'Belege sortiert', 5400),"
        " (104, 7, 0, NULL, 101, 'p0', 1, '2026-03-02 09:30:00', NULL, '', 'Telefon', 61),"
        " (105, 8, 5003, 'a105', 0, NULL, 1, '2026-03-02 08:00:00', NULL, 'Fremde Zeile', '', 0);"
        "INSERT INTO tLeistungZeiterfassungTexte (idLeistungZeiterfassungTexte,"
        " flLeistungZeiterfassung, LeistungZeiterfassungText) VALUES"
        " (201, 103, 'Kontoauszüge Januar'), (202, 103, 'Rückfrage beim Mandanten')");

    const ToolRun run = runTool({"zeige", target(), "7"});
    ASSERT_EQ(run.code, kExitOk) << run.err;
    EXPECT_THAT(run.out, AllOf(HasSubstr("Mitarbeiter 7 (Nr. "),
                               HasSubstr("Anna Berger): 2 Aufträge, 2 Zeiteinträge, 2 Textzeilen"),
                               Not(HasSubstr("Fremde Zeile"))));
    const QRegularExpression rows(QStringLiteral(
        "\n *102 +a102 .*1 aktiv +5001 +10001 Bäckerei Krume .*01/2026 lfd\\. 1 .*"
        "02\\.03\\.2026 08:00:00 .*1:30:00 +Buchhaltung März *\n"
        " *104 +101 +p0 +1 aktiv .*0:01:01 +Telefon *\n"
        " *103 +102 +a102 +2 beendet .*02\\.03\\.2026 09:30:00 .*Belege sortiert *\n"
        " *Textzeile 201: Kontoauszüge Januar\n *Textzeile 202: Rückfrage beim Mandanten\n"));
    EXPECT_TRUE(QString::fromStdString(run.out).contains(rows)) << run.out;

    // An employee without rows is told from an unknown one (see the program's test).
    EXPECT_THAT(
        runTool({"zeige", target(), "9"}).out,
        AllOf(HasSubstr("Mitarbeiter 9 (Nr. "), HasSubstr("hat keine vorläufigen Zeilen.")));
}

// A database through the tool's commands: reading ones refuse it without schema and create
// nothing; migrate and demo run once; the overview shows the office.
TEST_P(AdminToolTest, ADatabaseThroughTheCommands) {
    for (const QStringList& arguments :
         {QStringList{"zeige", target(), "7"}, QStringList{"uebersicht", target()}}) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.code, kExitFailure);
        EXPECT_EQ(run.out, "");
        EXPECT_THAT(run.err, HasSubstr("orv-admin migrate " + target().toStdString()));
    }
    EXPECT_FALSE(backend() == db::Backend::Sqlite ? QFileInfo::exists(temp().target().sqlitePath)
                                                  : office::currentSchemaVersion(database()) != 0);

    const std::string latest = std::to_string(office::latestSchemaVersion());
    EXPECT_THAT(runTool({"migrate", target()}).out,
                HasSubstr("Schemaversion alt: 0, neu: " + latest));
    EXPECT_THAT(runTool({"migrate", target()}).out,
                HasSubstr("Schemaversion " + latest + ": schon aktuell"));
    EXPECT_THAT(runTool({"demo", target()}).out, HasSubstr("Demodaten geladen."));
    EXPECT_THAT(runTool({"demo", target()}).out, HasSubstr("Demodaten waren schon da"));

    const ToolRun overview = runTool({"uebersicht", target()});
    ASSERT_EQ(overview.code, kExitOk) << overview.err;
    const std::string& out = overview.out;
    EXPECT_THAT(out, AllOf(HasSubstr("Mitarbeiter: 3\n"), HasSubstr("Anna Berger"),
                           HasSubstr("28, 34, 38"), HasSubstr("Mandanten: 10, Kanzleien: 1\n"),
                           HasSubstr("Bäckerei Krume"), HasSubstr("Aufträge: 18\n")));
    // The invoiced order names its invoice.
    EXPECT_TRUE(QString::fromStdString(out).contains(
        QRegularExpression(QStringLiteral("\n%1  .*Nr\\. ").arg(office::demo::kInvoicedOrder))))
        << out;
}

ORV_INSTANTIATE_FOR_BACKENDS(AdminToolTest);

class AdminToolFileTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

TEST_F(AdminToolFileTest, RecreateDropsTheFileWithItsJournalsAndStartsEmpty) {
    const QString file = path("buero.sqlite");
    ASSERT_EQ(runTool({"demo", file}).code, kExitOk);
    ASSERT_TRUE(QFile(file + "-journal").open(QIODevice::WriteOnly));

    const ToolRun run = runTool({"neu", file, "--ueberschreiben"});
    ASSERT_EQ(run.code, kExitOk) << run.err;
    EXPECT_THAT(run.out, AllOf(HasSubstr("wurde gelöscht"), HasSubstr("Schemaversion alt: 0")));
    EXPECT_FALSE(QFileInfo::exists(file + "-journal"));
    EXPECT_THAT(runTool({"uebersicht", file}).out,
                AllOf(HasSubstr("Mitarbeiter: 0\n(keine)"), HasSubstr("Aufträge: 0")));
}

// A file that is no database, a missing file or folder, a folder, a server that does not
// answer: each is a failure that names it, changes nothing, creates nothing and shows no
// password.
TEST_F(AdminToolFileTest, WhatIsNoDatabaseIsReportedAndLeftAlone) {
    const QByteArray notes = "Wichtige Notizen, keine Datenbank.\n";
    QFile file(path("notizen.db"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(notes) == notes.size());
    file.close();
    ASSERT_TRUE(QDir(dir_.path()).mkdir("ordner.sqlite"));
    const std::pair<QStringList, const char*> cases[] = {
        {{"neu", path("notizen.db"), "--ueberschreiben"}, "ist keine SQLite-Datenbank"},
        {{"migrate", path("notizen.db")}, "meldet einen Fehler"},
        {{"zeige", path("fehlt.sqlite"), "7"}, "gibt es nicht"},
        {{"migrate", path("kein/ordner/buero.sqlite")}, "Das Verzeichnis"},
        {{"migrate", path("ordner.sqlite")}, "ist ein Verzeichnis"},
        {{"uebersicht",
          "postgresql://anna:geheim@/kanzlei?host=" + path("kein-server") + "&port=1"},
         "PostgreSQL-Datenbank"},
    };
    for (const auto& [arguments, reason] : cases) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.code, kExitFailure) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_THAT(run.err, AllOf(HasSubstr(reason), Not(HasSubstr("geheim"))));
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), notes);
    EXPECT_FALSE(QFileInfo::exists(path("fehlt.sqlite")) || QFileInfo::exists(path("kein")));
}

// The program itself: exit codes and UTF-8 text on its standard streams.
TEST_F(AdminToolFileTest, TheProgramWritesUtf8AndExitsWithTheCommandsCode) {
    const std::tuple<QStringList, int, const char*> cases[] = {
        {{}, kExitUsage, "Kein Befehl angegeben."},
        {{"zeige", "x.sqlite", "abc"}, kExitUsage, "orv-admin --help"},
        {{"migrate", path("buero.sqlite")}, kExitOk, "SQLite-Datei „"},
        {{"zeige", path("buero.sqlite"), "4711"}, kExitFailure, "Id 4711 gibt es in dieser"},
    };
    for (const auto& [arguments, code, text] : cases) {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(ORV_ADMIN_EXE), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), code);
        EXPECT_THAT(process.readAll().toStdString(), HasSubstr(text));
    }
}

}  // namespace
}  // namespace orv::admin
