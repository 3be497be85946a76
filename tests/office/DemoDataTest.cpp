#include "OfficeTestSupport.h"

#include "office/procedures/OfficeCatalogue.h"
#include "persistence/Dialect.h"
#include "session/diagnostics/OrvError.h"

#include <QStringList>

#include <map>
#include <set>
#include <vector>

namespace orv::test {
namespace {

using office::demo::kOffice;

const char* const kDemoTables[] = {
    "tPersonStamm", "tMitarbeiter",   "tMitarbeiterRecht",    "tGlobaleWerte",
    "tAuftragArt",  "tAngelegenheit", "tGgwKennerArt",        "tAuftrag",
    "tRechnung",    "tStdBuText",     "tBenutzerEinstellung", "tGgwBasis",
    "tGgwBetrag",   "tGGWObjName",    "tGgwBgBetrag",         "tGGWGrundlage",
};

class OfficeDemoDataTest : public OfficeDbTest {
protected:
    std::map<QString, std::int32_t> tableCounts() {
        std::map<QString, std::int32_t> counts;
        for (const char* table : kDemoTables) {
            counts[QLatin1String(table)] = count(QLatin1String(table));
        }
        return counts;
    }
};

TEST_P(OfficeDemoDataTest, LoadsOnceAndThenChangesNothing) {
    ASSERT_TRUE(office::loadDemoData(database()));
    const auto first = tableCounts();
    EXPECT_EQ(first.at(QStringLiteral("tPersonStamm")), 7);
    EXPECT_EQ(first.at(QStringLiteral("tBenutzerEinstellung")), 3);
    EXPECT_EQ(first.at(QStringLiteral("tGgwKennerArt")), 5);
    EXPECT_EQ(longOf(QStringLiteral("SELECT COUNT(*) AS v FROM tPersonStamm WHERE Ps_IstKanzlei = 1"
                                    " AND Ps_Id = $1"),
                     {std::int64_t{kOffice}}),
              1);

    EXPECT_FALSE(office::loadDemoData(database()));
    EXPECT_FALSE(office::loadDemoData(*temp().openAnother()));
    EXPECT_EQ(tableCounts(), first);

    // New rows after the demo's fixed keys get keys of their own.
    db::DbService s(database());
    s.Open();
    s.OpenQuery(
        QStringLiteral("INSERT INTO tAuftrag (flMandant, flAuftragArt, dlAuftragArtNr,"
                       " flAngelegenheit, dlAngelegenheitNr, dlJahr, diMonat)"
                       " VALUES (101, 1, 10, 1, 101, 2026, 4) RETURNING idAuftrag AS v"));
    EXPECT_GT(s.FieldLong("v"), office::demo::kUnproductiveTimeOrder);
}

TEST_P(OfficeDemoDataTest, RefusesADatabaseWhoseKeysAreTakenAndKeepsItsSettings) {
    db::DbService s(database());
    s.Execute(
        QStringLiteral("INSERT INTO tBenutzerEinstellung (flMitarbeiter, dsSubKey, diKey,"
                       " dcValue, diDataType) VALUES (0, 'ORV.Brix.Options.KOrg."
                       "Verwaltungsanteil', 1, '25', 3)"));
    ASSERT_TRUE(office::loadDemoData(database()));
    EXPECT_EQ(textOf(QStringLiteral("SELECT dcValue AS v FROM tBenutzerEinstellung WHERE diKey = 1"
                                    " AND dsSubKey = 'ORV.Brix.Options.KOrg.Verwaltungsanteil'")),
              QStringLiteral("25"));

    TempDatabase other(backend(), &office::officeCatalogue());
    office::migrate(other.database());
    db::DbService o(other.database());
    o.Execute(
        QStringLiteral("INSERT INTO tPersonStamm (Ps_Id, Ps_Nr, Ps_Kurzname, Ps_Name)"
                       " VALUES (103, 55, 'Müller', 'Müller GmbH')"));
    try {
        office::loadDemoData(other.database());
        FAIL() << "Die Demodaten haben vorhandene Schlüssel überschrieben.";
    } catch (const OrvError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("tPersonStamm"))) << e.what();
        EXPECT_TRUE(e.description().contains(QStringLiteral("nichts geändert"))) << e.what();
    }
    o.OpenQuery(QStringLiteral("SELECT COUNT(*) AS n, MAX(Ps_Name) AS name FROM tPersonStamm"));
    EXPECT_EQ(o.FieldLong("n"), 1);
    EXPECT_EQ(o.FieldText("name"), QStringLiteral("Müller GmbH"));
    o.OpenQuery(QStringLiteral("SELECT COUNT(*) AS n FROM tMitarbeiter"));
    EXPECT_EQ(o.FieldLong("n"), 0);
}

