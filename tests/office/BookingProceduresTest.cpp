#include "OfficeTestSupport.h"

namespace orv::test {
namespace {

using office::demo::kAdministrativeEmployee;
using office::demo::kEmployeeWithRights;

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
        run(p, "dbo.S_ORV_Common_Korg_Insert_Leistungtext",
            {{"@LeistungId", n(service)}, {"@Text", text}, {"@Success", n(0)}});
        return p.OutLong("@Success");
    }
    QString services() {
        return rows(QStringLiteral("SELECT flMitarbeiter, flAuftrag, dtDatum, CAST(ROUND(dmAnzahl "
                                   "* 10000) AS INTEGER) AS menge, dtBeginn, dtEnde, dcNotiz, "
                                   "diArt FROM tLeistung ORDER BY idLeistung"),
                    {"flMitarbeiter", "flAuftrag", "dtDatum", "menge", "dtBeginn", "dtEnde",
                     "dcNotiz", "diArt"});
    }
};

// As a booking writes a service and then, on the same prepared procedure, the administrative
// share: positions 5 and 6 (@Beginn, @Ende) NULL when the entry has no times.
TEST_P(OfficeBookingTest, InsertLeistungBooksServicesOnlyForKnownEmployeesAndOrders) {
    db::DbProcedure p(database());
    EXPECT_EQ(run(p, "dbo.S_ORV_Common_Korg_Insert_Leistung",
                  {{"@MitarbeiterID", n(kEmployeeWithRights)},
                   {"@AuftragID", n(5001)},
                   {"@Datum", at(2026, 3, 2, 0, 0)},
                   {"@Anzahl", db::Currency::fromDouble(1.5)},
                   {"@Notiz", QStringLiteral("Belege")},
                   {"@Art", n(1)},
                   {"@Success", n(0)}},
                  {5, 6}),
              1);
    const std::int32_t service = p.OutLong("@Success");
    p.AddLong("@MitarbeiterID", kAdministrativeEmployee);
    p.AddCurrency("@Anzahl", db::Currency{1250});
    p.AddLong("@Success", 0);
    p.Execute();
    EXPECT_GT(p.OutLong("@Success"), service);

    db::DbProcedure timed(database());
    run(timed, "S_ORV_Common_Korg_Insert_Leistung",
        {{"@MitarbeiterID", n(8)},
         {"@AuftragID", n(5002)},
         {"@Anzahl", db::Currency{100}},
         {"@Beginn", at(2026, 3, 3, 8, 0)},
         {"@Ende", at(2026, 3, 3, 8, 0, 20)}});
    EXPECT_EQ(services(),
              QStringLiteral("7|5001|2026-03-02 00:00:00|15000|NULL|NULL|Belege|1 / "
                             "9|5001|2026-03-02 00:00:00|1250|NULL|NULL|Belege|1 / "
                             "8|5002|NULL|100|2026-03-03 08:00:00|2026-03-03 08:00:20||0"));
    EXPECT_EQ(rows(QStringLiteral("SELECT COUNT(*) AS n FROM tLeistung WHERE dtAngelegt >= $1"),
                   {"n"}, {QDateTime::currentDateTime().addSecs(-60)}),
              QStringLiteral("3"));

    const std::pair<int, int> unknown[] = {
        {kEmployeeWithRights, 0}, {kEmployeeWithRights, 4711}, {4711, 5001}, {0, 5001}};
    for (const auto& [employee, order] : unknown) {
        db::DbProcedure refused(database());
        EXPECT_EQ(
            run(refused, "dbo.S_ORV_Common_Korg_Insert_Leistung",
                {{"@MitarbeiterID", n(employee)}, {"@AuftragID", n(order)}, {"@Success", n(4711)}}),
            0);
        EXPECT_EQ(refused.OutLong("@Success"), 0);
    }
    EXPECT_EQ(count(QStringLiteral("tLeistung")), 3);
}

TEST_P(OfficeBookingTest, ServiceTextsKeepTheirOrder) {
    db::DbProcedure p(database());
    run(p, "S_ORV_Common_Korg_Insert_Leistung",
        {{"@MitarbeiterID", n(kEmployeeWithRights)}, {"@AuftragID", n(5003)}});
    const std::int32_t first = p.OutLong("@Success");
    p.Execute();
    const std::int32_t second = p.OutLong("@Success");
    const std::int32_t a = insertText(first, QStringLiteral("Lohnabrechnung erstellt"));
    const std::int32_t b = insertText(second, QStringLiteral("(VZL) Lohnabrechnung erstellt"));
    const std::int32_t c = insertText(first, QStringLiteral("Rückfrage zur Krankenkasse"));
    EXPECT_EQ(insertText(second + 100, QStringLiteral("verloren")), 0);
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM tLeistungText ORDER BY flLeistung, diZeile"),
                   {"idLeistungText", "flLeistung", "diZeile", "dcText"}),
              QStringLiteral("%1|%4|1|Lohnabrechnung erstellt / %3|%4|2|Rückfrage zur Krankenkasse"
                             " / %2|%5|1|(VZL) Lohnabrechnung erstellt")
                  .arg(a)
                  .arg(b)
                  .arg(c)
                  .arg(first)
                  .arg(second));
}

ORV_INSTANTIATE_FOR_BACKENDS(OfficeBookingTest);

}  // namespace
}  // namespace orv::test
