#include "SessionTestSupport.h"
#include "TestQueries.h"

#include "platform/MessageBoxes.h"
#include "session/diagnostics/OrvError.h"

#include <gtest/gtest.h>

#include <map>

namespace orv {
namespace {

using office::demo::kAdministrativeEmployee;
using office::demo::kEmployeeWithRights;
using office::demo::kUnproductiveTimeOrder;
using test::LeistungAnzeigenAnswer;
using test::outcome::kAbbruch;
using test::outcome::kGeaendert;

// One service as the office holds it.
struct Service {
    std::int32_t auftrag;
    QString anzahl;  // hours, four decimals
    QString beginn;  // "HH:mm", empty when not set
    QString ende;
    QStringList texte;
};

class DayClosingTest : public test::SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            start();
            ASSERT_TRUE(tickClock(600));
        }
    }

    std::vector<Service> services(std::int32_t employee = kEmployeeWithRights) {
        db::DbService s(database());
        s.Open();
        std::vector<Service> out;
        std::vector<std::int32_t> ids;
        for (bool more =
                 s.OpenQuery(QStringLiteral("SELECT idLeistung, flAuftrag, dmAnzahl, dtBeginn,"
                                            " dtEnde FROM tLeistung WHERE flMitarbeiter = $1"
                                            " ORDER BY idLeistung"),
                             db::Params{std::int64_t{employee}}) == 1;
             more; more = s.Move(3)) {
            ids.push_back(s.FieldLong("idLeistung"));
            out.push_back({s.FieldLong("flAuftrag"),
                           s.FieldText("dmAnzahl"),
                           s.FieldDate("dtBeginn").toString(QStringLiteral("HH:mm")),
                           s.FieldDate("dtEnde").toString(QStringLiteral("HH:mm")),
                           {}});
        }
        for (std::size_t i = 0; i < ids.size(); ++i) {
            db::DbService t(database());
            t.Open();
            for (bool more = t.OpenQuery(QStringLiteral("SELECT dcText FROM tLeistungText WHERE "
                                                        "flLeistung = $1 ORDER BY diZeile"),
                                         db::Params{std::int64_t{ids[i]}}) == 1;
                 more; more = t.Move(3)) {
                out[i].texte << t.FieldText("dcText");
            }
        }
        return out;
    }
    static double hours(const Service& service) { return service.anzahl.toDouble(); }

    // An order worked on for the given seconds with a text line, its entry released.
    std::shared_ptr<cLeistung> workAndRelease(std::int32_t auftragId, qint64 seconds,
                                              const QString& text) {
        std::shared_ptr<CAuftrag> auftrag = session_->AuftragZuAuftragId(auftragId);
        if (auftrag == nullptr) {
            auftrag = startNewOrder(auftragId);
        } else {
            switchTo(auftrag->Key());
        }
        EXPECT_TRUE(tickClock(seconds));
        const std::shared_ptr<cLeistung> leistung = auftrag->AktuelleLeistung();
        switchTo(CAuftrag::LeerlaufKey());
        leistung->StandardTextSetzen(text);
        leistung->Speichern(false);
        QString auftragKey = auftrag->Key();
        QString leistungKey = leistung->Key();
        EXPECT_TRUE(session_->LeistungFreigeben(auftragKey, leistungKey));
        return leistung;
    }
};

