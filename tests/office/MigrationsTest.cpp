#include "OfficeTestSupport.h"

#include "persistence/Dialect.h"
#include "persistence/driver/Connection.h"
#include "session/diagnostics/OrvError.h"

namespace orv::test {
namespace {

// Every table and view the component and the office's objects read or write.
const char* const kRelations[] = {
    "tPersonStamm",
    "tMitarbeiter",
    "tMitarbeiterRecht",
    "tGlobaleWerte",
    "tAuftragArt",
    "tAngelegenheit",
    "tGgwKennerArt",
    "tAuftrag",
    "tRechnung",
    "tStdBuText",
    "tLeistung",
    "tLeistungText",
    "tBenutzerEinstellung",
    "tGgwBasis",
    "tGgwBetrag",
    "tGGWObjName",
    "tGgwBgBetrag",
    "tGGWGrundlage",
    "tLeistungZeiterfassung",
    "tLeistungZeiterfassungTexte",
    "tLeistungZeiterfassungLogins",
    "tLeistungZeiterfassungPausen",
    "V_ORV_Common_Korg_Leistungen_Zeiterfassung",
    "V_ORV_Common_Korg_Leistungen_Zeiterfassung_Texte",
};

class OfficeMigrationTest : public BackendTest {};

TEST_P(OfficeMigrationTest, BuildsAnEmptyDatabaseAndAppliesOnlyOnce) {
    EXPECT_EQ(office::currentSchemaVersion(database()), 0);

    EXPECT_EQ(office::migrate(database()), office::latestSchemaVersion());
    EXPECT_EQ(office::currentSchemaVersion(database()), office::latestSchemaVersion());
    db::DbService s(database());
    s.Open();
    for (const char* relation : kRelations) {
        SCOPED_TRACE(relation);
        EXPECT_NO_THROW(
            s.OpenQuery(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(relation))));
        EXPECT_FALSE(s.hasRow());
    }
    s.Execute(QStringLiteral("INSERT INTO tLeistungZeiterfassung (ps_id, Status) VALUES (7, 1)"));

    // A second start, also from another workstation: nothing runs, nothing is duplicated or lost.
    EXPECT_EQ(office::migrate(database()), 0);
    EXPECT_EQ(office::migrate(*temp().openAnother()), 0);
    s.OpenQuery(
        QStringLiteral("SELECT COUNT(*) AS n, COUNT(DISTINCT diVersion) AS d,"
                       " MAX(diVersion) AS m FROM tSchemaVersion"));
    EXPECT_EQ(s.FieldLong("n"), office::latestSchemaVersion());
    EXPECT_EQ(s.FieldLong("d"), office::latestSchemaVersion());
    EXPECT_EQ(s.FieldLong("m"), office::latestSchemaVersion());
    s.OpenQuery(QStringLiteral("SELECT COUNT(*) AS n FROM tLeistungZeiterfassung"));
    EXPECT_EQ(s.FieldLong("n"), 1);
}

TEST_P(OfficeMigrationTest, RefusesADatabaseOfANewerProgramVersion) {
    office::migrate(database());
    db::DbService s(database());
    s.Execute(QStringLiteral("INSERT INTO tSchemaVersion (diVersion, dcBeschreibung, dtAngewendet)"
                             " VALUES ($1, 'neu', $2)"),
              {std::int64_t{office::latestSchemaVersion() + 1}, at(2026, 3, 2, 8, 0)});
    try {
        office::migrate(database());
        FAIL() << "Eine neuere Datenbank wurde nicht abgelehnt.";
    } catch (const OrvError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("neuere Programmversion")))
            << e.description().toStdString();
    }
    EXPECT_EQ(office::currentSchemaVersion(database()), office::latestSchemaVersion() + 1);
}

// The scalar function exists on both backends and answers by the rights table.
TEST_P(OfficeMigrationTest, RightsFunctionAnswersFromTheRightsTable) {
    office::migrate(database());
    db::DbService s(database());
    s.Execute(
        QStringLiteral("INSERT INTO tMitarbeiter (idMitarbeiter, dlMitarbeiterNr, dcName)"
                       " VALUES (41, 1, 'A'), (42, 2, 'B')"));
    s.Execute(
        QStringLiteral("INSERT INTO tMitarbeiterRecht (flMitarbeiter, dlRecht)"
                       " VALUES (41, 38), (42, 28)"));
    const char* query = db::dialectFor(backend()).rightCheckQuery;
    auto right = [&](int employee, int number) {
        s.OpenQuery(QString::fromLatin1(query).arg(employee).arg(number));
        EXPECT_TRUE(s.hasRow());
        return s.FieldBool("x", false);
    };
    EXPECT_TRUE(right(41, 38));
    EXPECT_FALSE(right(41, 28));
    EXPECT_TRUE(right(42, 28));
    EXPECT_FALSE(right(43, 38));
}

ORV_INSTANTIATE_FOR_BACKENDS(OfficeMigrationTest);

}  // namespace
}  // namespace orv::test
