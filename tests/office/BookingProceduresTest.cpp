#include "OfficeTestSupport.h"

namespace orv::test {
namespace {

class OfficeBookingTest : public OfficeDbTest {
protected:
    void SetUp() override {
        OfficeDbTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            loadDemo();
        }
    }

    std::int32_t insertText(std::int32_t service, const QString& text) {
        db::DbProcedure p(database());
        EXPECT_TRUE(p.Prepare(QStringLiteral("dbo.S_ORV_Common_Korg_Insert_Leistungtext")));
        p.AddLong("@LeistungId", service);
        p.AddText("@Text", text);
        p.AddLong("@Success", 0);
        p.Execute();
        return p.OutLong("@Success");
    }

    std::int32_t quantityInTenThousandths(std::int32_t service) {
        return longOf(QStringLiteral("SELECT ROUND(dmAnzahl * 10000) AS v FROM tLeistung"
                                     " WHERE idLeistung = $1"),
                      {std::int64_t{service}});
    }
};

// As a booking writes a service and then, on the same prepared procedure, the administrative
// share: positions 5 and 6 (@Beginn, @Ende) NULL when the entry has no times.
TEST_P(OfficeBookingTest, InsertLeistungBooksServicesAndKeepsUnsetTimesNull) {
    db::DbProcedure p(database());
    ASSERT_TRUE(p.Prepare(QStringLiteral("dbo.S_ORV_Common_Korg_Insert_Leistung")));
    db::ParameterValues values = p.GetParameterValues();
    values.setNull(5);
    values.setNull(6);
    p.SetParameterValues(values);
    p.AddLong("@MitarbeiterID", office::demo::kEmployeeWithRights);
    p.AddLong("@AuftragID", 5001);
    p.AddDate("@Datum", at(2026, 3, 2, 0, 0));
    p.AddCurrency("@Anzahl", db::Currency::fromDouble(1.5));
    p.AddText("@Notiz", QStringLiteral("Belege Januar"));
    p.AddLong("@Art", 1);
    p.AddLong("@Success", 0);
    EXPECT_EQ(p.Execute(), 1);
    const std::int32_t service = p.OutLong("@Success");
    ASSERT_GT(service, 0);

    p.AddLong("@MitarbeiterID", office::demo::kAdministrativeEmployee);
    p.AddCurrency("@Anzahl", db::Currency{1250});
    p.AddLong("@Success", 0);
    p.Execute();
    const std::int32_t adminService = p.OutLong("@Success");
    EXPECT_GT(adminService, service);
    p.Close();

    db::DbService s(database());
    s.Open();
    s.OpenQuery(QStringLiteral("SELECT * FROM tLeistung WHERE idLeistung = $1"),
                db::Params{std::int64_t{service}});
    EXPECT_EQ(s.FieldLong("flMitarbeiter"), office::demo::kEmployeeWithRights);
    EXPECT_EQ(s.FieldLong("flAuftrag"), 5001);
    EXPECT_EQ(s.FieldDate("dtDatum"), at(2026, 3, 2, 0, 0));
    EXPECT_FALSE(s.FieldDate("dtBeginn").isValid());
    EXPECT_FALSE(s.FieldDate("dtEnde").isValid());
    EXPECT_EQ(s.FieldText("dcNotiz"), QStringLiteral("Belege Januar"));
    EXPECT_EQ(s.FieldLong("diArt"), 1);
    EXPECT_LE(qAbs(s.FieldDate("dtAngelegt").secsTo(QDateTime::currentDateTime())), 5);
    s.Close();
    EXPECT_EQ(quantityInTenThousandths(service), 15000);
    EXPECT_EQ(quantityInTenThousandths(adminService), 1250);
    EXPECT_EQ(
        longOf(QStringLiteral("SELECT flMitarbeiter AS v FROM tLeistung WHERE idLeistung = $1"),
               {std::int64_t{adminService}}),
        office::demo::kAdministrativeEmployee);

    // With times: both reach the row.
    db::DbProcedure timed(database());
    ASSERT_TRUE(timed.Prepare(QStringLiteral("S_ORV_Common_Korg_Insert_Leistung")));
    timed.AddLong("@MitarbeiterID", office::demo::kEmployeeWithoutRights);
    timed.AddLong("@AuftragID", 5002);
    timed.AddDate("@Datum", at(2026, 3, 3, 0, 0));
    timed.AddCurrency("@Anzahl", db::Currency{100});
    timed.AddDate("@Beginn", at(2026, 3, 3, 8, 0));
    timed.AddDate("@Ende", at(2026, 3, 3, 8, 0, 20));
    timed.Execute();
    const std::int32_t timedService = timed.OutLong("@Success");
    EXPECT_EQ(dateOf(QStringLiteral("SELECT dtEnde AS v FROM tLeistung WHERE idLeistung = $1"),
                     {std::int64_t{timedService}}),
              at(2026, 3, 3, 8, 0, 20));
    EXPECT_EQ(count(QStringLiteral("tLeistung")), 3);
}

TEST_P(OfficeBookingTest, InsertLeistungWritesNothingForUnknownEmployeeOrOrder) {
    auto book = [&](std::int32_t employee, std::int32_t order) {
        db::DbProcedure p(database());
        EXPECT_TRUE(p.Prepare(QStringLiteral("dbo.S_ORV_Common_Korg_Insert_Leistung")));
        p.AddLong("@MitarbeiterID", employee);
        p.AddLong("@AuftragID", order);
        p.AddCurrency("@Anzahl", db::Currency{100});
        p.AddLong("@Success", 4711);
        EXPECT_EQ(p.Execute(), 0);
        return p.OutLong("@Success");
    };
    EXPECT_EQ(book(office::demo::kEmployeeWithRights, 0), 0);
    EXPECT_EQ(book(office::demo::kEmployeeWithRights, 4711), 0);
    EXPECT_EQ(book(4711, 5001), 0);
    EXPECT_EQ(book(0, 5001), 0);
    EXPECT_EQ(count(QStringLiteral("tLeistung")), 0);
}

TEST_P(OfficeBookingTest, ServiceTextsKeepTheirOrder) {
    db::DbProcedure p(database());
    ASSERT_TRUE(p.Prepare(QStringLiteral("S_ORV_Common_Korg_Insert_Leistung")));
    p.AddLong("@MitarbeiterID", office::demo::kEmployeeWithRights);
    p.AddLong("@AuftragID", 5003);
    p.AddCurrency("@Anzahl", db::Currency{10000});
    p.Execute();
    const std::int32_t first = p.OutLong("@Success");
    p.AddLong("@Success", 0);
    p.Execute();
    const std::int32_t second = p.OutLong("@Success");

    const std::int32_t a = insertText(first, QStringLiteral("Lohnabrechnung erstellt"));
    const std::int32_t other = insertText(second, QStringLiteral("(VZL) Lohnabrechnung erstellt"));
    const std::int32_t b = insertText(first, QStringLiteral("Rückfrage zur Krankenkasse"));
    ASSERT_GT(a, 0);
    EXPECT_GT(other, a);
    EXPECT_GT(b, other);
    EXPECT_EQ(insertText(first + second + 100, QStringLiteral("verloren")), 0);

    db::DbService s(database());
    s.Open();
    ASSERT_EQ(s.OpenQuery(QStringLiteral("SELECT idLeistungText, diZeile, dcText FROM tLeistungText"
                                         " WHERE flLeistung = $1 ORDER BY diZeile"),
                          db::Params{std::int64_t{first}}),
              1);
    EXPECT_EQ(s.FieldLong("idLeistungText"), a);
    EXPECT_EQ(s.FieldLong("diZeile"), 1);
    ASSERT_TRUE(s.Move(3));
    EXPECT_EQ(s.FieldLong("idLeistungText"), b);
    EXPECT_EQ(s.FieldLong("diZeile"), 2);
    EXPECT_EQ(s.FieldText("dcText"), QStringLiteral("Rückfrage zur Krankenkasse"));
    EXPECT_FALSE(s.Move(3));
    EXPECT_EQ(count(QStringLiteral("tLeistungText")), 3);
}

ORV_INSTANTIATE_FOR_BACKENDS(OfficeBookingTest);

}  // namespace
}  // namespace orv::test