TEST_P(OfficeDemoDataTest, RightsOfTheDemoEmployees) {
    loadDemo();
    db::DbService s(database());
    s.Open();
    ASSERT_EQ(
        s.OpenQuery(QStringLiteral("SELECT F_ORV_System_CheckEmployeeRight_Function(7,38) as x ")),
        1);
    EXPECT_TRUE(s.FieldBool("x", false));
    const QString query = QString::fromLatin1(db::dialectFor(backend()).rightCheckQuery);
    for (int right : {28, 34, 38}) {
        s.OpenQuery(query.arg(office::demo::kEmployeeWithRights).arg(right));
        EXPECT_TRUE(s.FieldBool("x", false)) << right;
        s.OpenQuery(query.arg(office::demo::kEmployeeWithoutRights).arg(right));
        EXPECT_FALSE(s.FieldBool("x", true)) << right;
    }
    s.OpenQuery(query.arg(office::demo::kEmployeeWithRights).arg(29));
    EXPECT_FALSE(s.FieldBool("x", true));
}

// The designation lookups for property-assessment orders, written as the stopwatch joins them,
// for every demo order whose matter the office classifies as an assessment.
TEST_P(OfficeDemoDataTest, AssessmentLookupsFindTheDesignationOfEveryKind) {
    loadDemo();
    const std::map<std::int32_t, QString> expected = {
        {5006, QStringLiteral("Mehrfamilienhaus Gartenstraße 12")},
        {5007, QStringLiteral("Einfamilienhaus Lindenweg 4")},
        {5008, QStringLiteral("Eigentumswohnung Am Markt 7")},
        {5009, QStringLiteral("Wohnhaus Bergstraße 21")},
        {5010, QStringLiteral("Gewerbegrundstück Industriestraße 8")},
    };
    struct Found {
        std::int32_t order, client, code, kind, year, month, object;
    };
    std::vector<Found> orders;
    db::DbService s(database());
    s.Open();
    s.OpenQuery(QStringLiteral(
        "SELECT a.idAuftrag, a.flMandant, g.dlGgwKenner, k.diGgwArt, a.dlJahr, a.diMonat,"
        " a.dlObjektNr FROM tAuftrag a INNER JOIN tAngelegenheit g ON g.idAngelegenheit ="
        " a.flAngelegenheit INNER JOIN tGgwKennerArt k ON k.dlGgwKenner = g.dlGgwKenner"
        " ORDER BY a.idAuftrag"));
    do {
        orders.push_back({s.FieldLong("idAuftrag"), s.FieldLong("flMandant"),
                          s.FieldLong("dlGgwKenner"), s.FieldLong("diGgwArt"),
                          s.FieldLong("dlJahr"), s.FieldLong("diMonat"),
                          s.FieldLong("dlObjektNr")});
    } while (s.Move(3));
    ASSERT_EQ(orders.size(), expected.size());

    std::set<std::int32_t> kinds;
    for (const Found& o : orders) {
        SCOPED_TRACE(o.order);
        kinds.insert(o.kind);
        const QString code = QString::number(o.code);
        QString sql;
        QString column;
        if (o.kind == 1) {
            sql = QStringLiteral(
                      "SELECT dcBezeichnung FROM tGGWObjName INNER JOIN tGgwBetrag ON "
                      "flGgwBetrag = idGgwBetrag INNER JOIN tGgwBasis ON flGgwBasis = "
                      "idGgwBasis ") +
                  QStringLiteral("WHERE flManId = ") + QString::number(o.client) +
                  QStringLiteral(" AND dsKenner = '") + code + QStringLiteral("' AND dlJahr = ") +
                  QString::number(o.year) + QStringLiteral(" AND diLfdNr = ") +
                  QString::number(o.object);
            column = QStringLiteral("dcBezeichnung");
        } else {
            sql = QStringLiteral("SELECT tGG.dsKenner FROM tGGWGrundlage as tGG ") +
                  QStringLiteral("INNER JOIN tGgwBgBetrag ON  tGG.flBgBetrag = idBgBetrag ") +
                  QStringLiteral("INNER JOIN tGgwBetrag ON flGgwBetrag = idGgwBetrag  ") +
                  QStringLiteral("INNER JOIN tGgwBasis ON flGgwBasis = idGgwBasis ") +
                  QStringLiteral("WHERE flManId = ") + QString::number(o.client) +
                  QStringLiteral(" AND tGGWBasis.dsKenner = '") + code + QStringLiteral("'") +
                  QStringLiteral(" AND dlJahr = ") + QString::number(o.year) +
                  QStringLiteral(" AND diMonat = ") + QString::number(o.month) +
                  QStringLiteral(" AND diLfdNr = ") + QString::number(o.object);
            column = QStringLiteral("dsKenner");
        }
        ASSERT_EQ(s.OpenQuery(sql), 1) << sql.toStdString();
        EXPECT_EQ(s.FieldText(column.toLatin1().constData()), expected.at(o.order));
        EXPECT_FALSE(s.Move(3));
    }
    EXPECT_EQ(kinds, (std::set<std::int32_t>{1, 2, 3, 4, 5}));
}

