#include "OfficeTestSupport.h"

#include "session/diagnostics/OrvError.h"

#include <map>
#include <vector>

namespace orv::test {
namespace {

struct RowValues {
    std::int32_t auftragId = 0;
    QString key;
    std::int32_t parentId = 0;
    QString parentKey;
    std::int32_t status = 0;
    QDateTime beginn;
    QString text2;
    std::int32_t sekunden = 0;
    std::int32_t employee = 7;
};

class OfficeTimeEntryTest : public OfficeDbTest {
protected:
    // As the stopwatch inserts order and entry rows: position 7 (@Ende) set to NULL first.
    std::int32_t insertRow(const RowValues& r) {
        db::DbProcedure p(database());
        EXPECT_TRUE(p.Prepare(QStringLiteral("dbo.S_ORV_Common_Korg_Insert_Zeiterfassung")));
        db::ParameterValues values = p.GetParameterValues();
        values.setNull(7);
        p.SetParameterValues(values);
        p.AddLong("@AuftragID", r.auftragId);
        p.AddText("@Key", r.key);
        p.AddLong("@ParentID", r.parentId);
        p.AddText("@ParentKey", r.parentKey);
        p.AddLong("@Status", r.status);
        p.AddDate("@Beginn", r.beginn);
        p.AddText("@Text1", QString());
        p.AddText("@Text2", r.text2);
        p.AddLong("@Sekunden", r.sekunden);
        p.AddLong("@MitarbeiterID", r.employee);
        p.AddLong("@BearbeitungsArt", 0);
        p.AddLong("@VerwaltungsLeistung", 0);
        p.AddLong("@VerwaltungsLeistungHerkunft", 0);
        p.AddLong("@Success", 0);
        EXPECT_EQ(p.Execute(), 1);
        const std::int32_t id = p.OutLong("@Success");
        p.Close();
        return id;
    }

    std::int32_t insertOrder(const QString& key, std::int32_t status, std::int32_t employee = 7,
                             std::int32_t auftragId = 0) {
        const std::int32_t id =
            insertRow({auftragId, key, 0, {}, status, at(2026, 3, 2, 8, 0), {}, 0, employee});
        if (key != QLatin1String("p0")) {
            db::DbService s(database());
            s.Execute(QStringLiteral("UPDATE tLeistungZeiterfassung SET VorgangKey ='a%1'"
                                     " WHERE idLeistungZeiterfassung = %1")
                          .arg(id));
        }
        return id;
    }

    std::int32_t insertEntry(std::int32_t orderId, const QString& orderKey, std::int32_t status,
                             std::int32_t employee = 7, std::int32_t auftragId = 0) {
        return insertRow({auftragId,
                          {},
                          orderId,
                          orderKey,
                          status,
                          at(2026, 3, 2, 8, 0),
                          QStringLiteral("Notiz"),
                          30,
                          employee});
    }

    std::int32_t insertText(std::int32_t entry, const QString& text) {
        db::DbProcedure p(database());
        EXPECT_TRUE(p.Prepare(QStringLiteral("dbo.S_ORV_Common_Korg_Insert_Text")));
        p.AddLong("@VorgangID", entry);
        p.AddText("@Text", text);
        p.AddLong("@TextID", 0);
        p.Execute();
        return p.OutLong("@TextID");
    }

