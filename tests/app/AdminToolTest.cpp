// orv-admin, the program itself: its command lines, its commands on real databases of both
// backends, and SQLite files or servers that are missing, or no database at all.
#include "admin/AdminArguments.h"

#include "TestDatabases.h"
#include "office/schema/Migrations.h"
#include "persistence/driver/Connection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

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
    QProcess process;
    process.start(QStringLiteral(ORV_ADMIN_EXE), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

// Command lines and SQLite files, in this order: each run's exit code and German text. A wrong
// command line touches nothing; a file that is no database, a missing file or folder, a server
// that does not answer are failures that name it, change nothing, create nothing and show no
// password; a file recreated starts empty.
TEST(AdminProgramTest, EveryRunEndsWithItsExitCodeAndAGermanText) {
    QTemporaryDir dir;
    const QString notes = dir.filePath("notizen.db"), file = dir.filePath("buero.sqlite");
    QFile notesFile(notes);
    ASSERT_TRUE(notesFile.open(QIODevice::WriteOnly) && notesFile.write("Notizen\n") == 8);
    notesFile.close();
    const std::tuple<QStringList, int, const char*> cases[] = {
        {{}, kExitUsage, "Kein Befehl angegeben."},
        {{"loeschen", "x.sqlite"}, kExitUsage, "Unbekannter Befehl „loeschen“"},
        {{"migrate", "kanzlei.txt"}, kExitUsage, "„kanzlei.txt“ ist kein gültiges Ziel"},
        {{"migrate", "x.sqlite", "--ueberschreiben"}, kExitUsage, "Unbekannte Option „--"},
        {{"zeige", "x.sqlite", "7x"}, kExitUsage, "„7x“ ist keine gültige Mitarbeiter-Id"},
        {{"neu", "x.sqlite"}, kExitUsage, "orv-admin neu x.sqlite --ueberschreiben"},
        {{"neu", "postgres:dbname=k", "--ueberschreiben"}, kExitUsage, "nur für SQLite-Dateien"},
        {{"--help"}, kExitOk, "orv-admin neu <ziel> --ueberschreiben"},
        {{"neu", notes, "--ueberschreiben"}, kExitFailure, "ist keine SQLite-Datenbank"},
        {{"migrate", notes}, kExitFailure, "meldet einen Fehler"},
        {{"zeige", dir.filePath("fehlt.sqlite"), "7"}, kExitFailure, "gibt es nicht"},
        {{"migrate", dir.filePath("kein/ordner/buero.sqlite")}, kExitFailure, "Das Verzeichnis"},
        {{"uebersicht", "postgresql://anna:geheim@/k?host=" + dir.filePath("kein") + "&port=1"},
         kExitFailure,
         "PostgreSQL-Datenbank"},
        {{"demo", file}, kExitOk, "Demodaten geladen."},
        {{"zeige", file, "4711"}, kExitFailure, "Id 4711 gibt es in dieser"},
        {{"neu", file, "--ueberschreiben"}, kExitOk, "wurde gelöscht"},
        {{"uebersicht", file}, kExitOk, "Mitarbeiter: 0\n(keine)"},
    };
    for (const auto& [arguments, code, text] : cases) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.code, code) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_THAT(run.out + run.err, AllOf(HasSubstr(text), Not(HasSubstr("geheim"))));
    }
    ASSERT_TRUE(notesFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(notesFile.readAll(), "Notizen\n");
    for (const char* gone : {"fehlt.sqlite", "kein"}) {
        EXPECT_FALSE(QFileInfo::exists(dir.filePath(gone))) << gone;
    }
}

class AdminToolTest : public test::BackendTest {
protected:
    QString target() {
        const db::DbTarget& t = temp().target();
        return (t.backend == db::Backend::Sqlite ? "sqlite:" : "postgres:") + t.sqlitePath +
               t.conninfo;
    }
};

// A database through the commands: reading ones refuse it without schema and create nothing;
// migrate and demo run once; the overview shows the office; the show command lists one
// employee's rows, orders first, entries by their order, each text line right under its entry,
// and another employee's rows stay out.
TEST_P(AdminToolTest, ADatabaseThroughTheCommands) {
    const ToolRun refused = runTool({"uebersicht", target()});
    EXPECT_EQ(refused.code, kExitFailure);
    EXPECT_EQ(refused.out, "");
    EXPECT_THAT(refused.err, HasSubstr("orv-admin migrate " + target().toStdString()));
    EXPECT_FALSE(backend() == db::Backend::Sqlite ? QFileInfo::exists(temp().target().sqlitePath)
                                                  : office::currentSchemaVersion(database()) != 0);

    const std::string latest = std::to_string(office::latestSchemaVersion());
    EXPECT_THAT(runTool({"migrate", target()}).out,
                HasSubstr("Schemaversion alt: 0, neu: " + latest));
    EXPECT_THAT(runTool({"migrate", target()}).out,
                HasSubstr("Schemaversion " + latest + ": schon aktuell"));
    EXPECT_THAT(runTool({"demo", target()}).out, HasSubstr("Demodaten geladen."));
    EXPECT_THAT(runTool({"demo", target()}).out, HasSubstr("Demodaten waren schon da"));
    EXPECT_THAT(runTool({"uebersicht", target()}).out, HasSubstr("Bäckerei Krume"));

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
    EXPECT_THAT(run.out, AllOf(HasSubstr("Anna Berger): 2 Aufträge, 2 Zeiteinträge, 2 Textzeilen"),
                               Not(HasSubstr("Fremde Zeile"))));
    const QRegularExpression rows(QStringLiteral(
        "\n *102 +a102 .*1 aktiv +5001 +10001 Bäckerei Krume .*01/2026 lfd\\. 1 .*"
        "02\\.03\\.2026 08:00:00 .*1:30:00 +Buchhaltung März *\n"
        " *104 +101 +p0 +1 aktiv .*0:01:01 +Telefon *\n"
        " *103 +102 +a102 +2 beendet .*02\\.03\\.2026 09:30:00 .*Belege sortiert *\n"
        " *Textzeile 201: Kontoauszüge Januar\n *Textzeile 202: Rückfrage beim Mandanten\n"));
    EXPECT_TRUE(QString::fromStdString(run.out).contains(rows)) << run.out;
    // An employee without rows is told from an unknown one (4711 above).
    EXPECT_THAT(
        runTool({"zeige", target(), "9"}).out,
        AllOf(HasSubstr("Mitarbeiter 9 (Nr. "), HasSubstr("hat keine vorläufigen Zeilen.")));
}

ORV_INSTANTIATE_FOR_BACKENDS(AdminToolTest);

}  // namespace
}  // namespace orv::admin
