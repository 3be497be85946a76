#include "SessionTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// What a booking leaves in the office: the services, their texts and the office's notices.
class BookingTest : public test::SessionTest {
protected:
    // A provisional entry of a new order, as the stopwatch leaves it before booking.
    std::shared_ptr<cLeistung> entry(std::int32_t auftragId, std::int32_t seconds,
                                     const QStringList& lines = {}, const QDateTime& beginn = {},
                                     const QDateTime& ende = {}) {
        auto leistung = std::make_shared<cLeistung>(*session_);
        leistung->Init(*newOrder(auftragId), false);
        leistung->Sekunden(seconds);
        leistung->Beginn(beginn);
        leistung->Ende(ende);
        for (const QString& line : lines) {
            leistung->TextHinzufuegen(0, line);
        }
        return leistung;
    }
    std::int32_t book(const std::shared_ptr<cLeistung>& leistung) {
        return gateway().InsertLeistung(*leistung);
    }
    // employee|order|day|hours in ten-thousandths|begin|end, in booking order.
    QString services() {
        return table(QStringLiteral("SELECT flMitarbeiter, flAuftrag, dtDatum,"
                                    " CAST(ROUND(dmAnzahl * 10000) AS INTEGER) AS menge,"
                                    " dtBeginn, dtEnde FROM tLeistung ORDER BY idLeistung"),
                     {"flMitarbeiter", "flAuftrag", "dtDatum", "menge", "dtBeginn", "dtEnde"});
    }
    // employee|line|text of every service text, by service and line.
    QString texts() {
        return table(QStringLiteral("SELECT s.flMitarbeiter, t.diZeile, t.dcText FROM tLeistungText"
                                    " t JOIN tLeistung s ON s.idLeistung = t.flLeistung"
                                    " ORDER BY s.idLeistung, t.diZeile"),
                     {"flMitarbeiter", "diZeile", "dcText"});
    }
    QString notices() {
        return table(QStringLiteral("SELECT flAuftrag, flMitarbeiter, diArt FROM"
                                    " tAuftragBenachrichtigung ORDER BY idAuftragBenachrichtigung"),
                     {"flAuftrag", "flMitarbeiter", "diArt"});
    }
};

struct BookingCase {
    std::int32_t seconds;
    QStringList lines;
    QDateTime beginn, ende;
    const char* services;  // see BookingTest::services
    const char* texts;     // see BookingTest::texts
    std::int32_t auftragId = 5001;
};

const QString kLong =
    QStringLiteral("Umsatzsteuervoranmeldung Februar geprüft, Rückfrage an Mandanten gestellt");

// Hours are the seconds in hundredths of an hour, at least one; the administrative share of 10 %
// needs a hundredth of its own (10 % of 354 s rounds to 35 s, of 355 s to 36 s) and is named
// after the first line, cut to 64 characters; a service is booked on the day of its begin.
const BookingCase kBookings[] = {
    {20, {}, {}, {}, "7|5001|NULL|100|NULL|NULL", ""},
    {354, {"kurz"}, {}, {}, "7|5001|NULL|983|NULL|NULL", "7|1|kurz"},
    {355,
     {"etwas länger"},
     {},
     {},
     "7|5001|NULL|986|NULL|NULL / 9|5001|NULL|100|NULL|NULL",
     "7|1|etwas länger / 9|1|(VZL) etwas länger"},
    {5400,
     {},
     QDateTime(QDate(2026, 3, 16), QTime(23, 59, 59)),
     QDateTime(QDate(2026, 3, 17), QTime(1, 29, 59)),
     "7|5001|2026-03-16 00:00:00|15000|2026-03-16 23:59:59|2026-03-17 01:29:59 / "
     "9|5001|2026-03-16 00:00:00|1500|2026-03-16 23:59:59|2026-03-17 01:29:59",
     ""},
    {3600,
     {kLong, "Belege nachgereicht", "Frist '; DELETE FROM tLeistung; --"},
     {},
     {},
     "7|5001|NULL|10000|NULL|NULL / 9|5001|NULL|1000|NULL|NULL",
     "7|1|Umsatzsteuervoranmeldung Februar geprüft, Rückfrage an Mandanten gestellt / "
     "7|2|Belege nachgereicht / 7|3|Frist '; DELETE FROM tLeistung; -- / "
     "9|1|(VZL) Umsatzsteuervoranmeldung Februar geprüft, Rückfrage an Man"},
    // An order the office does not know: it refuses the service, and the caller learns so.
    {3600, {"ohne Auftrag"}, {}, {}, "", "", 0},
};

// Without the office's notice of an order's first open services nothing is booked, and the
// error says where; the entry, still provisional, is booked once when the office can be notified.
// Then the table's services, each on an order with no open service; the gateway keeps the
// notifying object once it has one, and a refused service gets no notice.
TEST_P(BookingTest, SecondsLinesAndTimesBecomeServicesTextsAndNotices) {
    platform_->failCreation(test::Creation::AuftragBenachrichtigung);
    const auto leistung = entry(5003, 600);
    const auto error = test::failureOf([&] { book(leistung); });
    platform_->failCreation(test::Creation::AuftragBenachrichtigung, false);
    ASSERT_TRUE(error);
    EXPECT_TRUE(
        error->source().endsWith(QStringLiteral("\r\nORVkStoppUhren.CDBAccess.InsertLeistung")));
    EXPECT_EQ(services(), QString());
    EXPECT_GT(book(leistung), 0);
    book(entry(5003, 60));  // not the first open service: no notice
    EXPECT_EQ(count(QStringLiteral("tLeistung")), 3);
    execute(QStringLiteral("DELETE FROM tLeistung"));
    platform_->failCreation(test::Creation::AuftragBenachrichtigung);
    for (const BookingCase& c : kBookings) {
        SCOPED_TRACE(testing::Message() << c.seconds << " s " << c.lines.join('|').toStdString());
        EXPECT_EQ(book(entry(c.auftragId, c.seconds, c.lines, c.beginn, c.ende)) > 0,
                  c.auftragId != 0);
        EXPECT_EQ(services(), QLatin1String(c.services));
        EXPECT_EQ(texts(), QString::fromUtf8(c.texts));
        execute(QStringLiteral("DELETE FROM tLeistungText"));
        execute(QStringLiteral("DELETE FROM tLeistung"));
    }
    platform_->failCreation(test::Creation::AuftragBenachrichtigung, false);
    EXPECT_EQ(notices(), QStringLiteral("5003|7|0 / 5001|7|0 / 5001|7|0 / 5001|7|0 / 5001|7|0 / "
                                        "5001|7|0"));
    // An office that keeps no administrative share gets none.
    execute(
        QStringLiteral("UPDATE tBenutzerEinstellung SET dcValue = '0'"
                       " WHERE dsSubKey = 'ORV.Brix.Options.KOrg.Verwaltungsanteil'"));
    restart();
    book(entry(5001, 3600));
    EXPECT_EQ(services(), QStringLiteral("7|5001|NULL|10000|NULL|NULL"));
}

ORV_INSTANTIATE_FOR_BACKENDS(BookingTest);

}  // namespace
}  // namespace orv