    std::int32_t rows() { return count(QStringLiteral("tLeistungZeiterfassung")); }
    bool rowExists(std::int32_t id) {
        return longOf(QStringLiteral("SELECT COUNT(*) AS v FROM tLeistungZeiterfassung"
                                     " WHERE idLeistungZeiterfassung = $1"),
                      {std::int64_t{id}}) == 1;
    }
    QString column(std::int32_t id, const char* name) {
        return textOf(QStringLiteral("SELECT %1 AS v FROM tLeistungZeiterfassung"
                                     " WHERE idLeistungZeiterfassung = $1")
                          .arg(QLatin1String(name)),
                      {std::int64_t{id}});
    }
};

TEST_P(OfficeTimeEntryTest, InsertWritesOrderAndEntryRowsWithNewKeys) {
    const std::int32_t order = insertOrder(QStringLiteral("a0"), 0);
    const std::int32_t entry = insertRow({5001,
                                          {},
                                          order,
                                          QStringLiteral("a%1").arg(order),
                                          1,
                                          at(2026, 3, 2, 8, 15),
                                          QStringLiteral("Telefonat"),
                                          45,
                                          7});
    ASSERT_GT(order, 0);
    ASSERT_GT(entry, 0);
    EXPECT_NE(order, entry);

    EXPECT_EQ(column(order, "VorgangKey"), QStringLiteral("a%1").arg(order));
    EXPECT_EQ(column(order, "VorgangParentKey"), QStringLiteral("<NULL>"));
    EXPECT_EQ(column(order, "VorgangParentId"), QStringLiteral("0"));
    EXPECT_EQ(column(order, "Ende"), QStringLiteral("<NULL>"));
    EXPECT_EQ(dateOf(QStringLiteral("SELECT Beginn AS v FROM tLeistungZeiterfassung"
                                    " WHERE idLeistungZeiterfassung = $1"),
                     {std::int64_t{order}}),
              at(2026, 3, 2, 8, 0));

    EXPECT_EQ(column(entry, "VorgangKey"), QStringLiteral("<NULL>"));
    EXPECT_EQ(column(entry, "VorgangParentId"), QString::number(order));
    EXPECT_EQ(column(entry, "VorgangParentKey"), QStringLiteral("a%1").arg(order));
    EXPECT_EQ(column(entry, "idAuftrag"), QStringLiteral("5001"));
    EXPECT_EQ(column(entry, "Status"), QStringLiteral("1"));
    EXPECT_EQ(column(entry, "Text2"), QStringLiteral("Telefonat"));
    EXPECT_EQ(column(entry, "Sekunden"), QStringLiteral("45"));
    EXPECT_EQ(column(entry, "ps_id"), QStringLiteral("7"));
}

TEST_P(OfficeTimeEntryTest, InsertStoresUnsetValuesAsZeroOrNullAndRefusesBadDates) {
    db::DbProcedure p(database());
    ASSERT_TRUE(p.Prepare(QStringLiteral("S_ORV_Common_Korg_Insert_Zeiterfassung")));
    p.AddLong("@MitarbeiterID", 8);
    p.AddText("@Key", QString());
    p.AddDate("@Beginn", QDateTime());
    p.Execute();
    const std::int32_t id = p.OutLong("@Success");
    ASSERT_GT(id, 0);
    for (const char* zero :
         {"idAuftrag", "VorgangParentId", "Status", "Sekunden", "BearbeitungsArt",
          "VerwaltungsLeistung", "VerwaltungsLeistungHerkunft"}) {
        EXPECT_EQ(column(id, zero), QStringLiteral("0")) << zero;
    }
    for (const char* null : {"VorgangKey", "VorgangParentKey", "Beginn", "Ende"}) {
        EXPECT_EQ(column(id, null), QStringLiteral("<NULL>")) << null;
    }
    EXPECT_EQ(column(id, "Text1"), QString());

    p.AddText("@Beginn", QStringLiteral("gestern"));
    try {
        p.Execute();
        FAIL() << "Ein ungültiges Datum wurde angenommen.";
    } catch (const OrvError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("kein gültiges Datum")))
            << e.description().toStdString();
    }
    EXPECT_EQ(rows(), 1);
}

TEST_P(OfficeTimeEntryTest, UpdateRewritesTheRowAndUnsetDatesClearIt) {
    const std::int32_t order = insertOrder(QStringLiteral("a0"), 1);
    auto update = [&](const QDateTime& beginn, const QDateTime& ende, std::int32_t id) {
        db::DbProcedure p(database());
        EXPECT_TRUE(p.Prepare(QStringLiteral("dbo.S_ORV_Common_Korg_Update_Zeiterfassung")));
        db::ParameterValues values = p.GetParameterValues();
        if (!beginn.isValid()) {
            values.setNull(4);
        }
        if (!ende.isValid()) {
            values.setNull(5);
        }
        p.SetParameterValues(values);
        p.AddLong("@VorgangID", id);
        p.AddLong("@Status", 2);
        p.AddLong("@AuftragID", 5002);
        if (beginn.isValid()) {
            p.AddDate("@Beginn", beginn);
        }
        if (ende.isValid()) {
            p.AddDate("@Ende", ende);
        }
        p.AddText("@Text1", QStringLiteral("Vorgabe"));
        p.AddText("@Text2", QString());
        p.AddLong("@Sekunden", 5400);
        p.AddLong("@BearbeitungsArt", 0);
        p.AddLong("@VerwaltungsLeistung", 0);
        p.AddLong("@VerwaltungsLeistungHerkunft", 0);
        return p.Execute();
    };

    EXPECT_EQ(update(at(2026, 3, 2, 8, 0), at(2026, 3, 2, 9, 30), order), 1);
    EXPECT_EQ(column(order, "Status"), QStringLiteral("2"));
    EXPECT_EQ(column(order, "idAuftrag"), QStringLiteral("5002"));
    EXPECT_EQ(column(order, "Text1"), QStringLiteral("Vorgabe"));
    EXPECT_EQ(column(order, "Sekunden"), QStringLiteral("5400"));
    EXPECT_EQ(column(order, "VorgangKey"), QStringLiteral("a%1").arg(order));
    EXPECT_EQ(dateOf(QStringLiteral("SELECT Ende AS v FROM tLeistungZeiterfassung"
                                    " WHERE idLeistungZeiterfassung = $1"),
                     {std::int64_t{order}}),
              at(2026, 3, 2, 9, 30));

    EXPECT_EQ(update(QDateTime(), QDateTime(), order), 1);
    EXPECT_EQ(column(order, "Beginn"), QStringLiteral("<NULL>"));
    EXPECT_EQ(column(order, "Ende"), QStringLiteral("<NULL>"));

    EXPECT_EQ(update(at(2026, 3, 2, 8, 0), QDateTime(), order + 100), 0);
    EXPECT_EQ(rows(), 1);
}