TEST_P(DayClosingTest, SummedBookingMakesOneServicePerOrderWithAllTexts) {
    const QDateTime first = now();
    const auto a = workAndRelease(5001, 600, QStringLiteral("Belege Januar"));
    ASSERT_TRUE(tickClock(60));
    const auto b = workAndRelease(5001, 1200, QStringLiteral("Kasse Januar"));
    const auto c = workAndRelease(5003, 300, QStringLiteral("Lohnjournal"));
    const auto d = workAndRelease(5001, 1800, QStringLiteral("Bank Januar"));
    const QDateTime last = now();
    session_->SammelBuchen();

    const std::vector<Service> booked = services();
    ASSERT_EQ(booked.size(), 2u);
    EXPECT_EQ(booked[0].auftrag, 5001);
    EXPECT_DOUBLE_EQ(hours(booked[0]), 1.0);
    EXPECT_EQ(booked[0].texte,
              (QStringList{QStringLiteral("Belege Januar"), QStringLiteral("Kasse Januar"),
                           QStringLiteral("Bank Januar")}));
    // From the earliest begin to the latest end of its entries.
    EXPECT_EQ(booked[0].beginn, first.toString(QStringLiteral("HH:mm")));
    EXPECT_EQ(booked[0].ende, last.toString(QStringLiteral("HH:mm")));
    EXPECT_EQ(booked[1].auftrag, 5003);
    EXPECT_DOUBLE_EQ(hours(booked[1]), 0.0833);
    for (const auto& leistung : {a, b, c, d}) {
        EXPECT_FALSE(row(leistung->Id()).has_value());
        EXPECT_EQ(leistung->Status(), cLeistung::kStatusZeileGeloescht);
    }
    EXPECT_EQ(session_->FreigegebeneLeistungen(), nullptr);
    // The administrative share of 10 % went to the administrative employee; for the five
    // minutes on 5003 it would be 30 seconds, below the smallest service.
    ASSERT_EQ(services(kAdministrativeEmployee).size(), 1u);
    EXPECT_DOUBLE_EQ(hours(services(kAdministrativeEmployee)[0]), 0.1);

    // Nothing released: nothing booked.
    session_->SammelBuchen();
    session_->EinzelBuchen();
    EXPECT_EQ(services().size(), 2u);
}

TEST_P(DayClosingTest, SingleBookingLeavesAnEntryWhoseBookingFailedAlone) {
    const auto a = workAndRelease(5001, 900, QStringLiteral("Belege"));
    const auto b = workAndRelease(5002, 1800, QStringLiteral("Belege Februar"));
    // The office closed order 5002 after the release: its booking writes nothing.
    execute(QStringLiteral("DELETE FROM tAuftrag WHERE idAuftrag = 5002"));
    platform_->messageBoxes().answer(platform::MsgAnswer::Ok);  // the employee is told
    session_->EinzelBuchen();
    const std::vector<Service> booked = services();
    ASSERT_EQ(booked.size(), 1u);
    EXPECT_EQ(booked[0].auftrag, 5001);
    EXPECT_DOUBLE_EQ(hours(booked[0]), 0.25);
    EXPECT_EQ(booked[0].texte, QStringList{QStringLiteral("Belege")});
    EXPECT_FALSE(row(a->Id()).has_value());
    EXPECT_EQ(a->Status(), cLeistung::kStatusZeileGeloescht);
    EXPECT_TRUE(row(b->Id()).has_value());
    EXPECT_EQ(b->Status(), AuftragStatus_Beendet);
}

