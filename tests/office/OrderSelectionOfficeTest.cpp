#include "OfficeTestSupport.h"

#include "office/directory/ClientDirectory.h"
#include "office/directory/MatterDirectory.h"
#include "office/directory/SearchText.h"
#include "office/host/OfficeMatterInfo.h"
#include "office/host/OfficeOrderLookup.h"
#include "office/host/OfficeOrderService.h"

#include <QStringList>

#include <tuple>

namespace orv::test {
namespace {

class OrderSelectionOfficeTest : public OfficeDemoTest {
protected:
    struct Creation {
        std::int32_t result = -1;
        std::int32_t id = 0;  // element 3 after the call
        std::optional<OrvError> error;
    };
    // Action 4 (or another) with the key in the elements the order control fills.
    Creation create(std::vector<std::int32_t> key,
                    std::int32_t action = platform::OrderService::kAktionAnlegen) {
        office::OfficeOrderService service(database());
        service.Begin(action);
        std::vector<std::int32_t> p(static_cast<std::size_t>(service.ParameterUBound(action)) + 1);
        const std::size_t at[] = {1, 8, 5, 6, 7, 12};  // client, matter, year, month, lfd, obj
        for (std::size_t i = 0; i < key.size(); ++i) {
            p[at[i]] = key[i];
        }
        Creation c;
        c.error = failureOf([&] { service.Execute(p, c.result); });
        c.id = p[3];
        service.End();
        return c;
    }
    // "nummer,nummer,..." of what the client picker offers.
    QString clients(const QString& typed, int limit) {
        QStringList found;
        for (const auto& e : office::ClientDirectory(database()).matching(typed, limit)) {
            found << QString::number(e.nummer);
        }
        return found.join(u',');
    }
};

QString kindAndMatter(std::int64_t art, std::int64_t ang, const char* tail = " <> 9") {
    return QStringLiteral("plAuftragArtNr = %1 AND plAngelegenheitNr = %2 AND plAbrechnungsArt%3")
        .arg(art)
        .arg(ang)
        .arg(QLatin1String(tail));
}

// The order check: the matter's facts, then the lookup of the order.
TEST_P(OrderSelectionOfficeTest, CheckFindsByKeyWithZeroAsNoCriterionAndRefusesOtherConditions) {
    // An unknown matter is not found and keeps nothing of the one read before.
    office::OfficeMatterInfo info(database());
    bool found = false;
    info.setAngelegenheitId(5);
    ASSERT_TRUE(info.Read(found) && found && info.Kenner() == 21);
    info.setAngelegenheitId(999);
    EXPECT_FALSE(info.Read(found));
    EXPECT_EQ(std::pair(found, info.Kenner()), std::pair(false, 0));
    struct Case {
        const char* what;
        std::int32_t client, year, month, lfd, objekt, art, ang, found, id, verweis;
    };
    const Case cases[] = {
        {"running number that does not exist", 101, 2026, 1, 2, 0, 10, 101, 0, 0, 0},
        {"invoiced", 102, 2025, 12, 0, 0, 30, 301, 1, 5004, 7001},
        {"another client's matter", 101, 2026, 1, 0, 0, 20, 201, 0, 0, 0},
        {"object number", 103, 2025, 12, 0, 3, 40, 402, 1, 5006, 0},
        {"other object number", 103, 2025, 12, 0, 4, 40, 402, 0, 0, 0},
        {"several orders, first", 106, 2026, 3, 0, 0, 90, 901, 2, 5011, 0},
        {"several orders, second", 106, 2026, 3, 2, 0, 90, 901, 1, 5012, 0},
        {"second period", 107, 2026, 5, 0, 0, 90, 901, 1, 4903, 0},
        {"wrong month", 107, 2026, 6, 0, 0, 90, 901, 0, 0, 0},
        {"an invoice row the order does not name", 106, 2026, 3, 1, 0, 90, 901, 1, 5011, 7002},
        {"ordinary, emptied fields", 101, 2026, 1, 0, 0, 10, 101, 1, 5001, 0},
    };
    // One object asked in turn: a miss must not keep the previous hit.
    office::OfficeOrderLookup lookup(database());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.verweis == 7002) {
            execute(
                QStringLiteral("INSERT INTO tRechnung (idRechnung, flAuftrag, dlRechnungNr,"
                               " dtRechnungsDatum) VALUES (7002, 5011, 2026002,"
                               " '2026-04-01 00:00:00')"));
        }
        ASSERT_TRUE(lookup.Init());
        lookup.setMandantId(c.client);
        lookup.setJahr(c.year);
        lookup.setMonat(c.month);
        lookup.setLfdNr(c.lfd);
        lookup.setObjektNr(c.objekt);
        lookup.Search(kindAndMatter(c.art, c.ang), true);
        EXPECT_EQ(std::tuple(lookup.Read(), lookup.AuftragId(), lookup.RechnungsVerweis()),
                  std::tuple(c.found, c.id, c.verweis));
    }
    // Only the condition the order control builds is taken; anything else fails, finds nothing
    // and changes nothing.
    const QString valid = kindAndMatter(10, 101);
    const QString hostile[] = {
        valid + QStringLiteral(" OR 1=1"),
        QStringLiteral("plAuftragArtNr = 10; DELETE FROM tAuftrag; -- AND plAngelegenheitNr = "
                       "101 AND plAbrechnungsArt <> 9"),
        QStringLiteral("plAuftragArtNr = (SELECT 10) AND plAngelegenheitNr = 101 AND "
                       "plAbrechnungsArt <> 9"),
        QStringLiteral("plAuftragArtNr = 10 AND plMandant = 101 AND plAbrechnungsArt <> 9"),
        QStringLiteral("plAuftragArtNr = 10 AND plAngelegenheitNr = 101"),
        kindAndMatter(10, 101, " <> 8"),
        kindAndMatter(99999999999, 101),
        valid + u'\n',
        QString(),
    };
    // Still asked for the ordinary order, the last case.
    const std::int32_t orders = count(QStringLiteral("tAuftrag"));
    for (const QString& condition : hostile) {
        SCOPED_TRACE(condition.toStdString());
        lookup.Search(valid, true);
        ASSERT_EQ(lookup.AuftragId(), 5001);
        const auto error = failureOf([&] { lookup.Search(condition, true); });
        EXPECT_TRUE(error && error->description().startsWith(QStringLiteral(
                                 "Die Suchbedingung für Aufträge wird nicht unterstützt")));
        EXPECT_EQ(std::pair(lookup.Read(), lookup.AuftragId()), std::pair(0, 0));
    }
    EXPECT_EQ(count(QStringLiteral("tAuftrag")), orders);
}

