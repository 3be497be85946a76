#include "OfficeTestSupport.h"

#include "office/directory/ClientDirectory.h"
#include "office/directory/MatterDirectory.h"
#include "office/host/OfficeMatterInfo.h"
#include "office/host/OfficeOrderLookup.h"
#include "office/host/OfficeOrderService.h"

#include <QStringList>

namespace orv::test {
namespace {

using office::OfficeOrderService;

constexpr const char* kOrderColumns =
    "SELECT flMandant, dlAuftragArtNr, flAngelegenheit, dlAngelegenheitNr, dlJahr, diMonat,"
    " diLfdNr, dlObjektNr, dlAbrechnungsArt, flRechnung FROM tAuftrag";

class OrderSelectionOfficeTest : public OfficeDbTest {
protected:
    void SetUp() override {
        OfficeDbTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            loadDemo();
        }
    }
    QString order(std::int32_t id) {
        return rows(
            QLatin1String(kOrderColumns) + QStringLiteral(" WHERE idAuftrag = $1"),
            {"flMandant", "dlAuftragArtNr", "flAngelegenheit", "dlAngelegenheitNr", "dlJahr",
             "diMonat", "diLfdNr", "dlObjektNr", "dlAbrechnungsArt", "flRechnung"},
            {n(id)});
    }
    // Action 4 with the key; the result, the id in element 3 and the error, if any.
    struct Creation {
        std::int32_t result = -1;
        std::int32_t id = 0;
        std::optional<OrvError> error;
    };
    Creation create(std::int32_t client, std::int32_t matter, std::int32_t year, std::int32_t month,
                    std::int32_t lfd, std::int32_t objekt,
                    std::int32_t action = platform::OrderService::kAktionAnlegen) {
        OfficeOrderService service(database());
        service.Begin(action);
        std::vector<std::int32_t> p(static_cast<std::size_t>(service.ParameterUBound(action)) + 1);
        p[1] = client;
        p[8] = matter;
        p[5] = year;
        p[6] = month;
        p[7] = lfd;
        p[12] = objekt;
        Creation c;
        c.error = failureOf([&] { service.Execute(p, c.result); });
        c.id = p[3];
        service.End();
        return c;
    }
};

QString kindAndMatter(std::int32_t art, std::int32_t ang) {
    return QStringLiteral(
               "plAuftragArtNr = %1 AND plAngelegenheitNr = %2 AND plAbrechnungsArt <> 9")
        .arg(art)
        .arg(ang);
}

TEST_P(OrderSelectionOfficeTest, LookupFindsByKeyWithZeroAsNoCriterionAndNeverBillingKind9) {
    struct Case {
        const char* what;
        std::int32_t client, year, month, lfd, objekt, art, ang;
        std::int32_t found, id, verweis;
    };
    const Case cases[] = {
        {"ordinary, emptied fields", 101, 2026, 1, 0, 0, 10, 101, 1, 5001, 0},
        {"running number 1", 101, 2026, 1, 1, 0, 10, 101, 1, 5001, 0},
        {"running number that does not exist", 101, 2026, 1, 2, 0, 10, 101, 0, 0, 0},
        {"invoiced", 102, 2025, 12, 0, 0, 30, 301, 1, 5004, 7001},
        {"billing kind 9", 103, 2025, 12, 0, 0, 40, 401, 0, 0, 0},
        {"another client's matter", 101, 2026, 1, 0, 0, 20, 201, 0, 0, 0},
        {"object number", 103, 2025, 12, 0, 3, 40, 402, 1, 5006, 0},
        {"other object number", 103, 2025, 12, 0, 4, 40, 402, 0, 0, 0},
        {"several orders, first", 106, 2026, 3, 0, 0, 90, 901, 2, 5011, 0},
        {"several orders, second", 106, 2026, 3, 2, 0, 90, 901, 1, 5012, 0},
        {"second period", 107, 2026, 5, 0, 0, 90, 901, 1, 4903, 0},
        {"wrong month", 107, 2026, 6, 0, 0, 90, 901, 0, 0, 0},
    };
    office::OfficeOrderLookup lookup(database());
    // One object asked in turn: a miss must not keep the previous hit.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(lookup.Init());
        lookup.setMandantId(c.client);
        lookup.setJahr(c.year);
        lookup.setMonat(c.month);
        lookup.setLfdNr(c.lfd);
        lookup.setObjektNr(c.objekt);
        lookup.Search(kindAndMatter(c.art, c.ang), true);
        EXPECT_EQ(lookup.Read(), c.found);
        EXPECT_EQ(lookup.AuftragId(), c.id);
        EXPECT_EQ(lookup.RechnungsVerweis(), c.verweis);
    }
    // An invoice row without the order's reference to it counts as well.
    db::DbService(database())
        .Execute(QStringLiteral(
            "INSERT INTO tRechnung (idRechnung, flAuftrag, dlRechnungNr,"
            " dtRechnungsDatum) VALUES (7002, 5011, 2026002, '2026-04-01 00:00:00')"));
    lookup.setMandantId(106);
    lookup.setJahr(2026);
    lookup.setMonat(3);
    lookup.setLfdNr(1);
    lookup.setObjektNr(0);
    lookup.Search(kindAndMatter(90, 901), true);
    EXPECT_EQ(lookup.RechnungsVerweis(), 7002);
}

