#include "OfficeTestSupport.h"

#include "persistence/Dialect.h"
#include "session/diagnostics/OrvError.h"

namespace orv::test {
namespace {

class OfficeLoginTest : public OfficeDbTest {
protected:
    std::int32_t anmeldung(std::int32_t employee, const QDateTime& when) {
        db::DbProcedure p(database());
        EXPECT_TRUE(p.Prepare(QStringLiteral("S_ORV_Common_Korg_Leistungserfassung_Anmeldung")));
        p.AddLong("@MitarbeiterID", employee);
        p.AddDate("@Anmeldung", when);
        p.AddLong("@AnmeldungId", 0);
        p.Execute();
        return p.OutLong("@AnmeldungId");
    }

    std::int32_t login(std::int32_t employee, const QDateTime& von, const QDateTime& bis,
                       std::int32_t art) {
        db::DbProcedure p(database());
        EXPECT_TRUE(p.Prepare(QStringLiteral("dbo.S_ORV_Common_Korg_Leistungserfassung_Login")));
        p.AddLong("@MitarbeiterID", employee);
        p.AddDate("@Anmeldung", von);
        p.AddDate("@Abmeldung", bis);
        p.AddLong("@LoginArt", art);
        p.AddLong("@AnmeldungId", 0);
        p.Execute();
        return p.OutLong("@AnmeldungId");
    }

    std::int32_t pruefen(std::int32_t employee, const QDateTime& von, const QDateTime& bis) {
        db::DbProcedure p(database());
        EXPECT_TRUE(p.Prepare(QStringLiteral("S_ORV_Common_Korg_Leistungserfassung_LoginPruefen")));
        p.AddLong("@MitarbeiterID", employee);
        p.AddDate("@Anmeldung", von);
        p.AddDate("@Abmeldung", bis);
        p.AddLong("@Return", 0);
        p.Execute();
        return p.OutLong("@Return");
    }

    QString getSetting(std::int32_t employee, const QString& subKey, std::int32_t key) {
        db::DbProcedure p(database());
        EXPECT_TRUE(p.Prepare(QStringLiteral("dbo.S_ORV_VelmarNET_Get_UserSetting")));
        p.AddLong("@MitarbeiterID", employee);
        p.AddText("@SubKey", subKey);
        p.AddLong("@Key", key);
        p.AddText("@Value", QStringLiteral("vorher"));
        p.AddLong("@DataType", 3);
        p.Execute();
        return p.OutText("@Value");
    }