TEST_P(OfficeTimeEntryTest, TextLinesAreNumberedUpdatedAndGoWithTheirEntry) {
    const std::int32_t order = insertOrder(QStringLiteral("a0"), 1);
    const std::int32_t entry = insertEntry(order, QStringLiteral("a%1").arg(order), 1);
    const std::int32_t first = insertText(entry, QStringLiteral("Erste Zeile"));
    const std::int32_t second = insertText(entry, QStringLiteral("Zweite Zeile"));
    ASSERT_GT(first, 0);
    ASSERT_GT(second, first);

    db::DbProcedure p(database());
    ASSERT_TRUE(p.Prepare(QStringLiteral("dbo.S_ORV_Common_Korg_Update_Text")));
    p.AddText("@Text", QStringLiteral("Erste Zeile, geändert"));
    p.AddLong("@TextID", first);
    EXPECT_EQ(p.Execute(), 1);

    db::DbService s(database());
    s.Open();
    ASSERT_EQ(
        s.OpenQuery(QStringLiteral("SELECT * FROM V_ORV_Common_Korg_Leistungen_Zeiterfassung_Texte"
                                   " WHERE ps_id = 7 and vorgangparentid > 0")),
        1);
    EXPECT_EQ(s.FieldLong("idLeistungZeiterfassung"), entry);
    EXPECT_EQ(s.FieldLong("idLeistungZeiterfassungTexte"), first);
    EXPECT_EQ(s.FieldText("LeistungZeiterfassungText"), QStringLiteral("Erste Zeile, geändert"));
    EXPECT_EQ(s.FieldLong("VorgangParentId"), order);
    ASSERT_TRUE(s.Move(3));
    EXPECT_EQ(s.FieldLong("idLeistungZeiterfassungTexte"), second);
    EXPECT_EQ(s.FieldText("LeistungZeiterfassungText"), QStringLiteral("Zweite Zeile"));
    EXPECT_FALSE(s.Move(3));
    s.Close();

    // A line for an entry row that is gone is not written; the entry keeps it for its next save.
    EXPECT_EQ(insertText(entry + 100, QStringLiteral("verloren")), 0);
    s.Execute(
        QStringLiteral("DELETE from tLeistungZeiterfassung WHERE idleistungzeiterfassung = %1")
            .arg(entry));
    EXPECT_EQ(count(QStringLiteral("tLeistungZeiterfassungTexte")), 0);
}

