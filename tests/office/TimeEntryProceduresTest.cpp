#include "OfficeTestSupport.h"

#include "session/diagnostics/OrvError.h"

namespace orv::test {
namespace {

const QString kRowColumns =
    QStringLiteral("SELECT * FROM tLeistungZeiterfassung WHERE idLeistungZeiterfassung = $1");

class OfficeTimeEntryTest : public OfficeDbTest {
protected:
    // As the stopwatch writes order and entry rows: position 7 (@Ende) NULL, begin "now".
    std::int32_t insertRow(std::int32_t auftragId, const QString& key, std::int32_t parentId,
                           const QString& parentKey, std::int32_t status, std::int32_t employee = 7,
                           std::int32_t seconds = 0) {
        db::DbProcedure p(database());
        run(p, "dbo.S_ORV_Common_Korg_Insert_Zeiterfassung",
            {{"@AuftragID", n(auftragId)},
             {"@Key", key},
             {"@ParentID", n(parentId)},
             {"@ParentKey", parentKey},
             {"@Status", n(status)},
             {"@Beginn", at(2026, 3, 2, 8, 0)},
             {"@Text1", QString()},
             {"@Text2", seconds > 0 ? QStringLiteral("Notiz") : QString()},
             {"@Sekunden", n(seconds)},
             {"@MitarbeiterID", n(employee)},
             {"@BearbeitungsArt", n(0)},
             {"@VerwaltungsLeistung", n(0)},
             {"@VerwaltungsLeistungHerkunft", n(0)},
             {"@Success", n(0)}},
            {7});
        return p.OutLong("@Success");
    }
    // An order row gets its key once its id is known, as the stopwatch rewrites it.
    std::int32_t insertOrder(std::int32_t status, std::int32_t employee = 7,
                             std::int32_t auftragId = 0, bool idle = false) {
        const std::int32_t id = insertRow(
            auftragId, idle ? QStringLiteral("p0") : QStringLiteral("a0"), 0, {}, status, employee);
        if (!idle) {
            db::DbService(database())
                .Execute(QStringLiteral("UPDATE tLeistungZeiterfassung SET VorgangKey ='a%1' WHERE "
                                        "idLeistungZeiterfassung = %1")
                             .arg(id));
        }
        return id;
    }
    std::int32_t insertText(std::int32_t entry, const QString& text) {
        db::DbProcedure p(database());
        run(p, "dbo.S_ORV_Common_Korg_Insert_Text",
            {{"@VorgangID", n(entry)}, {"@Text", text}, {"@TextID", n(0)}});
        return p.OutLong("@TextID");
    }
    QString row(std::int32_t id, std::initializer_list<const char*> columns) {
        return rows(kRowColumns, columns, {n(id)});
    }
};

TEST_P(OfficeTimeEntryTest, InsertReturnsNewIdsAndStoresEmptyKeysAsNull) {
    const std::int32_t order = insertOrder(0);
    const std::int32_t entry =
        insertRow(5001, {}, order, QStringLiteral("a%1").arg(order), 1, 7, 45);
    ASSERT_GT(order, 0);
    EXPECT_GT(entry, order);
    const auto columns = {
        "VorgangKey", "VorgangParentId", "VorgangParentKey", "idAuftrag", "Status", "Beginn",
        "Ende",       "Text2",           "Sekunden",         "ps_id"};
    EXPECT_EQ(row(order, columns),
              QStringLiteral("a%1|0|NULL|0|0|2026-03-02 08:00:00|NULL||0|7").arg(order));
    EXPECT_EQ(row(entry, columns),
              QStringLiteral("NULL|%1|a%1|5001|1|2026-03-02 08:00:00|NULL|Notiz|45|7").arg(order));

    // Nothing but the employee: numbers 0, dates and keys NULL. A date that is none is refused.
    db::DbProcedure p(database());
    run(p, "S_ORV_Common_Korg_Insert_Zeiterfassung", {{"@MitarbeiterID", n(8)}});
    EXPECT_EQ(row(p.OutLong("@Success"),
                  {"idAuftrag", "VorgangKey", "VorgangParentId", "VorgangParentKey", "Status",
                   "Beginn", "Ende", "Text1", "Sekunden", "BearbeitungsArt", "VerwaltungsLeistung",
                   "VerwaltungsLeistungHerkunft"}),
              QStringLiteral("0|NULL|0|NULL|0|NULL|NULL||0|0|0|0"));
    p.AddText("@Beginn", QStringLiteral("gestern"));
    EXPECT_THROW(p.Execute(), OrvError);
    EXPECT_EQ(count(QStringLiteral("tLeistungZeiterfassung")), 3);
}

TEST_P(OfficeTimeEntryTest, UpdateRewritesTheRowAndNullDatesClearIt) {
    const std::int32_t order = insertOrder(1);
    auto update = [&](std::int32_t id, const QDateTime& beginn, const QDateTime& ende) {
        db::DbProcedure p(database());
        return run(p, "dbo.S_ORV_Common_Korg_Update_Zeiterfassung",
                   {{"@VorgangID", n(id)},
                    {"@Status", n(2)},
                    {"@AuftragID", n(5002)},
                    {"@Beginn", beginn},
                    {"@Ende", ende},
                    {"@Text1", QStringLiteral("Vorgabe")},
                    {"@Text2", QString()},
                    {"@Sekunden", n(5400)},
                    {"@BearbeitungsArt", n(0)},
                    {"@VerwaltungsLeistung", n(0)},
                    {"@VerwaltungsLeistungHerkunft", n(0)}},
                   {4, 5});
    };
    const auto columns = {"VorgangKey", "Status", "idAuftrag", "Beginn",
                          "Ende",       "Text1",  "Sekunden"};
    EXPECT_EQ(update(order, at(2026, 3, 2, 8, 0), at(2026, 3, 2, 9, 30)), 1);
    EXPECT_EQ(row(order, columns),
              QStringLiteral("a%1|2|5002|2026-03-02 08:00:00|2026-03-02 09:30:00|Vorgabe|5400")
                  .arg(order));
    EXPECT_EQ(update(order, QDateTime(), QDateTime()), 1);
    EXPECT_EQ(row(order, {"Beginn", "Ende"}), QStringLiteral("NULL|NULL"));
    EXPECT_EQ(update(order + 1, at(2026, 3, 2, 8, 0), QDateTime()), 0);
}

TEST_P(OfficeTimeEntryTest, TextLinesReadBackInOrderAndGoWithTheirEntry) {
    const std::int32_t order = insertOrder(1);
    const std::int32_t entry = insertRow(0, {}, order, QStringLiteral("a%1").arg(order), 1);
    const std::int32_t first = insertText(entry, QStringLiteral("Erste Zeile"));
    const std::int32_t second = insertText(entry, QStringLiteral("Zweite Zeile"));
    ASSERT_GT(first, 0);
    EXPECT_EQ(insertText(entry + 100, QStringLiteral("verloren")), 0) << "Eintrag gibt es nicht";
    db::DbProcedure p(database());
    EXPECT_EQ(run(p, "dbo.S_ORV_Common_Korg_Update_Text",
                  {{"@Text", QStringLiteral("Erste Zeile, geändert")}, {"@TextID", n(first)}}),
              1);

    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM V_ORV_Common_Korg_Leistungen_Zeiterfassung_Texte"
                                  " WHERE ps_id = 7 and vorgangparentid > 0"),
                   {"idLeistungZeiterfassung", "idLeistungZeiterfassungTexte",
                    "LeistungZeiterfassungText", "VorgangParentId"}),
              QStringLiteral("%1|%2|Erste Zeile, geändert|%4 / %1|%3|Zweite Zeile|%4")
                  .arg(entry)
                  .arg(first)
                  .arg(second)
                  .arg(order));
    db::DbService(database())
        .Execute(
            QStringLiteral("DELETE from tLeistungZeiterfassung WHERE idleistungzeiterfassung = %1")
                .arg(entry));
    EXPECT_EQ(count(QStringLiteral("tLeistungZeiterfassungTexte")), 0);
}