    std::int32_t setSetting(std::int32_t employee, const QString& subKey, std::int32_t key,
                            const QString& value) {
        db::DbProcedure p(database());
        EXPECT_TRUE(p.Prepare(QStringLiteral("dbo.S_ORV_VelmarNET_Set_UserSetting")));
        p.AddLong("@MitarbeiterID", employee);
        p.AddText("@SubKey", subKey);
        p.AddLong("@Key", key);
        p.AddText("@Value", value);
        p.AddLong("@DataType", 3);
        return p.Execute();
    }
};

TEST_P(OfficeLoginTest, AnmeldungOpensALoginThatLogOutCloses) {
    const std::int32_t first = anmeldung(7, at(2026, 3, 2, 8, 0));
    const std::int32_t second = anmeldung(7, at(2026, 3, 2, 13, 0));
    const std::int32_t others = anmeldung(8, at(2026, 3, 2, 9, 0));
    ASSERT_GT(first, 0);
    EXPECT_GT(second, first);
    EXPECT_GT(others, second);
    EXPECT_EQ(dateOf(QStringLiteral("SELECT LeistungserfassungAnmeldung AS v FROM "
                                    "tLeistungZeiterfassungLogins WHERE "
                                    "idLeistungZeiterfassungLogin = $1"),
                     {std::int64_t{first}}),
              at(2026, 3, 2, 8, 0));
    EXPECT_EQ(longOf(QStringLiteral("SELECT COUNT(*) AS v FROM tLeistungZeiterfassungLogins WHERE "
                                    "LeistungserfassungAbmeldung IS NULL AND LoginArt = 0")),
              3);

    // The newest earlier logout, open logins last; then the logout as the stopwatch writes it.
    db::DbService s(database());
    s.Open();
    const QString lastLogout = QString::fromLatin1(db::dialectFor(backend()).lastLogoutQuery);
    s.OpenQuery(lastLogout.arg(7).arg(second));
    EXPECT_FALSE(s.FieldDate("LeistungserfassungAbmeldung").isValid());
    EXPECT_EQ(s.Execute(QStringLiteral("UPDATE tLeistungZeiterfassungLogins SET "
                                       "LeistungsErfassungAbmeldung = '%1' WHERE Ps_Id = 7 AND "
                                       "LeistungsErfassungAbmeldung IS NULL")
                            .arg(db::DbService::SqlDate(at(2026, 3, 2, 17, 30)))),
              2);
    login(7, at(2026, 3, 1, 8, 0), at(2026, 3, 1, 12, 0), 0);
    s.OpenQuery(lastLogout.arg(7).arg(second));
    EXPECT_EQ(s.FieldDate("LeistungserfassungAbmeldung"), at(2026, 3, 2, 17, 30));
    EXPECT_EQ(longOf(QStringLiteral("SELECT COUNT(*) AS v FROM tLeistungZeiterfassungLogins WHERE "
                                    "LeistungserfassungAbmeldung IS NULL")),
              1);
}

TEST_P(OfficeLoginTest, LoginWritesACompletePeriodOrNothing) {
    const std::int32_t id = login(7, at(2026, 3, 2, 14, 0), at(2026, 3, 2, 15, 30), 1);
    ASSERT_GT(id, 0);
    db::DbService s(database());
    s.Open();
    s.OpenQuery(QStringLiteral("SELECT * FROM tLeistungZeiterfassungLogins WHERE "
                               "idLeistungZeiterfassungLogin = $1"),
                db::Params{std::int64_t{id}});
    EXPECT_EQ(s.FieldLong("Ps_Id"), 7);
    EXPECT_EQ(s.FieldDate("LeistungserfassungAnmeldung"), at(2026, 3, 2, 14, 0));
    EXPECT_EQ(s.FieldDate("LeistungserfassungAbmeldung"), at(2026, 3, 2, 15, 30));
    EXPECT_EQ(s.FieldLong("LoginArt"), 1);
    s.Close();

    EXPECT_EQ(login(7, at(2026, 3, 2, 16, 0), at(2026, 3, 2, 15, 0), 1), 0);
    EXPECT_EQ(login(7, at(2026, 3, 2, 16, 0), QDateTime(), 1), 0);
    EXPECT_EQ(login(7, QDateTime(), at(2026, 3, 2, 16, 0), 1), 0);
    EXPECT_EQ(count(QStringLiteral("tLeistungZeiterfassungLogins")), 1);
}

TEST_P(OfficeLoginTest, LoginPruefenCountsOverlapsWithOpenLoginsRunningUntilNow) {
    login(7, at(2026, 3, 2, 8, 0), at(2026, 3, 2, 12, 0), 0);
    login(7, at(2026, 3, 2, 13, 0), at(2026, 3, 2, 17, 0), 1);
    login(8, at(2026, 3, 2, 10, 0), at(2026, 3, 2, 11, 0), 0);

    EXPECT_EQ(pruefen(7, at(2026, 3, 2, 12, 0), at(2026, 3, 2, 13, 0)), 0) << "berührt nur";
    EXPECT_EQ(pruefen(7, at(2026, 3, 2, 11, 0), at(2026, 3, 2, 12, 30)), 1);
    EXPECT_EQ(pruefen(7, at(2026, 3, 2, 7, 0), at(2026, 3, 2, 18, 0)), 2);
    EXPECT_EQ(pruefen(7, at(2026, 3, 2, 9, 0), at(2026, 3, 2, 10, 0)), 1);
    EXPECT_EQ(pruefen(9, at(2026, 3, 2, 9, 0), at(2026, 3, 2, 10, 0)), 0);

    const QDateTime now = QDateTime::currentDateTime();
    anmeldung(7, now.addSecs(-7200));
    EXPECT_EQ(pruefen(7, now.addSecs(-3600), now.addSecs(-1800)), 1);
    EXPECT_EQ(pruefen(7, now.addSecs(3600), now.addSecs(7200)), 0)
        << "eine offene Anmeldung läuft bis jetzt, nicht länger";

    EXPECT_EQ(pruefen(7, at(2026, 3, 2, 12, 0), QDateTime()), -1);
    EXPECT_EQ(pruefen(7, at(2026, 3, 2, 12, 0), at(2026, 3, 2, 11, 0)), -1);
}

// Both ends come from the database's clock; a pause end closes only the employee's open pause.
TEST_P(OfficeLoginTest, PauseStatementsStampBothEnds) {
    const db::Dialect& dialect = db::dialectFor(backend());
    db::DbService s(database());
    s.Open();
    s.Execute(QString::fromLatin1(dialect.pauseBeginStatement).arg(7));
    s.Execute(QString::fromLatin1(dialect.pauseBeginStatement).arg(8));
    EXPECT_EQ(s.Execute(QString::fromLatin1(dialect.pauseEndStatement).arg(7)), 1);
    s.OpenQuery(
        QStringLiteral("SELECT PauseVon, PauseBis FROM tLeistungZeiterfassungPausen "
                       "WHERE Ps_id = 7"));
    const QDateTime von = s.FieldDate("PauseVon");
    ASSERT_TRUE(von.isValid());
    EXPECT_GE(s.FieldDate("PauseBis"), von);
    EXPECT_LE(s.FieldDate("PauseBis").secsTo(von), 5);
    EXPECT_EQ(longOf(QStringLiteral("SELECT Ps_id AS v FROM tLeistungZeiterfassungPausen "
                                    "WHERE PauseBis IS NULL")),
              8);
}

TEST_P(OfficeLoginTest, UserSettingsReadEmptyWhenMissingAndAreWrittenOnce) {
    const QString subKey = QStringLiteral("ORV.Common.KOrg.Zeiterfassung");
    EXPECT_EQ(getSetting(0, subKey, 3), QString());

    EXPECT_EQ(setSetting(0, subKey, 3, QStringLiteral("5001")), 1);
    EXPECT_EQ(setSetting(0, subKey, 3, QStringLiteral("5002")), 1);
    EXPECT_EQ(setSetting(7, subKey, 3, QStringLiteral("5003")), 1);
    EXPECT_EQ(setSetting(0, subKey, 1, QStringLiteral("Ä-Wert")), 1);
    EXPECT_EQ(getSetting(0, subKey, 3), QStringLiteral("5002"));
    EXPECT_EQ(getSetting(7, subKey, 3), QStringLiteral("5003"));
    EXPECT_EQ(getSetting(0, subKey, 1), QStringLiteral("Ä-Wert"));
    EXPECT_EQ(getSetting(0, QStringLiteral("ORV.Common.KOrg.Andere"), 3), QString());
    EXPECT_EQ(count(QStringLiteral("tBenutzerEinstellung")), 3);

    try {
        setSetting(0, QString(), 3, QStringLiteral("x"));
        FAIL() << "Eine Einstellung ohne Namen wurde geschrieben.";
    } catch (const OrvError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("SubKey"))) << e.what();
    }
    EXPECT_EQ(count(QStringLiteral("tBenutzerEinstellung")), 3);
}

ORV_INSTANTIATE_FOR_BACKENDS(OfficeLoginTest);

}  // namespace
}  // namespace orv::test