// The standard text lookup: the office's own text or the general one, of category 2 only.
TEST_P(OfficeDemoDataTest, StandardTextOfCategoryTwoForTheOffice) {
    loadDemo();
    auto lookup = [&](const QString& typed, int office) {
        db::DbService s(database());
        s.Open();
        QString text = typed;
        if (s.OpenQuery(QStringLiteral("SELECT dcText FROM tStdBuText") +
                            QStringLiteral(" WHERE dlNummer = $1 AND flPs_Id IN(0,") +
                            QString::number(office) + QStringLiteral(")") +
                            QStringLiteral(" AND dlTextKategorie = 2"),
                        {typed}) == 1) {
            text = s.FieldText("dcText");
        }
        s.CloseQuery();
        s.Close();
        return text;
    };
    EXPECT_EQ(lookup(QStringLiteral("12"), kOffice),
              QStringLiteral("Besprechung mit dem Mandanten"));
    EXPECT_EQ(lookup(QStringLiteral("10"), kOffice),
              QStringLiteral("Kontierung und Buchung der laufenden Belege"));
    EXPECT_EQ(lookup(QStringLiteral("12"), 0), QStringLiteral("12")) << "nur Kategorie 1 allgemein";
    EXPECT_EQ(lookup(QStringLiteral("99"), kOffice), QStringLiteral("99"));
}

