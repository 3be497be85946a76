#include "OfficeTestSupport.h"

#include "office/directory/ClientDirectory.h"
#include "office/directory/MatterDirectory.h"
#include "office/host/OfficeOrderLookup.h"
#include "office/host/OfficeOrderService.h"

#include <QStringList>

#include <tuple>

namespace orv::test {
namespace {

class OrderSelectionOfficeTest : public OfficeDbTest {
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
    // "nummer,..." of what the client picker offers, or "kind/matter,..." of the matter picker.
    QString offered(const char* typed, int limit, bool client = true) {
        const QString text = QString::fromUtf8(typed);
        QStringList found;
        for (const auto& e :
             office::ClientDirectory(database()).matching(text, client ? limit : 0)) {
            found << QString::number(e.nummer);
        }
        for (const auto& e :
             office::MatterDirectory(database()).matching(text, client ? 0 : limit)) {
            found << QStringLiteral("%1/%2").arg(e.auftragArtNr).arg(e.angelegenheitNr);
        }
        return found.join(u',');
    }
};

// The condition the order control builds.
const QString kCondition =
    QStringLiteral("plAuftragArtNr = %1 AND plAngelegenheitNr = %2 AND plAbrechnungsArt <> 9");

// The order check: the matter's facts, then the lookup of the order.
TEST_P(OrderSelectionOfficeTest, CheckFindsByKeyWithZeroAsNoCriterionAndRefusesOtherConditions) {
    struct Case {
        const char* what;
        std::int32_t client, year, month, lfd, objekt, art, ang, found, id, verweis;
    };
    const Case cases[] = {
        {"invoiced", 102, 2025, 12, 0, 0, 30, 301, 1, 5004, 7001},
        {"running number that does not exist", 101, 2026, 1, 2, 0, 10, 101, 0, 0, 0},
        {"object number", 103, 2025, 12, 0, 3, 40, 402, 1, 5006, 0},
        {"several orders, first", 106, 2026, 3, 0, 0, 90, 901, 2, 5011, 0},
        {"several orders, second", 106, 2026, 3, 2, 0, 90, 901, 1, 5012, 0},
        {"ordinary, emptied fields", 101, 2026, 1, 0, 0, 10, 101, 1, 5001, 0},
    };
    // One object asked in turn: a miss must not keep the previous hit.
    office::OfficeOrderLookup lookup(database());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(lookup.Init());
        lookup.setMandantId(c.client);
        lookup.setJahr(c.year);
        lookup.setMonat(c.month);
        lookup.setLfdNr(c.lfd);
        lookup.setObjektNr(c.objekt);
        lookup.Search(kCondition.arg(c.art).arg(c.ang), true);
        EXPECT_EQ(std::tuple(lookup.Read(), lookup.AuftragId(), lookup.RechnungsVerweis()),
                  std::tuple(c.found, c.id, c.verweis));
    }
    // Only the condition the order control builds is taken; anything else fails, finds nothing
    // and changes nothing.
    const QString valid = kCondition.arg(10).arg(101);
    const QString hostile[] = {
        valid + QStringLiteral(" OR 1=1"),
        QStringLiteral("plAuftragArtNr = 10; DELETE FROM tAuftrag; -- AND plAngelegenheitNr = "
                       "101 AND plAbrechnungsArt <> 9"),
        QStringLiteral("plAuftragArtNr = (SELECT 10) AND plAngelegenheitNr = 101 AND "
                       "plAbrechnungsArt <> 9"),
        QStringLiteral("plAuftragArtNr = 10 AND plMandant = 101 AND plAbrechnungsArt <> 9"),
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

// A broken key is refused with its fault named; an existing order is answered, with a stored
// running number 0 taken as 1; a new one is written once, also when done again as after a lost
// answer. A failing insert and the display action create nothing.
TEST_P(OrderSelectionOfficeTest, CreationWritesOneOrderPerKeyAndRefusesABrokenKey) {
    const std::int32_t before = count(QStringLiteral("tAuftrag"));
    const std::pair<std::vector<std::int32_t>, const char*> refused[] = {
        // client, matter, year, month, lfd, object
        {{103, 4, 2025, 12, 1, 0}, "Abrechnungsart 9"},
        {{101, 1, 2026, 13, 1, 0}, "Monat 13"},
        {{106, 10, 2026, 3, 100, 0}, "Lfd-Nr 100"},
        {{0, 1, 2026, 3, 1, 0}, "kein Mandant"},
        {{100, 1, 2026, 3, 1, 0}, "Kanzlei"},
        {{101, 999, 2026, 3, 1, 0}, "Angelegenheit mit der Id 999"},
    };
    for (const auto& [key, message] : refused) {
        const Creation c = create(key);
        EXPECT_TRUE(c.result != 1 && c.error &&
                    c.error->description().contains(QString::fromUtf8(message)))
            << message;
    }
    for (const auto& [key, existing] : {std::pair{std::vector{101, 1, 2026, 1, 0, 0}, 5001},
                                        {std::vector{103, 5, 2025, 12, 1, 3}, 5006}}) {
        const Creation c = create(key);
        EXPECT_TRUE(c.result == 1 && c.id == existing && !c.error) << existing;
    }
    database().faults().failStatementsContaining("INSERT INTO tAuftrag");
    const Creation failed = create({101, 1, 2026, 3, 0, 0});
    database().faults().clear();
    EXPECT_TRUE(failed.error.has_value() && failed.result != 1);
    const Creation display =
        create({101, 1, 2026, 3, 0, 0}, platform::OrderService::kAktionAnzeigen);
    EXPECT_TRUE(!display.error.has_value() && display.result == 0);
    EXPECT_EQ(count(QStringLiteral("tAuftrag")), before);
    const Creation created = create({101, 1, 2026, 3, 0, 0});
    EXPECT_EQ(created.result, 1);
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM tAuftrag WHERE idAuftrag = $1"),
                   {"flMandant", "dlAuftragArtNr", "flAngelegenheit", "dlAngelegenheitNr", "dlJahr",
                    "diMonat", "diLfdNr", "dlObjektNr", "dlAbrechnungsArt", "flRechnung"},
                   {std::int64_t{created.id}}),
              QStringLiteral("101|10|1|101|2026|3|1|1|1|0"));
    EXPECT_EQ(create({101, 1, 2026, 3, 0, 0}).id, created.id);
    EXPECT_EQ(count(QStringLiteral("tAuftrag")), before + 1);
}

TEST_P(OrderSelectionOfficeTest, DirectoriesMatchNumbersAndLiteralFoldedTextOfClientsOnly) {
    // Client or matter picker, typed, limit, and client numbers or order kind/matter numbers.
    const std::tuple<bool, const char*, int, const char*> cases[] = {
        {true, "1000", 3, "10001,10002,10003"},
        {true, "o'neill", 5, "10007"},
        {true, "SÖHNE", 5, "10009"},
        {true, "%", 5, "10100"},
        {true, "_", 5, ""},
        {true, "o", 2, "10007,10002"},  // starting before containing, then by number
        {true, "  bäck ", 5, "10001"},
        {false, "5", 2, "50/501,50/502"},
        {false, "ERKLÄRUNG", 10, "40/401,40/402,50/502,50/503,50/504"},
    };
    for (const auto& [client, typed, limit, found] : cases) {
        EXPECT_EQ(offered(typed, limit, client), QString::fromUtf8(found)) << typed;
    }
    office::ClientDirectory directory(database());
    EXPECT_FALSE(directory.byNumber(1) || directory.byId(office::demo::kOffice)) << "no client";
    EXPECT_FALSE(office::MatterDirectory(database()).byNumbers(10, 901)) << "of another kind";
}

// Other programs write clients with plain SQL: the database folds what they write as the search
// folds what is typed, so the client is found by any spelling of its case; written as it is, and
// written under a placeholder and renamed: both triggers have to fold both names.
TEST_P(OrderSelectionOfficeTest, ClientsWrittenByPlainSqlAreFoundByTheirFoldedNames) {
    const QString shortName = QStringLiteral("ÄRGER & Co");
    const QString name = QStringLiteral("Özlem STRASSE 100% O'Brien_X");
    execute(QStringLiteral("INSERT INTO tPersonStamm (Ps_Nr, Ps_Kurzname, Ps_Name) VALUES"
                           " (20001, $1, $2), (20002, 'x', 'y')"),
            {shortName, name});
    execute(QStringLiteral("UPDATE tPersonStamm SET Ps_Kurzname = $1, Ps_Name = $2 WHERE"
                           " Ps_Nr = 20002"),
            {shortName, name});
    for (const char* typed : {"ärger & co", "özlem strasse 100% o'brien_x"}) {
        EXPECT_EQ(offered(typed, 5), QStringLiteral("20001,20002")) << typed;
    }
}

ORV_INSTANTIATE_FOR_BACKENDS(OrderSelectionOfficeTest);

}  // namespace
}  // namespace orv::test
