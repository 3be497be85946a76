#include "OfficeTestSupport.h"

#include "office/procedures/OfficeCatalogue.h"
#include "persistence/Dialect.h"
#include "session/diagnostics/OrvError.h"

namespace orv::test {
namespace {

using office::demo::kOffice;

class OfficeDemoDataTest : public OfficeDbTest {
protected:
    QString tableCounts() {
        QStringList counts;
        for (const char* table :
             {"tPersonStamm", "tMitarbeiter", "tMitarbeiterRecht", "tGlobaleWerte", "tAuftragArt",
              "tAngelegenheit", "tGgwKennerArt", "tAuftrag", "tRechnung", "tStdBuText",
              "tBenutzerEinstellung", "tGgwBasis", "tGGWObjName", "tGGWGrundlage"}) {
            counts << QString::number(count(QLatin1String(table)));
        }
        return counts.join(QLatin1Char(' '));
    }
};

TEST_P(OfficeDemoDataTest, LoadsOnceAndLeavesWhatAnOfficeAlreadyHas) {
    db::DbService(database())
        .Execute(QStringLiteral(
            "INSERT INTO tBenutzerEinstellung (flMitarbeiter, dsSubKey, diKey, dcValue,"
            " diDataType) VALUES (0, 'ORV.Brix.Options.KOrg.Verwaltungsanteil', 1, "
            "'25', 3)"));
    ASSERT_TRUE(office::loadDemoData(database()));
    const QString loaded = tableCounts();
    EXPECT_EQ(loaded, QStringLiteral("7 3 3 1 6 11 5 13 1 5 3 5 1 4"));
    EXPECT_FALSE(office::loadDemoData(database()));
    EXPECT_FALSE(office::loadDemoData(*temp().openAnother()));
    EXPECT_EQ(tableCounts(), loaded);
    EXPECT_EQ(rows(QStringLiteral("SELECT dcValue FROM tBenutzerEinstellung WHERE diKey = 1 AND "
                                  "dsSubKey = 'ORV.Brix.Options.KOrg.Verwaltungsanteil'"),
                   {"dcValue"}),
              QStringLiteral("25"));
    // Orders the office adds later get keys of their own.
    EXPECT_EQ(rows(QStringLiteral("INSERT INTO tAuftrag (flMandant, flAuftragArt, dlAuftragArtNr,"
                                  " flAngelegenheit, dlAngelegenheitNr, dlJahr, diMonat) VALUES "
                                  "(101, 1, 10, 1, 101, 2026, 4) RETURNING idAuftrag"),
                   {"idAuftrag"}),
              QString::number(office::demo::kUnproductiveTimeOrder + 1));

    // A database whose keys the demo would take stays as it is.
    TempDatabase other(backend(), &office::officeCatalogue());
    office::migrate(other.database());
    db::DbService o(other.database());
    o.Execute(
        QStringLiteral("INSERT INTO tPersonStamm (Ps_Id, Ps_Nr, Ps_Name) VALUES (103, 55, "
                       "'Müller GmbH')"));
    try {
        office::loadDemoData(other.database());
        FAIL() << "Die Demodaten haben einen belegten Schlüssel übernommen.";
    } catch (const OrvError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("tPersonStamm"))) << e.what();
    }
    o.OpenQuery(QStringLiteral("SELECT COUNT(*) AS n FROM tPersonStamm"));
    EXPECT_EQ(o.FieldLong("n"), 1);
}