// What the stopwatch and the office's objects read from the demo office.
TEST_P(OfficeDemoDataTest, OfficeWideSettingsOrdersAndInvoices) {
    loadDemo();
    const std::pair<const char*, int> settings[] = {
        {"ORV.Brix.Options.KOrg.Verwaltungsanteil", 1},
        {"ORV.Brix.Options.KOrg.Verwaltungsmitarbeiter", 1},
        {"ORV.Common.KOrg.Zeiterfassung", 3},
    };
    QStringList values;
    for (const auto& [subKey, key] : settings) {
        db::DbProcedure p(database());
        ASSERT_TRUE(p.Prepare(QStringLiteral("dbo.S_ORV_VelmarNET_Get_UserSetting")));
        p.AddLong("@MitarbeiterID", 0);
        p.AddText("@SubKey", QString::fromLatin1(subKey));
        p.AddLong("@Key", key);
        p.AddText("@Value", QString());
        p.AddLong("@DataType", 3);
        p.Execute();
        values << p.OutText("@Value");
    }
    EXPECT_EQ(values, (QStringList{QStringLiteral("10"),
                                   QString::number(office::demo::kAdministrativeEmployee),
                                   QString::number(office::demo::kUnproductiveTimeOrder)}));
    EXPECT_EQ(longOf(QStringLiteral("SELECT dbWert AS v FROM tGlobaleWerte WHERE dlNummer = 31")),
              0);

    db::DbService s(database());
    s.Open();
    EXPECT_EQ(s.OpenQuery(QStringLiteral("SELECT * FROM tAuftrag") +
                          QStringLiteral(" WHERE idAuftrag = ") +
                          QString::number(office::demo::kUnproductiveTimeOrder)),
              1);
    EXPECT_EQ(s.FieldLong("flMandant"), kOffice);
    EXPECT_EQ(s.OpenQuery(QStringLiteral("SELECT * FROM tAuftrag WHERE idAuftrag = 4711")), 0);

    // The running numbers of a matter that allows several orders per period.
    s.OpenQuery(QStringLiteral("SELECT idAuftrag,diLfdNr,dcAngelegenheitErweitert FROM tAuftrag") +
                QStringLiteral(" WHERE flMandant = 106 AND dlAuftragArtNr = 90 AND "
                               "dlAngelegenheitNr = 901 AND diMonat = 3 AND dlJahr = 2026"));
    QStringList items;
    do {
        items << QStringLiteral("%1 - %2")
                     .arg(s.FieldLong("diLfdNr"))
                     .arg(s.FieldText("dcAngelegenheitErweitert"));
    } while (s.Move(3));
    items.sort();
    EXPECT_EQ(items, (QStringList{QStringLiteral("1 - Beratung Umsatzsteuer"),
                                  QStringLiteral("2 - Beratung Unternehmensnachfolge")}));
    EXPECT_EQ(longOf(QStringLiteral("SELECT dbMehrfachAnlage AS v FROM tAngelegenheit WHERE "
                                    "dlAngelegenheitNr = 901")),
              1);

    // Invoiced: the order's invoice reference and its invoice count; billing kind 9 stays apart.
    s.OpenQuery(
        QStringLiteral("SELECT a.idAuftrag, a.flRechnung, a.dlAbrechnungsArt,"
                       " (SELECT COUNT(*) FROM tRechnung r WHERE r.flAuftrag = a.idAuftrag)"
                       " AS rechnungen FROM tAuftrag a WHERE a.flRechnung > 0 OR"
                       " a.dlAbrechnungsArt = 9 ORDER BY a.idAuftrag"));
    EXPECT_EQ(s.FieldLong("idAuftrag"), office::demo::kInvoicedOrder);
    EXPECT_GT(s.FieldLong("flRechnung"), 0);
    EXPECT_EQ(s.FieldLong("rechnungen"), 1);
    ASSERT_TRUE(s.Move(3));
    EXPECT_EQ(s.FieldLong("idAuftrag"), office::demo::kBillingKind9Order);
    EXPECT_EQ(s.FieldLong("dlAbrechnungsArt"), 9);
    EXPECT_EQ(s.FieldLong("rechnungen"), 0);
    EXPECT_FALSE(s.Move(3));
}

ORV_INSTANTIATE_FOR_BACKENDS(OfficeDemoDataTest);

}  // namespace
}  // namespace orv::test