TEST_P(OfficeTimeEntryTest, ViewJoinsTheOfficeOrderAndKeepsRowsWithoutOne) {
    loadDemo();
    const std::int32_t idle = insertOrder(1, 7, 0, true);
    const std::int32_t order = insertOrder(1, 7, office::demo::kRentalIncomeOrder);
    const std::int32_t gone = insertOrder(0, 7, 4711);
    const std::int32_t entry =
        insertRow(office::demo::kRentalIncomeOrder, {}, order, QStringLiteral("a%1").arg(order), 1);
    insertOrder(1, 8, office::demo::kRentalIncomeOrder);

    const QString view = QStringLiteral(
        "SELECT * FROM V_ORV_Common_Korg_Leistungen_Zeiterfassung WHERE ps_id = %1 ORDER BY "
        "VorgangParentId ASC, idLeistungZeitErfassung");
    EXPECT_EQ(rows(view.arg(7),
                   {"idLeistungZeitErfassung", "VorgangParentId", "VorgangKey", "VorgangParentKey",
                    "idAuftrag", "flMandant", "Ps_nr", "Ps_Kurzname", "Ang_GGWKenner"}),
              QStringLiteral("%1|0|p0|NULL|0|NULL|NULL|NULL|NULL / "
                             "%2|0|a%2|NULL|5006|103|10003|Dr. Weber|21 / "
                             "%3|0|a%3|NULL|4711|NULL|NULL|NULL|NULL / "
                             "%4|%2|NULL|a%2|5006|103|10003|Dr. Weber|21")
                  .arg(idle)
                  .arg(order)
                  .arg(gone)
                  .arg(entry));
    EXPECT_EQ(rows(view.arg(7) + QStringLiteral(" LIMIT 1 OFFSET 1"),
                   {"dlAuftragArtNr", "dcAuftragArt", "dlAngelegenheit", "dlAngelegenheitNr",
                    "dcAngelegenheit", "dlJahr", "diMonat", "diLfdNr", "dlObjektNr",
                    "dcAngelegenheitErweitert", "Status", "Beginn", "Ende", "Sekunden"}),
              QStringLiteral("40|Steuererklärungen|5|402|Einkünfte aus Vermietung und Verpachtung|"
                             "2025|12|1|3|Mehrfamilienhaus Gartenstraße 12|1|2026-03-02 08:00:00|"
                             "NULL|0"));
    EXPECT_EQ(count(QStringLiteral("V_ORV_Common_Korg_Leistungen_Zeiterfassung WHERE ps_id = 8")),
              1);
}

