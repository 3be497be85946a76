// The office database: its schema migrations and the demo office.
#include "OfficeTestSupport.h"

#include "office/procedures/OfficeCatalogue.h"
#include "persistence/driver/Connection.h"
#include "session/diagnostics/OrvError.h"

namespace orv::test {
namespace {

// Every version a database may have been left at: filled with the demo office's rows as far as
// its tables and columns reach, it migrates to the latest version with every row intact. A new
// migration is covered without a test of its own.
class OfficeMigrationTest : public BackendTest {};

TEST_P(OfficeMigrationTest, EveryVersionMigratesToTheLatestWithItsRowsIntact) {
    TempDatabase demo(backend(), &office::officeCatalogue());
    office::migrate(demo.database());
    ASSERT_TRUE(office::loadDemoData(demo.database()));
    const bool sqlite = backend() == db::Backend::Sqlite;
    const QString source =
        sqlite ? QStringLiteral("demo.")
               : tableText(demo.database(), QStringLiteral("SELECT current_schema() AS s"), {"s"}) +
                     u'.';
    const int latest = office::latestSchemaVersion();
    for (int version = 1; version < latest; ++version) {
        SCOPED_TRACE(version);
        TempDatabase older(backend(), &office::officeCatalogue());
        ASSERT_EQ(office::migrate(older.database(), version), version);
        db::Connection& connection = *older.database().connection();
        if (sqlite) {
            connection.executeScript("ATTACH DATABASE '" + demo.target().sqlitePath.toStdString() +
                                     "' AS demo");
        }
        // Each table with its columns, in the order they were created: rows go in before rows
        // naming them.
        const QStringList tables =
            tableText(
                older.database(),
                sqlite
                    ? QStringLiteral("SELECT m.name, group_concat(p.name, ', ') AS cols FROM"
                                     " sqlite_master m JOIN pragma_table_info(m.name) p WHERE"
                                     " m.type = 'table' AND m.name NOT LIKE 'sqlite%' AND"
                                     " lower(m.name) <> 'tschemaversion' GROUP BY m.name"
                                     " ORDER BY MIN(m.rowid)")
                    : QStringLiteral("SELECT c.relname AS name, string_agg(a.attname, ', ' ORDER"
                                     " BY a.attnum) AS cols FROM pg_class c JOIN pg_attribute a ON"
                                     " a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped"
                                     " WHERE c.relkind = 'r' AND c.relnamespace ="
                                     " current_schema()::regnamespace AND c.relname <>"
                                     " 'tschemaversion' GROUP BY c.oid, c.relname ORDER BY c.oid"),
                {"name", "cols"})
                .split(QStringLiteral(" / "));
        for (const QString& table : tables) {
            connection.execute(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3%1")
                                   .arg(table.section('|', 0, 0), table.section('|', 1), source)
                                   .toStdString());
        }
        EXPECT_EQ(office::migrate(older.database()), latest - version);
        EXPECT_EQ(office::currentSchemaVersion(older.database()), latest);
        const QString differ = QStringLiteral(
            "SELECT COUNT(*) AS n FROM (SELECT %1 FROM %2 EXCEPT SELECT %1 FROM %3) x");
        for (const QString& table : tables) {
            const QString here = table.section('|', 0, 0);
            const QString there = source + here;
            const QString columns = table.section('|', 1);
            EXPECT_EQ(tableText(older.database(), differ.arg(columns, here, there), {"n"}) +
                          tableText(older.database(), differ.arg(columns, there, here), {"n"}),
                      QStringLiteral("00"))
                << here.toStdString();
        }
    }
}

// Started again, also on another workstation: nothing runs, nothing doubles, nothing goes.
TEST_P(OfficeMigrationTest, RunsOnceAndRefusesTheDatabaseOfANewerProgram) {
    const int latest = office::latestSchemaVersion();
    EXPECT_EQ(office::migrate(database()), latest);
    database().connection()->executeScript(
        "INSERT INTO tLeistungZeiterfassung (ps_id, Status) VALUES (7, 1)");
    EXPECT_EQ(office::migrate(database()) + office::migrate(*temp().openAnother()), 0);
    EXPECT_EQ(tableText(database(),
                        QStringLiteral("SELECT COUNT(DISTINCT diVersion) AS d, MAX(diVersion) AS m,"
                                       " (SELECT COUNT(*) FROM tLeistungZeiterfassung) AS z"
                                       " FROM tSchemaVersion"),
                        {"d", "m", "z"}),
              QStringLiteral("%1|%1|1").arg(latest));
    database().connection()->executeScript(
        "INSERT INTO tSchemaVersion (diVersion, dtAngewendet) VALUES (" +
        std::to_string(latest + 1) + ", '2026-03-02 08:00:00')");
    const auto refused = failureOf([&] { office::migrate(database()); });
    EXPECT_TRUE(refused &&
                refused->description().contains(QStringLiteral("neuere Programmversion")))
        << "a newer database was taken";
}

ORV_INSTANTIATE_FOR_BACKENDS(OfficeMigrationTest);

class OfficeDemoDataTest : public OfficeDbTest {
protected:
    OfficeDemoDataTest() { demo_ = false; }
};

// The demo office is loaded once and never over what an office already has: not where it would
// take a key in use, not over a setting.
TEST_P(OfficeDemoDataTest, LoadsOnceAndLeavesWhatAnOfficeAlreadyHas) {
    database().connection()->executeScript(
        "INSERT INTO tBenutzerEinstellung (flMitarbeiter, dsSubKey, diKey, dcValue, diDataType)"
        " VALUES (0, 'ORV.Brix.Options.KOrg.Verwaltungsanteil', 1, '25', 3);"
        "INSERT INTO tPersonStamm (Ps_Id, Ps_Nr, Ps_Name) VALUES (103, 55, 'Müller GmbH')");
    const auto error = failureOf([&] { office::loadDemoData(database()); });
    EXPECT_TRUE(error && error->description().contains(QStringLiteral("tPersonStamm")));
    EXPECT_EQ(count(QStringLiteral("tPersonStamm")) + count(QStringLiteral("tAuftrag")), 1);
    execute(QStringLiteral("DELETE FROM tPersonStamm"));
    ASSERT_TRUE(office::loadDemoData(database()));
    // Persons, orders and the office's setting.
    const QString state = QStringLiteral(
        "SELECT (SELECT COUNT(*) FROM tPersonStamm) AS p, COUNT(*) AS k, (SELECT dcValue FROM"
        " tBenutzerEinstellung WHERE diKey = 1 AND dsSubKey ="
        " 'ORV.Brix.Options.KOrg.Verwaltungsanteil') AS v FROM tAuftrag");
    const QString loaded = rows(state, {"p", "k", "v"});
    EXPECT_FALSE(office::loadDemoData(database()) || office::loadDemoData(*temp().openAnother()));
    EXPECT_EQ(rows(state, {"p", "k", "v"}), loaded);
    EXPECT_TRUE(loaded.endsWith(QStringLiteral("|25"))) << loaded.toStdString();
}

ORV_INSTANTIATE_FOR_BACKENDS(OfficeDemoDataTest);

}  // namespace
}  // namespace orv::test