TEST_P(OrderSelectionOfficeTest, CreationWritesOneOrderPerKeyAndRefusesABrokenKey) {
    struct Case {
        const char* what;
        std::vector<std::int32_t> key;  // client, matter, year, month, lfd, object
        std::int32_t existing;          // > 0: that order is answered; 0: a new one; -1: refused
        const char* rowOrError;         // the new row, or a part of the message
    };
    const Case cases[] = {
        {"new, 0 becomes 1", {101, 1, 2026, 3, 0, 0}, 0, "101|10|1|101|2026|3|1|1|1|0"},
        {"new running number", {106, 10, 2026, 3, 3, 0}, 0, "106|90|10|901|2026|3|3|1|1|0"},
        {"existing, stored 0 is 1", {101, 1, 2026, 1, 0, 0}, 5001, ""},
        {"existing running number", {106, 10, 2026, 3, 2, 0}, 5012, ""},
        {"existing object number", {103, 5, 2025, 12, 1, 3}, 5006, ""},
        {"key of a billing kind 9 order", {103, 4, 2025, 12, 1, 0}, -1, "Abrechnungsart 9"},
        {"month 13", {101, 1, 2026, 13, 1, 0}, -1, "Monat 13"},
        {"year 0", {101, 1, 0, 3, 1, 0}, -1, "Jahr 0"},
        {"running number 100", {106, 10, 2026, 3, 100, 0}, -1, "Lfd-Nr 100"},
        {"object number 100000", {103, 5, 2026, 1, 1, 100000}, -1, "Objekt-Nr 100000"},
        {"no client", {0, 1, 2026, 3, 1, 0}, -1, "kein Mandant"},
        {"unknown client", {999, 1, 2026, 3, 1, 0}, -1, "Mandant mit der Id 999"},
        {"office instead of client", {100, 1, 2026, 3, 1, 0}, -1, "Kanzlei"},
        {"no matter", {101, 0, 2026, 3, 1, 0}, -1, "keine Angelegenheit"},
        {"unknown matter", {101, 999, 2026, 3, 1, 0}, -1, "Angelegenheit mit der Id 999"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::int32_t before = count(QStringLiteral("tAuftrag"));
        const Creation first = create(c.key);
        EXPECT_EQ(first.result == 1, c.existing >= 0);
        EXPECT_EQ(count(QStringLiteral("tAuftrag")), before + (c.existing == 0 ? 1 : 0));
        const QString error = first.error ? first.error->description() : QString();
        if (c.existing != 0) {
            EXPECT_EQ(c.existing < 0 ? error.contains(QString::fromUtf8(c.rowOrError))
                                     : first.id == c.existing && error.isEmpty(),
                      true)
                << error.toStdString();
            continue;
        }
        EXPECT_EQ(
            rows(QStringLiteral("SELECT * FROM tAuftrag WHERE idAuftrag = $1"),
                 {"flMandant", "dlAuftragArtNr", "flAngelegenheit", "dlAngelegenheitNr", "dlJahr",
                  "diMonat", "diLfdNr", "dlObjektNr", "dlAbrechnungsArt", "flRechnung"},
                 {n(first.id)}),
            QString::fromUtf8(c.rowOrError))
            << error.toStdString();
        // Done again, as after a lost answer: the same order, no second row.
        EXPECT_EQ(create(c.key).id, first.id);
        EXPECT_EQ(count(QStringLiteral("tAuftrag")), before + 1);
    }
    // A failing insert, the display action and a short parameter array create nothing.
    const std::int32_t before = count(QStringLiteral("tAuftrag"));
    database().faults().failStatementsContaining("INSERT INTO tAuftrag");
    const Creation failed = create({101, 1, 2026, 4, 1, 0});
    database().faults().clear();
    EXPECT_TRUE(failed.error.has_value() && failed.result != 1);
    const Creation display =
        create({101, 1, 2026, 4, 1, 0}, platform::OrderService::kAktionAnzeigen);
    EXPECT_TRUE(!display.error.has_value() && display.result == 0);
    office::OfficeOrderService service(database());
    std::int32_t action = platform::OrderService::kAktionAnlegen;
    service.Begin(action);
    std::vector<std::int32_t> tooShort(8, 1);
    std::int32_t result = -1;
    EXPECT_TRUE(failureOf([&] { service.Execute(tooShort, result); }).has_value() && result == 0);
    EXPECT_EQ(count(QStringLiteral("tAuftrag")), before);
}

TEST_P(OrderSelectionOfficeTest, DirectoriesMatchNumbersAndLiteralFoldedTextOfClientsOnly) {
    const struct {
        bool client;
        const char* typed;
        int limit;
        const char* found;  // client numbers, or order kind/matter numbers
    } cases[] = {{true, "10001", 10, "10001"},
                 {true, "1000", 3, "10001,10002,10003"},
                 {true, "101", 5, "10100"},
                 {true, "0100", 5, ""},
                 {true, "10000000001", 5, ""},
                 {true, "o'neill", 5, "10007"},
                 {true, "ümit", 5, "10008"},
                 {true, "SÖHNE", 5, "10009"},
                 {true, "%", 5, "10100"},
                 {true, "0%", 5, "10100"},
                 {true, "_", 5, ""},
                 {true, "o", 2, "10007,10002"},  // starting before containing, then by number
                 {true, "o", 4, "10007,10002,10004,10005"},
                 {true, "kanzlei", 5, ""},
                 {true, "  bäck ", 5, "10001"},
                 {true, "", 5, ""},
                 {true, "gmbh", 0, ""},
                 {false, "50", 10, "50/501,50/502,50/503,50/504"},
                 {false, "5", 2, "50/501,50/502"},
                 {false, "7", 10, ""},
                 {false, "ERKLÄRUNG", 10, "40/401,40/402,50/502,50/503,50/504"},
                 {false, "beratung", 10, "90/901,90/990"},
                 {false, "%", 10, ""}};
    for (const auto& c : cases) {
        const QString typed = QString::fromUtf8(c.typed);
        QStringList found;
        for (const auto& e : office::MatterDirectory(database()).matching(typed, c.limit)) {
            found << QStringLiteral("%1/%2").arg(e.auftragArtNr).arg(e.angelegenheitNr);
        }
        EXPECT_EQ(c.client ? clients(typed, c.limit) : found.join(u','), QString::fromUtf8(c.found))
            << c.typed;
    }
    office::ClientDirectory directory(database());
    EXPECT_FALSE(directory.byNumber(1) || directory.byId(office::demo::kOffice)) << "no client";
    EXPECT_FALSE(office::MatterDirectory(database()).byNumbers(10, 901)) << "of another kind";
}

// Other programs write clients with plain SQL: the database folds what they write as the search
// folds what is typed, so the client is found by any spelling of its case.
TEST_P(OrderSelectionOfficeTest, ClientsWrittenByPlainSqlAreFoundByTheirFoldedNames) {
    const struct {
        const char *shortName, *name, *typed;  // typed: a part of name, in other cases
    } cases[] = {
        {"ÄRGER & Co", "Ärger, Özlem ÜBEL", "özlem übel"},
        {"Straßenbau", "STRASSE 100% O'Brien_X", "0% o'brien_x"},
        {"Élan", "Éric Ändrès-ZÜNDEL", "ändrès-zündel"},
    };
    std::int32_t number = 20000;
    for (const auto& c : cases) {
        const QString shortName = QString::fromUtf8(c.shortName);
        const QString name = QString::fromUtf8(c.name);
        SCOPED_TRACE(c.name);
        // Inserted under a placeholder name, then renamed: both triggers have to fold.
        for (const bool renamed : {false, true}) {
            ++number;
            execute(QStringLiteral("INSERT INTO tPersonStamm (Ps_Nr, Ps_Kurzname, Ps_Name)"
                                   " VALUES ($1, $2, $3)"),
                    {n(number), renamed ? QStringLiteral("x") : shortName,
                     renamed ? QStringLiteral("y") : name});
            if (renamed) {
                execute(QStringLiteral("UPDATE tPersonStamm SET Ps_Kurzname = $1,"
                                       " Ps_Name = $2 WHERE Ps_Nr = $3"),
                        {shortName, name, n(number)});
            }
            EXPECT_EQ(rows(QStringLiteral("SELECT Ps_KurznameSuche, Ps_NameSuche FROM"
                                          " tPersonStamm WHERE Ps_Nr = $1"),
                           {"Ps_KurznameSuche", "Ps_NameSuche"}, {n(number)}),
                      office::search::fold(shortName) + u'|' + office::search::fold(name));
        }
        const QString both = QStringLiteral("%1,%2").arg(number - 1).arg(number);
        EXPECT_EQ(clients(QString::fromUtf8(c.typed), 5), both);
    }
    // Many starting with the text (searched by number rather than by name): still the lowest
    // numbers first, before a lower number that only contains it.
    execute(QStringLiteral(
        "WITH RECURSIVE i(k) AS (SELECT 0 UNION ALL SELECT k + 1 FROM i WHERE k < 249)"
        " INSERT INTO tPersonStamm (Ps_Nr, Ps_Kurzname, Ps_Name) SELECT 30249 - k, 'ZANDER',"
        " 'Zander ' || k FROM i UNION ALL SELECT 29999, 'Haus Zander', 'Haus Zander'"));
    EXPECT_EQ(clients(QStringLiteral("Zander"), 3), QStringLiteral("30000,30001,30002"));
}

ORV_INSTANTIATE_FOR_BACKENDS(OrderSelectionOfficeTest);

}  // namespace
}  // namespace orv::test