TEST_P(OfficeTimeEntryTest, ViewJoinsTheOfficeOrderAndKeepsRowsWithoutOne) {
    loadDemo();
    const std::int32_t idle = insertOrder(QStringLiteral("p0"), 0);
    const std::int32_t order =
        insertOrder(QStringLiteral("a0"), 1, 7, office::demo::kRentalIncomeOrder);
    const std::int32_t gone = insertOrder(QStringLiteral("a0"), 0, 7, 4711);
    const std::int32_t entry = insertEntry(order, QStringLiteral("a%1").arg(order), 1, 7,
                                           office::demo::kRentalIncomeOrder);
    insertOrder(QStringLiteral("a0"), 1, 8, office::demo::kRentalIncomeOrder);
    db::DbService s(database());
    s.Execute(QStringLiteral("UPDATE tLeistungZeiterfassung SET Text1 = 'Vorgabe', Sekunden = 600"
                             " WHERE idLeistungZeiterfassung = %1")
                  .arg(order));

    s.Open();
    ASSERT_EQ(s.OpenQuery(QStringLiteral("SELECT * FROM V_ORV_Common_Korg_Leistungen_Zeiterfassung"
                                         " WHERE ps_id = 7 ORDER BY VorgangParentId ASC")),
              1);
    std::map<std::int32_t, std::int32_t> parents;
    std::vector<std::int32_t> rowOrder;
    do {
        const std::int32_t id = s.FieldLong("idLeistungZeitErfassung");
        rowOrder.push_back(id);
        parents[id] = s.FieldLong("VorgangParentId", -1);
        if (id == order) {
            EXPECT_EQ(s.FieldText("VorgangKey"), QStringLiteral("a%1").arg(order));
            EXPECT_EQ(s.FieldLong("idAuftrag"), office::demo::kRentalIncomeOrder);
            EXPECT_EQ(s.FieldLong("flMandant"), 103);
            EXPECT_EQ(s.FieldLong("Ps_nr"), 10003);
            EXPECT_EQ(s.FieldText("Ps_Kurzname"), QStringLiteral("Dr. Weber"));
            EXPECT_EQ(s.FieldLong("dlAuftragArtNr"), 40);
            EXPECT_EQ(s.FieldText("dcAuftragArt"), QStringLiteral("Steuererklärungen"));
            EXPECT_EQ(s.FieldLong("dlAngelegenheit"), 5);
            EXPECT_EQ(s.FieldLong("dlAngelegenheitNr"), 402);
            EXPECT_EQ(s.FieldText("dcAngelegenheit"),
                      QStringLiteral("Einkünfte aus Vermietung und Verpachtung"));
            EXPECT_EQ(s.FieldLong("dlJahr"), 2025);
            EXPECT_EQ(s.FieldLong("diMonat"), 12);
            EXPECT_EQ(s.FieldLong("diLfdNr"), 1);
            EXPECT_EQ(s.FieldLong("dlObjektNr"), 3);
            EXPECT_EQ(s.FieldText("dcAngelegenheitErweitert"),
                      QStringLiteral("Mehrfamilienhaus Gartenstraße 12"));
            EXPECT_EQ(s.FieldText("Text1"), QStringLiteral("Vorgabe"));
            EXPECT_EQ(s.FieldLong("Sekunden"), 600);
            EXPECT_EQ(s.FieldLong("Status"), 1);
            EXPECT_EQ(s.FieldDate("Beginn"), at(2026, 3, 2, 8, 0));
            EXPECT_FALSE(s.FieldDate("Ende").isValid());
            EXPECT_EQ(s.FieldLong("Ang_GGWKenner"), 21);
            EXPECT_EQ(s.FieldText("VorgangParentKey", QStringLiteral("<NULL>")),
                      QStringLiteral("<NULL>"));
        } else if (id == idle || id == gone) {
            EXPECT_EQ(s.FieldText("VorgangKey"),
                      id == idle ? QStringLiteral("p0") : QStringLiteral("a%1").arg(gone));
            EXPECT_EQ(s.FieldLong("idAuftrag"), id == idle ? 0 : 4711);
            for (const char* joined :
                 {"flMandant", "Ps_nr", "dlAuftragArtNr", "dlAngelegenheit", "dlAngelegenheitNr",
                  "dlJahr", "diMonat", "diLfdNr", "dlObjektNr", "Ang_GGWKenner"}) {
                EXPECT_EQ(s.FieldLong(joined, -1), -1) << joined;
            }
            for (const char* joined :
                 {"Ps_Kurzname", "dcAuftragArt", "dcAngelegenheit", "dcAngelegenheitErweitert"}) {
                EXPECT_EQ(s.FieldText(joined, QStringLiteral("<NULL>")), QStringLiteral("<NULL>"))
                    << joined;
            }
        } else if (id == entry) {
            EXPECT_EQ(s.FieldText("VorgangParentKey"), QStringLiteral("a%1").arg(order));
            EXPECT_EQ(s.FieldText("Text2"), QStringLiteral("Notiz"));
            EXPECT_EQ(s.FieldLong("Sekunden"), 30);
            EXPECT_EQ(s.FieldLong("ps_id"), 7);
        } else {
            ADD_FAILURE() << "Zeile eines anderen Mitarbeiters: " << id;
        }
    } while (s.Move(3));

    ASSERT_EQ(rowOrder.size(), 4u);
    EXPECT_EQ(parents[rowOrder.back()], order) << "Vorgänge kommen vor ihren Leistungen";
    EXPECT_EQ(parents[idle], 0);
    EXPECT_EQ(parents[gone], 0);
}