TEST_P(OrderSelectionOfficeTest, LookupRefusesAnyOtherConditionTextAndTouchesNothing) {
    const QString valid = kindAndMatter(10, 101);
    const QString hostile[] = {
        valid + QStringLiteral(" OR 1=1"),
        QStringLiteral("plAuftragArtNr = 10; DELETE FROM tAuftrag; -- AND plAngelegenheitNr = "
                       "101 AND plAbrechnungsArt <> 9"),
        QStringLiteral("plAuftragArtNr = (SELECT 10) AND plAngelegenheitNr = 101 AND "
                       "plAbrechnungsArt <> 9"),
        QStringLiteral("plAuftragArtNr = 10 AND plMandant = 101 AND plAbrechnungsArt <> 9"),
        QStringLiteral("plAuftragArtNr = 10 AND plAngelegenheitNr = 101"),
        QStringLiteral("plAuftragArtNr = 10 AND plAngelegenheitNr = 101 AND plAbrechnungsArt <> 8"),
        QStringLiteral("plAuftragArtNr = 99999999999 AND plAngelegenheitNr = 101 AND "
                       "plAbrechnungsArt <> 9"),
        valid + u'\n',
        QString(),
    };
    office::OfficeOrderLookup lookup(database());
    lookup.setMandantId(101);
    lookup.setJahr(2026);
    lookup.setMonat(1);
    const std::int32_t orders = count(QStringLiteral("tAuftrag"));
    for (const QString& condition : hostile) {
        SCOPED_TRACE(condition.toStdString());
        lookup.Search(valid, true);
        ASSERT_EQ(lookup.AuftragId(), 5001);
        const auto error = failureOf([&] { lookup.Search(condition, true); });
        ASSERT_TRUE(error.has_value());
        EXPECT_TRUE(error->description().startsWith(
            QStringLiteral("Die Suchbedingung für Aufträge wird nicht unterstützt")));
        EXPECT_EQ(lookup.Read(), 0);
        EXPECT_EQ(lookup.AuftragId(), 0);
    }
    EXPECT_EQ(count(QStringLiteral("tAuftrag")), orders);
}

TEST_P(OrderSelectionOfficeTest, MatterInfoReadsTheSeveralOrdersFlagAndTheKey) {
    office::OfficeMatterInfo info(database());
    info.setModus(2);
    info.setStichtag(QDate(2026, 3, 2));
    const struct {
        std::int32_t matter;
        bool found, several;
        std::int32_t kenner;
    } cases[] = {{10, true, true, 0}, {5, true, false, 21}, {999, false, false, 0}};
    for (const auto& c : cases) {
        info.setAngelegenheitId(c.matter);
        bool found = true;
        EXPECT_EQ(info.Read(found), c.found) << c.matter;
        EXPECT_EQ(found, c.found) << c.matter;
        EXPECT_EQ(info.MehrfachAnlage(), c.several) << c.matter;
        EXPECT_EQ(info.Kenner(), c.kenner) << c.matter;
    }
}