// The two statements that tidy the table before the stopwatch loads it, exactly as it runs them.
TEST_P(OfficeTimeEntryTest, LoaderCleanUpResetsIdleRowsAndRemovesFinishedEmptyOrders) {
    const std::int32_t idle = insertOrder(1, 7, 5001, true);
    const std::int32_t idleEntry = insertRow(5001, {}, idle, QStringLiteral("p0"), 1);
    insertOrder(2, 7, 5002);  // finished without entries: goes, whoever's it is
    insertOrder(2, 8);
    const std::int32_t finished = insertOrder(2, 7, 5002);
    const std::int32_t booked =
        insertRow(5002, {}, finished, QStringLiteral("a%1").arg(finished), 3);
    const std::int32_t inactive = insertOrder(0);
    const std::int32_t orphan = insertRow(0, {}, 9999, QStringLiteral("a9999"), 2);

    db::DbService s(database());
    s.Execute(
        QStringLiteral("UPDATE tLeistungZeiterfassung SET idAuftrag = 0 WHERE VorgangKey = "
                       "'p0' or VorgangParentKey ='p0'"));
    s.Execute(QStringLiteral("DELETE FROM tLeistungZeiterfassung WHERE VorgangParentKey IS NULL "
                             "AND  Status = 2") +
              QStringLiteral(" AND idLeistungZeiterfassung NOT IN (SELECT VorgangParentId FROm "
                             "tLeistungZeiterfassung)"));
    EXPECT_EQ(rows(QStringLiteral("SELECT idLeistungZeiterfassung, idAuftrag FROM "
                                  "tLeistungZeiterfassung ORDER BY idLeistungZeiterfassung"),
                   {"idLeistungZeiterfassung", "idAuftrag"}),
              QStringLiteral("%1|0 / %2|0 / %3|5002 / %4|5002 / %5|0 / %6|0")
                  .arg(idle)
                  .arg(idleEntry)
                  .arg(finished)
                  .arg(booked)
                  .arg(inactive)
                  .arg(orphan));
}

ORV_INSTANTIATE_FOR_BACKENDS(OfficeTimeEntryTest);

}  // namespace
}  // namespace orv::test