// The two statements that tidy the table before the stopwatch loads it, exactly as it runs them.
TEST_P(OfficeTimeEntryTest, LoaderCleanUpResetsIdleRowsAndRemovesFinishedEmptyOrders) {
    const std::int32_t idle = insertOrder(QStringLiteral("p0"), 1, 7, 5001);
    const std::int32_t idleEntry = insertEntry(idle, QStringLiteral("p0"), 1, 7, 5001);
    const std::int32_t finishedEmpty = insertOrder(QStringLiteral("a0"), 2, 7, 5002);
    const std::int32_t othersFinishedEmpty = insertOrder(QStringLiteral("a0"), 2, 8);
    const std::int32_t finishedWithEntry = insertOrder(QStringLiteral("a0"), 2, 7, 5002);
    const std::int32_t bookedEntry =
        insertEntry(finishedWithEntry, QStringLiteral("a%1").arg(finishedWithEntry), 3, 7, 5002);
    const std::int32_t inactiveEmpty = insertOrder(QStringLiteral("a0"), 0);
    const std::int32_t finishedEntryOfDeletedOrder = insertEntry(9999, QStringLiteral("a9999"), 2);

    db::DbService s(database());
    s.Open();
    s.Execute(
        QStringLiteral("UPDATE tLeistungZeiterfassung SET idAuftrag = 0 WHERE VorgangKey = "
                       "'p0' or VorgangParentKey ='p0'"));
    s.Execute(QStringLiteral("DELETE FROM tLeistungZeiterfassung WHERE VorgangParentKey IS NULL "
                             "AND  Status = 2") +
              QStringLiteral(" AND idLeistungZeiterfassung NOT IN (SELECT VorgangParentId FROm "
                             "tLeistungZeiterfassung)"));
    s.Close();

    EXPECT_EQ(column(idle, "idAuftrag"), QStringLiteral("0"));
    EXPECT_EQ(column(idleEntry, "idAuftrag"), QStringLiteral("0"));
    EXPECT_EQ(column(finishedWithEntry, "idAuftrag"), QStringLiteral("5002"));
    EXPECT_FALSE(rowExists(finishedEmpty));
    EXPECT_FALSE(rowExists(othersFinishedEmpty));
    EXPECT_TRUE(rowExists(finishedWithEntry));
    EXPECT_TRUE(rowExists(bookedEntry));
    EXPECT_TRUE(rowExists(inactiveEmpty));
    EXPECT_TRUE(rowExists(finishedEntryOfDeletedOrder));
    EXPECT_EQ(rows(), 6);
}

// The stopwatch spells table and column names in varying case; all of it reaches the same table.
TEST_P(OfficeTimeEntryTest, StatementsInTheComponentsOwnSpellingReachTheTable) {
    const std::int32_t order = insertOrder(QStringLiteral("a0"), 0);
    const std::int32_t other = insertOrder(QStringLiteral("a0"), 0);
    const std::int32_t entry = insertEntry(order, QStringLiteral("a%1").arg(order), 0);
    db::DbService s(database());
    s.Open();
    EXPECT_EQ(s.Execute(QStringLiteral("UPDATE tLeistungzeiterfassung SET Status = 1 WHERE "
                                       "idLeistungZeiterfassung = %1")
                            .arg(order)),
              1);
    EXPECT_EQ(s.Execute(QStringLiteral("UPDATE tLeistungZeiterfassung SET  VorgangParentId = %1, "
                                       "VorgangParentKey ='a%1', idAuftrag = 5003 WHERE "
                                       "idLeistungZeiterfassung = %2")
                            .arg(other)
                            .arg(entry)),
              1);
    EXPECT_EQ(s.Execute(QStringLiteral("UPDATE tLeistungzeiterfassung Set idAuftrag = 5004 WHERE "
                                       "idLeistungzeiterfassung IN(%1,%2)")
                            .arg(other)
                            .arg(entry)),
              2);
    EXPECT_EQ(column(order, "Status"), QStringLiteral("1"));
    EXPECT_EQ(column(entry, "VorgangParentKey"), QStringLiteral("a%1").arg(other));
    EXPECT_EQ(column(entry, "idAuftrag"), QStringLiteral("5004"));
    EXPECT_EQ(s.Execute(QStringLiteral("DELETE from tLeistungZeiterfassung WHERE "
                                       "idleistungzeiterfassung = %1")
                            .arg(entry)),
              1);
    insertOrder(QStringLiteral("a0"), 0, 8);
    EXPECT_EQ(s.Execute(QStringLiteral("DELETE FROM tLeistungZeiterfassung WHERE ps_id = 7")), 2);
    EXPECT_EQ(rows(), 1);
}

ORV_INSTANTIATE_FOR_BACKENDS(OfficeTimeEntryTest);

}  // namespace
}  // namespace orv::test