// A single booking is the service and the end of its entry together: when the entry's row cannot
// be deleted, no service stays, the entry stays provisional in the database and in the session,
// and the next booking books it once.
TEST_P(DayClosingTest, SingleBookingWhoseEntryCannotBeDeletedBooksNothingAndLaterOnce) {
    workAndRelease(5001, 900, QStringLiteral("erste"));
    session_->EinzelBuchen();  // the order's first service, with its notice
    workAndRelease(5001, 900, QStringLiteral("zweite"));
    const int seen = database().faults().statementsSeen();
    session_->EinzelBuchen();
    // The last two statements of such a booking: deleting the entry's row, the commit.
    const int perBooking = database().faults().statementsSeen() - seen;
    const auto dritte = workAndRelease(5001, 900, QStringLiteral("dritte"));
    const std::int32_t lineId = dritte->Text(QStringLiteral("1"))->TextId();
    ASSERT_GT(lineId, 0);
    ASSERT_EQ(services().size(), 2u);

    database().faults().failStatement(perBooking - 1);
    const auto error = test::failureOf([&] { session_->EinzelBuchen(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), err::kDatabase);
    EXPECT_EQ(services().size(), 2u);
    EXPECT_EQ(services(kAdministrativeEmployee).size(), 2u);
    ASSERT_TRUE(row(dritte->Id()).has_value());
    EXPECT_EQ(dritte->Status(), AuftragStatus_Beendet);
    EXPECT_EQ(dritte->Text(QStringLiteral("1"))->TextId(), lineId);
    ASSERT_NE(session_->FreigegebeneLeistungen(), nullptr);
    EXPECT_TRUE(session_->FreigegebeneLeistungen()->contains(dritte->Key()));

    session_->EinzelBuchen();
    const std::vector<Service> booked = services();
    ASSERT_EQ(booked.size(), 3u);
    EXPECT_EQ(booked[2].texte, QStringList{QStringLiteral("dritte")});
    EXPECT_FALSE(row(dritte->Id()).has_value());
    expectOrdersBalanced();
}

TEST_P(DayClosingTest, ABookedEntryWritesNothingAnyMore) {
    // The first provisional text line and the first service text get the same id.
    auto auftrag = newOrder(5001);
    auto bleibt = std::make_shared<cLeistung>(*session_);
    bleibt->Init(*auftrag, true);
    bleibt->Sekunden(60);
    bleibt->TextHinzufuegen(0, QStringLiteral("bleibt vorläufig"));
    bleibt->Speichern(false);
    auto gebucht = std::make_shared<cLeistung>(*session_);
    gebucht->Init(*auftrag, true);
    gebucht->Sekunden(600);
    gebucht->TextHinzufuegen(0, QStringLiteral("wird gebucht"));
    gebucht->Speichern(false);
    ASSERT_GT(gateway().InsertLeistung(*gebucht), 0);
    gebucht->Status(AuftragStatus_Geloescht);
    gebucht->Loeschen(false);

    // Its text lines now carry the service's text ids; saving it again must not touch the
    // provisional lines that carry the same numbers.
    gebucht->Text(QStringLiteral("1"))->Text(QStringLiteral("geändert"));
    gebucht->Speichern(false);
    EXPECT_EQ(textLines(bleibt->Id()), QStringList{QStringLiteral("bleibt vorläufig")});
    EXPECT_EQ(services().at(0).texte, QStringList{QStringLiteral("wird gebucht")});
}

TEST_P(DayClosingTest, UnfinishedOrdersLetTheEmployeePostponeTheDayClosing) {
    startNewOrder(5001);
    ASSERT_TRUE(tickClock(60));
    platform_->messageBoxes().answer(platform::MsgAnswer::No);
    EXPECT_FALSE(session_->Beenden());
    const test::AskedBox& box = platform_->messageBoxes().asked().at(0);
    EXPECT_EQ(box.title, QStringLiteral("Stoppuhren beenden"));
    EXPECT_EQ(box.text, QStringLiteral("Es sind noch nicht beendete Aufträge vorhanden.\n"
                                       "Möchten Sie den Tagesabschluss später vornehmen?"));
    EXPECT_TRUE(platform_->timer()->running());
    EXPECT_TRUE(session_->AuftragLaeuft());
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-/0"));

    // Yes: the session ends now, without day closing; the rows stay for tomorrow.
    platform_->messageBoxes().answer(platform::MsgAnswer::Yes);
    EXPECT_TRUE(session_->Beenden());
    EXPECT_TRUE(platform_->timer()->finished());
    EXPECT_EQ(platform_->frmStoppUhr().schliessen(), 1);
    EXPECT_TRUE(platform_->frmLeistung().calls().empty());
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-08:11:00/0"));
    EXPECT_FALSE(rowsOf().empty());
    EXPECT_TRUE(services().empty());
}

TEST_P(DayClosingTest, ACancelledDayClosingGoesOnWithTheStopwatchStopped) {
    platform_->frmLeistung().answer(LeistungAnzeigenAnswer{kAbbruch, std::nullopt, std::nullopt});
    EXPECT_FALSE(session_->Beenden());
    EXPECT_TRUE(platform_->timer()->running());
    EXPECT_EQ(platform_->timer()->finishes(), 0);
    const std::int32_t idle = session_->LeerlaufAuftrag().Sekunden();
    ASSERT_TRUE(tickClock(30));
    EXPECT_FALSE(session_->AuftragLaeuft());
    EXPECT_EQ(session_->LeerlaufAuftrag().Sekunden(), idle + 30) << "the ticks count idle time";
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-/0"));

    // Day closing without an order: the session ends, nothing is booked, the option stays.
    platform_->frmLeistung().answer(LeistungAnzeigenAnswer{kGeaendert, std::nullopt, 0});
    EXPECT_TRUE(session_->Beenden());
    EXPECT_TRUE(services().empty());
    EXPECT_EQ(gateway().OptionsWertErmitteln(2), QStringLiteral("5013"));
    EXPECT_FALSE(rowsOf().empty());
}

TEST_P(DayClosingTest, AWholeDayFromStartToABookedDayClosing) {
    // 08:00 to 08:10 idle (set up), then three stretches on two orders, released and booked.
    const auto a = workAndRelease(5001, 1800, QStringLiteral("Buchungen Januar"));
    ASSERT_TRUE(tickClock(300));
    const auto b = workAndRelease(5003, 2700, QStringLiteral("Lohnabrechnung"));
    const auto c = workAndRelease(5001, 900, QStringLiteral("Abstimmung"));
    ASSERT_TRUE(tickClock(120));
    session_->EinzelBuchen();
    expectOrdersBalanced();

    // The orders are done; the day closing books the idle time on the chosen order.
    for (const QString& key : {a->Auftrag().Key(), b->Auftrag().Key()}) {
        QString auftragKey = key;
        EXPECT_TRUE(session_->AuftragBeenden(auftragKey));
    }
    expectOrdersBalanced();
    const std::int32_t idle = session_->LeerlaufAuftrag().Sekunden();
    EXPECT_EQ(idle, 600 + 300 + 120);
    platform_->frmLeistung().answerWith(
        [&](cLeistung& entry, std::int32_t&, std::int32_t& auftragId, bool unproduktiv) {
            EXPECT_TRUE(unproduktiv);
            EXPECT_EQ(auftragId, kUnproductiveTimeOrder);
            EXPECT_EQ(entry.Sekunden(), idle);
            EXPECT_EQ(entry.ErsteZeileText(), QStringLiteral("Kanzleiorganisation (unproduktiv)"));
            return kGeaendert;
        });
    EXPECT_TRUE(session_->Beenden());
    EXPECT_EQ(platform_->frmLeistung().calls().at(0).modus, 2);

    // Every service row against the seconds recorded.
    const std::vector<Service> booked = services();
    ASSERT_EQ(booked.size(), 4u);
    std::map<std::int32_t, double> perOrder;
    for (const Service& service : booked) {
        perOrder[service.auftrag] += hours(service);
    }
    EXPECT_DOUBLE_EQ(perOrder[5001], 0.75);
    EXPECT_DOUBLE_EQ(perOrder[5003], 0.75);
    EXPECT_NEAR(perOrder[kUnproductiveTimeOrder], idle / 3600.0, 0.00005);
    EXPECT_EQ(booked[3].texte, QStringList{QStringLiteral("Kanzleiorganisation (unproduktiv)")});
    EXPECT_TRUE(rowsOf().empty()) << "the day closing removes the provisional rows";
    EXPECT_EQ(logins(), QStringLiteral("08:00:00-") + now().toString(QStringLiteral("HH:mm:ss")) +
                            QStringLiteral("/0"));
    EXPECT_EQ(gateway().OptionsWertErmitteln(2), QStringLiteral("5013"));
}

ORV_INSTANTIATE_FOR_BACKENDS(DayClosingTest);

}  // namespace
}  // namespace orv
