#include "OfficeTestSupport.h"

#include "office/procedures/OfficeCatalogue.h"
#include "persistence/driver/Connection.h"
#include "session/diagnostics/OrvError.h"

#include <QRegularExpression>

namespace orv::test {
namespace {

// An empty database, migrated by the test.
class OfficeMigrationTest : public BackendTest {
protected:
    QStringList names(db::Database& database, const QString& sql) {
        return tableText(database, sql, {"name"}).split(QStringLiteral(" / "), Qt::SkipEmptyParts);
    }
    // The tables in the order they were created, so that rows go in before rows naming them.
    QStringList tables(db::Database& database) {
        return names(database,
                     backend() == db::Backend::Sqlite
                         ? QStringLiteral("SELECT name FROM sqlite_master WHERE type ="
                                          " 'table' AND name NOT LIKE 'sqlite%' ORDER BY rowid")
                         : QStringLiteral("SELECT relname AS name FROM pg_class WHERE"
                                          " relkind = 'r' AND relnamespace ="
                                          " current_schema()::regnamespace ORDER BY oid"));
    }
    QString columns(db::Database& database, const QString& table) {
        return names(database,
                     backend() == db::Backend::Sqlite
                         ? QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(table)
                         : QStringLiteral("SELECT column_name AS name FROM"
                                          " information_schema.columns WHERE table_schema"
                                          " = current_schema() AND table_name = '%1'"
                                          " ORDER BY ordinal_position")
                               .arg(table))
            .join(QStringLiteral(", "));
    }
};

// Every version a database may have been left at: filled with the demo office's rows as far as
// its tables and columns reach, it migrates to the latest version with every row intact. A new
// migration is covered without a test of its own.
TEST_P(OfficeMigrationTest, EveryVersionMigratesToTheLatestWithItsRowsIntact) {
    TempDatabase demo(backend(), &office::officeCatalogue());
    office::migrate(demo.database());
    ASSERT_TRUE(office::loadDemoData(demo.database()));
    const QString source = backend() == db::Backend::Sqlite
                               ? QStringLiteral("demo.")
                               : QRegularExpression(QStringLiteral("search_path=(\\w+)"))
                                         .match(demo.target().conninfo)
                                         .captured(1) +
                                     QLatin1Char('.');
    const int latest = office::latestSchemaVersion();
    for (int version = 1; version < latest; ++version) {
        SCOPED_TRACE(version);
        TempDatabase older(backend(), &office::officeCatalogue());
        ASSERT_EQ(office::migrate(older.database(), version), version);
        db::Connection& connection = *older.database().connection();
        if (backend() == db::Backend::Sqlite) {
            connection.executeScript("ATTACH DATABASE '" + demo.target().sqlitePath.toStdString() +
                                     "' AS demo");
        }
        std::vector<std::pair<QString, QString>> copied;
        for (const QString& table : tables(older.database())) {
            if (table.compare(QLatin1String("tSchemaVersion"), Qt::CaseInsensitive) != 0) {
                copied.emplace_back(table, columns(older.database(), table));
                connection.execute(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3%1")
                                       .arg(table, copied.back().second, source)
                                       .toStdString());
            }
        }
        EXPECT_EQ(office::migrate(older.database()), latest - version);
        EXPECT_EQ(office::currentSchemaVersion(older.database()), latest);
        for (const auto& kopie : copied) {
            const QString& table = kopie.first;
            const QString& cols = kopie.second;
            const auto differ = [&](const QString& a, const QString& b) {
                return tableText(
                    older.database(),
                    QStringLiteral("SELECT COUNT(*) AS n FROM (SELECT %1 FROM %2 EXCEPT"
                                   " SELECT %1 FROM %3) x")
                        .arg(cols, a, b),
                    {"n"});
            };
            EXPECT_EQ(differ(table, source + table), QStringLiteral("0")) << table.toStdString();
            EXPECT_EQ(differ(source + table, table), QStringLiteral("0")) << table.toStdString();
        }
    }
}

// Started again, also on another workstation: nothing runs, nothing doubles, nothing goes.
TEST_P(OfficeMigrationTest, RunsOnceAndRefusesTheDatabaseOfANewerProgram) {
    EXPECT_EQ(office::currentSchemaVersion(database()), 0);
    EXPECT_EQ(office::migrate(database()), office::latestSchemaVersion());
    db::DbService s(database());
    s.Execute(QStringLiteral("INSERT INTO tLeistungZeiterfassung (ps_id, Status) VALUES (7, 1)"));
    EXPECT_EQ(office::migrate(database()), 0);
    EXPECT_EQ(office::migrate(*temp().openAnother()), 0);
    EXPECT_EQ(tableText(database(),
                        QStringLiteral("SELECT COUNT(*) AS n, COUNT(DISTINCT diVersion)"
                                       " AS d, MAX(diVersion) AS m FROM tSchemaVersion"),
                        {"n", "d", "m"}),
              QStringLiteral("%1|%1|%1").arg(office::latestSchemaVersion()));
    EXPECT_EQ(tableText(database(),
                        QStringLiteral("SELECT COUNT(*) AS n FROM tLeistungZeiterfassung"), {"n"}),
              QStringLiteral("1"));

    s.Execute(
        QStringLiteral("INSERT INTO tSchemaVersion (diVersion, dtAngewendet) VALUES ($1, $2)"),
        {n(office::latestSchemaVersion() + 1), at(2026, 3, 2, 8, 0)});
    const auto refused = failureOf([&] { office::migrate(database()); });
    ASSERT_TRUE(refused.has_value()) << "a newer database was taken";
    EXPECT_TRUE(refused->description().contains(QStringLiteral("neuere Programmversion")));
}

ORV_INSTANTIATE_FOR_BACKENDS(OfficeMigrationTest);

}  // namespace
}  // namespace orv::test
