#include "OfficeTestSupport.h"

#include "session/diagnostics/OrvError.h"

namespace orv::test {
namespace {

class OfficeMigrationTest : public OfficeDbTest {
    void SetUp() override { BackendTest::SetUp(); }
};

TEST_P(OfficeMigrationTest, BuildsAnEmptyDatabaseOnceAndKeepsItsRows) {
    EXPECT_EQ(office::currentSchemaVersion(database()), 0);
    EXPECT_EQ(office::migrate(database()), office::latestSchemaVersion());
    EXPECT_EQ(office::currentSchemaVersion(database()), office::latestSchemaVersion());
    for (const char* relation :
         {"tPersonStamm", "tMitarbeiterRecht", "tGlobaleWerte", "tGgwKennerArt", "tAuftrag",
          "tRechnung", "tStdBuText", "tLeistungText", "tBenutzerEinstellung", "tGGWObjName",
          "tGGWGrundlage", "tLeistungZeiterfassungLogins", "tLeistungZeiterfassungPausen",
          "tMitarbeiterAbwesenheit", "tAuftragBenachrichtigung", "tAuftragNachlauf",
          "V_ORV_Common_Korg_Leistungen_Zeiterfassung",
          "V_ORV_Common_Korg_Leistungen_Zeiterfassung_Texte"}) {
        EXPECT_EQ(count(QLatin1String(relation)), 0) << relation;
    }
    db::DbService s(database());
    s.Execute(QStringLiteral("INSERT INTO tLeistungZeiterfassung (ps_id, Status) VALUES (7, 1)"));

    // Started again, also on another workstation: nothing runs, nothing doubles, nothing goes.
    EXPECT_EQ(office::migrate(database()), 0);
    EXPECT_EQ(office::migrate(*temp().openAnother()), 0);
    EXPECT_EQ(rows(QStringLiteral("SELECT COUNT(*) AS n, COUNT(DISTINCT diVersion) AS d,"
                                  " MAX(diVersion) AS m FROM tSchemaVersion"),
                   {"n", "d", "m"}),
              QStringLiteral("%1|%1|%1").arg(office::latestSchemaVersion()));
    EXPECT_EQ(count(QStringLiteral("tLeistungZeiterfassung")), 1);
}

// An office that worked with the program before the attendance record: its rows stay, and the
// record is added beside them.
TEST_P(OfficeMigrationTest, AddsTheAttendanceRecordToADatabaseOfTheTimeRecordingStep) {
    ASSERT_EQ(office::migrate(database(), 4), 4);
    EXPECT_EQ(office::currentSchemaVersion(database()), 4);
    db::DbService s(database());
    EXPECT_THROW(s.OpenQuery(QStringLiteral("SELECT COUNT(*) FROM tMitarbeiterAbwesenheit")),
                 OrvError);
    s.CloseQuery();
    s.Execute(
        QStringLiteral("INSERT INTO tMitarbeiter (dlMitarbeiterNr, dcName)"
                       " VALUES (11, 'Anna Berger')"));
    s.Execute(QStringLiteral("INSERT INTO tLeistungZeiterfassungPausen (Ps_id, PauseVon)"
                             " VALUES (7, $1)"),
              {at(2026, 3, 2, 12, 0)});

    EXPECT_EQ(office::migrate(database()), office::latestSchemaVersion() - 4);
    EXPECT_EQ(office::currentSchemaVersion(database()), office::latestSchemaVersion());
    EXPECT_EQ(rows(QStringLiteral("SELECT dcBeschreibung FROM tSchemaVersion WHERE diVersion = 5"),
                   {"dcBeschreibung"}),
              QStringLiteral("Abwesenheiten der Mitarbeiter"));
    EXPECT_EQ(rows(QStringLiteral("SELECT dcName FROM tMitarbeiter"), {"dcName"}),
              QStringLiteral("Anna Berger"));
    EXPECT_EQ(rows(QStringLiteral("SELECT Ps_id, PauseVon FROM tLeistungZeiterfassungPausen"),
                   {"Ps_id", "PauseVon"}),
              QStringLiteral("7|%1").arg(db::DbService::SqlDate(at(2026, 3, 2, 12, 0))));
    s.Execute(QStringLiteral("INSERT INTO tMitarbeiterAbwesenheit"
                             " (dlMitarbeiterNr, diArt, dtBeginn) VALUES (11, 0, $1)"),
              {at(2026, 3, 2, 12, 0)});
    EXPECT_EQ(rows(QStringLiteral("SELECT dcText, dtEnde FROM tMitarbeiterAbwesenheit"),
                   {"dcText", "dtEnde"}),
              QStringLiteral("|NULL"));
}

// An office of the attendance step: its rows stay, and the order notices come beside them.
TEST_P(OfficeMigrationTest, AddsTheOrderNoticesToADatabaseOfTheAttendanceStep) {
    ASSERT_EQ(office::migrate(database(), 5), 5);
    db::DbService s(database());
    EXPECT_THROW(s.OpenQuery(QStringLiteral("SELECT COUNT(*) FROM tAuftragNachlauf")), OrvError);
    s.CloseQuery();
    s.Execute(QStringLiteral("INSERT INTO tMitarbeiterAbwesenheit (dlMitarbeiterNr, diArt,"
                             " dcText, dtBeginn) VALUES (11, 3, 'Dienstreise', $1)"),
              {at(2026, 3, 2, 9, 0)});

    EXPECT_EQ(office::migrate(database()), office::latestSchemaVersion() - 5);
    EXPECT_EQ(rows(QStringLiteral("SELECT dcBeschreibung FROM tSchemaVersion WHERE diVersion = 6"),
                   {"dcBeschreibung"}),
              QStringLiteral("Benachrichtigungen und Nachlauf der Aufträge"));
    EXPECT_EQ(
        rows(QStringLiteral("SELECT dlMitarbeiterNr, diArt, dcText, dtBeginn"
                            " FROM tMitarbeiterAbwesenheit"),
             {"dlMitarbeiterNr", "diArt", "dcText", "dtBeginn"}),
        QStringLiteral("11|3|Dienstreise|%1").arg(db::DbService::SqlDate(at(2026, 3, 2, 9, 0))));
    s.Execute(QStringLiteral("INSERT INTO tAuftragBenachrichtigung (flAuftrag, dtZeit)"
                             " VALUES (5001, $1)"),
              {at(2026, 3, 2, 9, 0)});
    s.Execute(QStringLiteral("INSERT INTO tAuftragNachlauf (flAuftrag, dtLetzteBuchung)"
                             " VALUES (5001, $1)"),
              {at(2026, 3, 2, 9, 0)});
    EXPECT_EQ(rows(QStringLiteral("SELECT flMitarbeiter, diArt FROM tAuftragBenachrichtigung"),
                   {"flMitarbeiter", "diArt"}),
              QStringLiteral("0|0"));
    EXPECT_EQ(rows(QStringLiteral("SELECT dlBuchungen FROM tAuftragNachlauf"), {"dlBuchungen"}),
              QStringLiteral("1"));
    // One mark per order.
    EXPECT_THROW(s.Execute(QStringLiteral("INSERT INTO tAuftragNachlauf (flAuftrag,"
                                          " dtLetzteBuchung) VALUES (5001, $1)"),
                           {at(2026, 3, 3, 9, 0)}),
                 OrvError);
}

TEST_P(OfficeMigrationTest, RefusesTheDatabaseOfANewerProgram) {
    office::migrate(database());
    db::DbService s(database());
    s.Execute(
        QStringLiteral("INSERT INTO tSchemaVersion (diVersion, dtAngewendet) VALUES ($1, $2)"),
        {n(office::latestSchemaVersion() + 1), at(2026, 3, 2, 8, 0)});
    try {
        office::migrate(database());
        FAIL() << "Eine neuere Datenbank wurde angenommen.";
    } catch (const OrvError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("neuere Programmversion"))) << e.what();
    }
}

ORV_INSTANTIATE_FOR_BACKENDS(OfficeMigrationTest);

}  // namespace
}  // namespace orv::test
