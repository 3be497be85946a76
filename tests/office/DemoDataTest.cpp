#include "OfficeTestSupport.h"

#include "office/procedures/OfficeCatalogue.h"

namespace orv::test {
namespace {

class OfficeDemoDataTest : public OfficeDbTest {};

// The demo office is loaded once and never over what an office already has.
TEST_P(OfficeDemoDataTest, LoadsOnceAndLeavesWhatAnOfficeAlreadyHas) {
    db::DbService(database())
        .Execute(QStringLiteral(
            "INSERT INTO tBenutzerEinstellung (flMitarbeiter, dsSubKey, diKey, dcValue, diDataType)"
            " VALUES (0, 'ORV.Brix.Options.KOrg.Verwaltungsanteil', 1, '25', 3)"));
    ASSERT_TRUE(office::loadDemoData(database()));
    const QString loaded = rows(QStringLiteral("SELECT (SELECT COUNT(*) FROM tAuftrag) AS a,"
                                               " (SELECT COUNT(*) FROM tPersonStamm) AS p"),
                                {"a", "p"});
    EXPECT_FALSE(office::loadDemoData(database()));
    EXPECT_FALSE(office::loadDemoData(*temp().openAnother()));
    EXPECT_EQ(rows(QStringLiteral("SELECT (SELECT COUNT(*) FROM tAuftrag) AS a,"
                                  " (SELECT COUNT(*) FROM tPersonStamm) AS p"),
                   {"a", "p"}),
              loaded);
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
    db::DbService(other.database())
        .Execute(QStringLiteral("INSERT INTO tPersonStamm (Ps_Id, Ps_Nr, Ps_Name) VALUES (103, 55,"
                                " 'Müller GmbH')"));
    const auto error = failureOf([&] { office::loadDemoData(other.database()); });
    ASSERT_TRUE(error.has_value()) << "the demo took a key in use";
    EXPECT_TRUE(error->description().contains(QStringLiteral("tPersonStamm")));
    EXPECT_EQ(tableText(other.database(), QStringLiteral("SELECT COUNT(*) AS n FROM tPersonStamm"),
                        {"n"}),
              QStringLiteral("1"));
}

ORV_INSTANTIATE_FOR_BACKENDS(OfficeDemoDataTest);

}  // namespace
}  // namespace orv::test