TEST_P(OrderSelectionOfficeTest, CreationWritesOneOrderPerKeyAndRefusesABrokenKey) {
    struct Case {
        const char* what;
        std::int32_t client, matter, year, month, lfd, objekt;
        std::int32_t existing;   // > 0: that order is answered; 0: a new one; -1: refused
        const char* rowOrError;  // the new row, or a part of the message
    };
    const Case cases[] = {
        {"new, 0 becomes 1", 101, 1, 2026, 3, 0, 0, 0, "101|10|1|101|2026|3|1|1|1|0"},
        {"new running number", 106, 10, 2026, 3, 3, 0, 0, "106|90|10|901|2026|3|3|1|1|0"},
        {"new object number", 103, 5, 2026, 1, 0, 7, 0, "103|40|5|402|2026|1|1|7|1|0"},
        {"existing, stored 0 is 1", 101, 1, 2026, 1, 0, 0, 5001, ""},
        {"existing running number", 106, 10, 2026, 3, 2, 0, 5012, ""},
        {"existing object number", 103, 5, 2025, 12, 1, 3, 5006, ""},
        {"key of a billing kind 9 order", 103, 4, 2025, 12, 1, 0, -1, "Abrechnungsart 9"},
        {"month 13", 101, 1, 2026, 13, 1, 0, -1, "Monat 13"},
        {"year 0", 101, 1, 0, 3, 1, 0, -1, "Jahr 0"},
        {"running number 100", 106, 10, 2026, 3, 100, 0, -1, "Lfd-Nr 100"},
        {"object number 100000", 103, 5, 2026, 1, 1, 100000, -1, "Objekt-Nr 100000"},
        {"no client", 0, 1, 2026, 3, 1, 0, -1, "kein Mandant"},
        {"unknown client", 999, 1, 2026, 3, 1, 0, -1, "Mandant mit der Id 999"},
        {"office instead of client", 100, 1, 2026, 3, 1, 0, -1, "Kanzlei"},
        {"no matter", 101, 0, 2026, 3, 1, 0, -1, "keine Angelegenheit"},
        {"unknown matter", 101, 999, 2026, 3, 1, 0, -1, "Angelegenheit mit der Id 999"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::int32_t before = count(QStringLiteral("tAuftrag"));
        const Creation first = create(c.client, c.matter, c.year, c.month, c.lfd, c.objekt);
        if (c.existing < 0) {
            EXPECT_NE(first.result, 1);
            ASSERT_TRUE(first.error.has_value());
            EXPECT_TRUE(first.error->description().contains(QString::fromUtf8(c.rowOrError)))
                << first.error->description().toStdString();
            EXPECT_EQ(count(QStringLiteral("tAuftrag")), before);
            continue;
        }
        ASSERT_FALSE(first.error.has_value()) << first.error->description().toStdString();
        EXPECT_EQ(first.result, 1);
        if (c.existing > 0) {
            EXPECT_EQ(first.id, c.existing);
            EXPECT_EQ(count(QStringLiteral("tAuftrag")), before);
            continue;
        }
        EXPECT_EQ(order(first.id), QString::fromUtf8(c.rowOrError));
        // Done again, as after a lost answer: the same order, no second row.
        const Creation again = create(c.client, c.matter, c.year, c.month, c.lfd, c.objekt);
        EXPECT_EQ(again.id, first.id);
        EXPECT_EQ(count(QStringLiteral("tAuftrag")), before + 1);
    }
}

TEST_P(OrderSelectionOfficeTest, AFailedInsertLeavesNothingAndTheDisplayActionCreatesNothing) {
    const std::int32_t before = count(QStringLiteral("tAuftrag"));
    database().faults().failStatementsContaining("INSERT INTO tAuftrag");
    const Creation failed = create(101, 1, 2026, 4, 1, 0);
    database().faults().clear();
    EXPECT_TRUE(failed.error.has_value());
    EXPECT_NE(failed.result, 1);
    EXPECT_EQ(count(QStringLiteral("tAuftrag")), before);

    const Creation display = create(101, 1, 2026, 4, 1, 0, platform::OrderService::kAktionAnzeigen);
    EXPECT_EQ(display.result, 0);
    EXPECT_FALSE(display.error.has_value());
    EXPECT_EQ(count(QStringLiteral("tAuftrag")), before);

    office::OfficeOrderService service(database());
    std::int32_t action = platform::OrderService::kAktionAnlegen;
    service.Begin(action);
    std::vector<std::int32_t> tooShort(8, 1);
    std::int32_t result = -1;
    EXPECT_TRUE(failureOf([&] { service.Execute(tooShort, result); }).has_value());
    EXPECT_EQ(result, 0);
    EXPECT_EQ(count(QStringLiteral("tAuftrag")), before);
}

TEST_P(OrderSelectionOfficeTest, ClientDirectoryMatchesNumbersAndLiteralTextOfClientsOnly) {
    office::ClientDirectory clients(database());
    const struct {
        const char* typed;
        int limit;
        const char* numbers;
    } cases[] = {
        {"10001", 10, "10001"},
        {"1000", 20, "10001,10002,10003,10004,10005,10006,10007,10008,10009"},
        {"1000", 3, "10001,10002,10003"},
        {"101", 5, "10100"},
        {"0100", 5, ""},
        {"10000000001", 5, ""},
        {"1", 1, "10001"},
        {"o'neill", 5, "10007"},
        {"ÖZTÜRK", 5, "10008"},
        {"ümit", 5, "10008"},
        {"SÖHNE", 5, "10009"},
        {"%", 5, "10100"},
        {"_", 5, ""},
        {"\"", 5, ""},
        {"o", 2, "10007,10002"},
        {"kanzlei", 5, ""},
        {"  bäck ", 5, "10001"},
        {"", 5, ""},
        {"gmbh", 0, ""},
    };
    for (const auto& c : cases) {
        QStringList found;
        for (const office::ClientEntry& e : clients.matching(QString::fromUtf8(c.typed), c.limit)) {
            found << QString::number(e.nummer);
        }
        EXPECT_EQ(found.join(u','), QString::fromUtf8(c.numbers)) << c.typed;
    }
    const office::ClientEntry apostrophe{107, 10007, QStringLiteral("O'Neill Consulting"),
                                         QStringLiteral("Café O'Neill & Partner")};
    EXPECT_EQ(clients.byNumber(10007), apostrophe);
    EXPECT_EQ(clients.byId(107), apostrophe);
    EXPECT_FALSE(clients.byNumber(1).has_value()) << "the office is no client";
    EXPECT_FALSE(clients.byId(office::demo::kOffice).has_value());
    EXPECT_FALSE(clients.byNumber(999).has_value());
}

TEST_P(OrderSelectionOfficeTest, MatterDirectoryMatchesKindNumbersAndTexts) {
    office::MatterDirectory matters(database());
    const struct {
        const char* typed;
        int limit;
        const char* keys;
    } cases[] = {
        {"50", 10, "50/501,50/502,50/503,50/504"},
        {"5", 2, "50/501,50/502"},
        {"7", 10, ""},
        {"ERKLÄRUNG", 10, "40/401,40/402,50/502,50/503,50/504"},
        {"beratung", 10, "90/901,90/990"},
        {"%", 10, ""},
    };
    for (const auto& c : cases) {
        QStringList found;
        for (const office::MatterEntry& e : matters.matching(QString::fromUtf8(c.typed), c.limit)) {
            found << QStringLiteral("%1/%2").arg(e.auftragArtNr).arg(e.angelegenheitNr);
        }
        EXPECT_EQ(found.join(u','), QString::fromUtf8(c.keys)) << c.typed;
    }
    const office::MatterEntry several{90, QStringLiteral("Beratung und Kanzleiorganisation"), 901,
                                      10, QStringLiteral("Steuerliche Beratung")};
    EXPECT_EQ(matters.byNumbers(90, 901), several);
    EXPECT_EQ(matters.byId(10), several);
    EXPECT_FALSE(matters.byNumbers(10, 901).has_value()) << "a matter of another kind";
    EXPECT_FALSE(matters.byId(999).has_value());
}

ORV_INSTANTIATE_FOR_BACKENDS(OrderSelectionOfficeTest);

}  // namespace
}  // namespace orv::test