TEST_P(OfficeDemoDataTest, RightsSettingsAndStandardTextsOfTheDemoOffice) {
    loadDemo();
    EXPECT_EQ(
        rows(QStringLiteral("SELECT F_ORV_System_CheckEmployeeRight_Function(7,38) as x "), {"x"}),
        QStringLiteral("1"));
    const QString right = QString::fromLatin1(db::dialectFor(backend()).rightCheckQuery);
    QStringList held;
    for (int employee : {office::demo::kEmployeeWithRights, office::demo::kEmployeeWithoutRights}) {
        for (int number : {27, 28, 34, 38}) {
            db::DbService s(database());
            s.OpenQuery(right.arg(employee).arg(number));
            if (s.FieldBool("x", false)) {
                held << QStringLiteral("%1:%2").arg(employee).arg(number);
            }
        }
    }
    EXPECT_EQ(held.join(QLatin1Char(' ')), QStringLiteral("7:28 7:34 7:38"));

    QStringList values;
    for (const auto& [subKey, key] : {std::pair{"ORV.Brix.Options.KOrg.Verwaltungsanteil", 1},
                                      std::pair{"ORV.Brix.Options.KOrg.Verwaltungsmitarbeiter", 1},
                                      std::pair{"ORV.Common.KOrg.Zeiterfassung", 3}}) {
        db::DbProcedure p(database());
        run(p, "dbo.S_ORV_VelmarNET_Get_UserSetting",
            {{"@MitarbeiterID", n(0)},
             {"@SubKey", QString::fromLatin1(subKey)},
             {"@Key", n(key)},
             {"@Value", QString()},
             {"@DataType", n(3)}});
        values << p.OutText("@Value");
    }
    EXPECT_EQ(values.join(QLatin1Char(' ')), QStringLiteral("10 9 5013"));

    // A standard text number becomes the office's own or the general text of category 2.
    const QString standardText = QStringLiteral("SELECT dcText FROM tStdBuText") +
                                 QStringLiteral(" WHERE dlNummer = $1 AND flPs_Id IN(0,%1)") +
                                 QStringLiteral(" AND dlTextKategorie = 2");
    EXPECT_EQ(rows(standardText.arg(kOffice), {"dcText"}, {QStringLiteral("12")}),
              QStringLiteral("Besprechung mit dem Mandanten"));
    EXPECT_EQ(rows(standardText.arg(kOffice), {"dcText"}, {QStringLiteral("10")}),
              QStringLiteral("Kontierung und Buchung der laufenden Belege"));
    EXPECT_EQ(rows(standardText.arg(0), {"dcText"}, {QStringLiteral("12")}), QString());
}

// The designation lookups of property-assessment orders, joined as the stopwatch joins them, for
// every demo order whose matter the office classifies as one of the five kinds.
TEST_P(OfficeDemoDataTest, AssessmentLookupsFindADesignationForEveryKind) {
    loadDemo();
    db::DbService orders(database());
    orders.OpenQuery(QStringLiteral(
        "SELECT a.flMandant, g.dlGgwKenner, k.diGgwArt, a.dlJahr, a.diMonat, a.dlObjektNr FROM "
        "tAuftrag a INNER JOIN tAngelegenheit g ON g.idAngelegenheit = a.flAngelegenheit INNER "
        "JOIN tGgwKennerArt k ON k.dlGgwKenner = g.dlGgwKenner ORDER BY k.diGgwArt"));
    QStringList found;
    do {
        const QString client = QString::number(orders.FieldLong("flMandant"));
        const QString code = QString::number(orders.FieldLong("dlGgwKenner"));
        const QString year = QString::number(orders.FieldLong("dlJahr"));
        const QString month = QString::number(orders.FieldLong("diMonat"));
        const QString object = QString::number(orders.FieldLong("dlObjektNr"));
        if (orders.FieldLong("diGgwArt") == 1) {
            found << rows(QStringLiteral("SELECT dcBezeichnung FROM tGGWObjName INNER JOIN "
                                         "tGgwBetrag ON flGgwBetrag = idGgwBetrag INNER JOIN "
                                         "tGgwBasis ON flGgwBasis = idGgwBasis ") +
                              "WHERE flManId = " + client + " AND dsKenner = '" + code +
                              "' AND dlJahr = " + year + " AND diLfdNr = " + object,
                          {"dcBezeichnung"});
        } else {
            found << rows(QStringLiteral("SELECT tGG.dsKenner FROM tGGWGrundlage as tGG ") +
                              "INNER JOIN tGgwBgBetrag ON  tGG.flBgBetrag = idBgBetrag " +
                              "INNER JOIN tGgwBetrag ON flGgwBetrag = idGgwBetrag  " +
                              "INNER JOIN tGgwBasis ON flGgwBasis = idGgwBasis " +
                              "WHERE flManId = " + client + " AND tGGWBasis.dsKenner = '" + code +
                              "'" + " AND dlJahr = " + year + " AND diMonat = " + month +
                              " AND diLfdNr = " + object,
                          {"dsKenner"});
        }
    } while (orders.Move(3));
    EXPECT_EQ(found.join(QLatin1Char(';')),
              QStringLiteral("Mehrfamilienhaus Gartenstraße 12;Einfamilienhaus Lindenweg 4;"
                             "Eigentumswohnung Am Markt 7;Wohnhaus Bergstraße 21;"
                             "Gewerbegrundstück Industriestraße 8"));
}

ORV_INSTANTIATE_FOR_BACKENDS(OfficeDemoDataTest);

}  // namespace
}  // namespace orv::test
