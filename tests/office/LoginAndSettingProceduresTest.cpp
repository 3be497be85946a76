#include "OfficeTestSupport.h"

#include "persistence/Dialect.h"
#include "session/diagnostics/OrvError.h"

namespace orv::test {
namespace {

class OfficeLoginTest : public OfficeDbTest {
protected:
    std::int32_t anmeldung(std::int32_t employee, const QDateTime& when) {
        db::DbProcedure p(database());
        run(p, "S_ORV_Common_Korg_Leistungserfassung_Anmeldung",
            {{"@MitarbeiterID", n(employee)}, {"@Anmeldung", when}, {"@AnmeldungId", n(0)}});
        return p.OutLong("@AnmeldungId");
    }
    std::int32_t login(std::int32_t employee, const QDateTime& von, const QDateTime& bis) {
        db::DbProcedure p(database());
        run(p, "dbo.S_ORV_Common_Korg_Leistungserfassung_Login",
            {{"@MitarbeiterID", n(employee)},
             {"@Anmeldung", von},
             {"@Abmeldung", bis},
             {"@LoginArt", n(1)},
             {"@AnmeldungId", n(0)}});
        return p.OutLong("@AnmeldungId");
    }
    std::int32_t pruefen(const QDateTime& von, const QDateTime& bis) {
        db::DbProcedure p(database());
        run(p, "S_ORV_Common_Korg_Leistungserfassung_LoginPruefen",
            {{"@MitarbeiterID", n(7)},
             {"@Anmeldung", von},
             {"@Abmeldung", bis},
             {"@Return", n(0)}});
        return p.OutLong("@Return");
    }
    QString setting(const char* procedure, std::int32_t employee, const QString& subKey,
                    std::int32_t key, const QString& value = QStringLiteral("vorher")) {
        db::DbProcedure p(database());
        run(p, procedure,
            {{"@MitarbeiterID", n(employee)},
             {"@SubKey", subKey},
             {"@Key", n(key)},
             {"@Value", value},
             {"@DataType", n(3)}});
        return p.OutText("@Value");
    }
};

TEST_P(OfficeLoginTest, LoginsOpenCloseAndAreWrittenOnlyForAValidPeriod) {
    const std::int32_t first = anmeldung(7, at(2026, 3, 2, 8, 0));
    const std::int32_t second = anmeldung(7, at(2026, 3, 2, 13, 0));
    anmeldung(8, at(2026, 3, 2, 9, 0));
    EXPECT_GT(second, first);
    const std::int32_t past = login(7, at(2026, 3, 1, 14, 0), at(2026, 3, 1, 15, 30));
    EXPECT_GT(past, second);
    EXPECT_EQ(login(7, at(2026, 3, 2, 16, 0), at(2026, 3, 2, 15, 0)), 0);
    EXPECT_EQ(login(7, at(2026, 3, 2, 16, 0), QDateTime()), 0);
    EXPECT_EQ(login(7, QDateTime(), at(2026, 3, 2, 16, 0)), 0);

    // The stopwatch's logout closes every open login of the employee; its last-logout query
    // passes over the current login.
    db::DbService s(database());
    EXPECT_EQ(s.Execute(QStringLiteral("UPDATE tLeistungZeiterfassungLogins SET "
                                       "LeistungsErfassungAbmeldung = '%1' WHERE Ps_Id = 7 AND "
                                       "LeistungsErfassungAbmeldung IS NULL")
                            .arg(db::DbService::SqlDate(at(2026, 3, 2, 17, 30)))),
              2);
    const QString lastLogout = QString::fromLatin1(db::dialectFor(backend()).lastLogoutQuery);
    EXPECT_EQ(rows(lastLogout.arg(7).arg(first), {"LeistungserfassungAbmeldung"}),
              QStringLiteral("2026-03-02 17:30:00"));
    EXPECT_EQ(
        rows(QStringLiteral("SELECT * FROM tLeistungZeiterfassungLogins ORDER BY "
                            "idLeistungZeiterfassungLogin"),
             {"Ps_Id", "LeistungserfassungAnmeldung", "LeistungserfassungAbmeldung", "LoginArt"}),
        QStringLiteral("7|2026-03-02 08:00:00|2026-03-02 17:30:00|0 / "
                       "7|2026-03-02 13:00:00|2026-03-02 17:30:00|0 / "
                       "8|2026-03-02 09:00:00|NULL|0 / "
                       "7|2026-03-01 14:00:00|2026-03-01 15:30:00|1"));
}

TEST_P(OfficeLoginTest, LoginPruefenCountsOverlapsWithOpenLoginsRunningUntilNow) {
    login(7, at(2026, 3, 2, 8, 0), at(2026, 3, 2, 12, 0));
    login(7, at(2026, 3, 2, 13, 0), at(2026, 3, 2, 17, 0));
    login(8, at(2026, 3, 2, 10, 0), at(2026, 3, 2, 11, 0));
    EXPECT_EQ(pruefen(at(2026, 3, 2, 12, 0), at(2026, 3, 2, 13, 0)), 0) << "berührt nur";
    EXPECT_EQ(pruefen(at(2026, 3, 2, 11, 0), at(2026, 3, 2, 12, 30)), 1);
    EXPECT_EQ(pruefen(at(2026, 3, 2, 7, 0), at(2026, 3, 2, 18, 0)), 2);
    EXPECT_EQ(pruefen(at(2026, 3, 2, 12, 0), QDateTime()), -1);
    EXPECT_EQ(pruefen(at(2026, 3, 2, 12, 0), at(2026, 3, 2, 11, 0)), -1);

    const QDateTime now = QDateTime::currentDateTime();
    anmeldung(7, now.addSecs(-7200));
    EXPECT_EQ(pruefen(now.addSecs(-3600), now.addSecs(-1800)), 1);
    EXPECT_EQ(pruefen(now.addSecs(3600), now.addSecs(7200)), 0);
}

// Both ends come from the database's clock; the end closes only the employee's open pause.
TEST_P(OfficeLoginTest, PauseStatementsFitThePauseTable) {
    const db::Dialect& dialect = db::dialectFor(backend());
    db::DbService s(database());
    s.Execute(QString::fromLatin1(dialect.pauseBeginStatement).arg(7));
    s.Execute(QString::fromLatin1(dialect.pauseBeginStatement).arg(8));
    EXPECT_EQ(s.Execute(QString::fromLatin1(dialect.pauseEndStatement).arg(7)), 1);
    EXPECT_EQ(rows(QStringLiteral("SELECT Ps_id, CASE WHEN PauseBis >= PauseVon THEN 1 WHEN "
                                  "PauseBis IS NULL THEN -1 ELSE 0 END AS ok FROM "
                                  "tLeistungZeiterfassungPausen ORDER BY Ps_id"),
                   {"Ps_id", "ok"}),
              QStringLiteral("7|1 / 8|-1"));
}

TEST_P(OfficeLoginTest, UserSettingsReadEmptyWhenMissingAndAreWrittenOnce) {
    const char* get = "dbo.S_ORV_VelmarNET_Get_UserSetting";
    const char* set = "dbo.S_ORV_VelmarNET_Set_UserSetting";
    const QString subKey = QStringLiteral("ORV.Common.KOrg.Zeiterfassung");
    EXPECT_EQ(setting(get, 0, subKey, 3), QString());
    setting(set, 0, subKey, 3, QStringLiteral("5001"));
    setting(set, 0, subKey, 3, QStringLiteral("5002"));
    setting(set, 7, subKey, 3, QStringLiteral("5003"));
    setting(set, 0, subKey, 1, QStringLiteral("Ä-Wert"));
    EXPECT_EQ(setting(get, 0, subKey, 3), QStringLiteral("5002"));
    EXPECT_EQ(setting(get, 7, subKey, 3), QStringLiteral("5003"));
    EXPECT_EQ(setting(get, 0, subKey, 1), QStringLiteral("Ä-Wert"));
    EXPECT_EQ(count(QStringLiteral("tBenutzerEinstellung")), 3);
    EXPECT_THROW(setting(set, 0, QString(), 3, QStringLiteral("x")), OrvError);
    EXPECT_EQ(count(QStringLiteral("tBenutzerEinstellung")), 3);
}

ORV_INSTANTIATE_FOR_BACKENDS(OfficeLoginTest);

}  // namespace
}  // namespace orv::test
