#include "SessionTestSupport.h"

#include "persistence/FaultInjector.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using namespace office::demo;

QDateTime at(int day, int hour, int minute, int second = 0) {
    return QDateTime(QDate(2026, 3, day), QTime(hour, minute, second));
}

// What a booking leaves in the office: the services and their texts.
class BookingTest : public test::SessionTest {
protected:
    // A provisional entry of the order, as the stopwatch leaves it before booking.
    std::shared_ptr<cLeistung> entry(CAuftrag& order, std::int32_t seconds,
                                     const QStringList& lines = {}, const QDateTime& beginn = {},
                                     const QDateTime& ende = {}) {
        auto leistung = std::make_shared<cLeistung>(*session_);
        leistung->Init(order, false);
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
    QString texts(const char* column = "dcText") {
        return table(
            QStringLiteral("SELECT s.flMitarbeiter, t.diZeile, t.dcText, t.idLeistungText"
                           " FROM tLeistungText t JOIN tLeistung s ON"
                           " s.idLeistung = t.flLeistung ORDER BY s.idLeistung, t.diZeile"),
            {"flMitarbeiter", "diZeile", column});
    }
    QString notices() {
        return table(QStringLiteral("SELECT flAuftrag, flMitarbeiter, diArt FROM"
                                    " tAuftragBenachrichtigung ORDER BY idAuftragBenachrichtigung"),
                     {"flAuftrag", "flMitarbeiter", "diArt"});
    }
    static QString textIds(const cLeistung& leistung) {
        QStringList ids;
        for (const auto& line : leistung.Texte()) {
            ids << QString::number(line->TextId());
        }
        return ids.join(QLatin1Char(','));
    }
};

struct BookingCase {
    std::int32_t seconds;
    QStringList lines;
    QDateTime beginn, ende;
    const char* services;  // see BookingTest::services
    const char* texts;     // see BookingTest::texts
};

const QString kLong =
    QStringLiteral("Umsatzsteuervoranmeldung Februar geprüft, Rückfrage an Mandanten gestellt");

// Hours are the seconds in hundredths of an hour, at least one; the administrative share of 10 %
// needs a hundredth of its own (10 % of 354 s rounds to 35 s, of 355 s to 36 s) and is named
// after the first line, cut to 64 characters; a service is booked on the day of its begin.
const BookingCase kBookings[] = {
    {20, {}, {}, {}, "7|5001|NULL|100|NULL|NULL", ""},
    {3618, {}, {}, {}, "7|5001|NULL|10050|NULL|NULL / 9|5001|NULL|1006|NULL|NULL", ""},
    {354, {"kurz"}, {}, {}, "7|5001|NULL|983|NULL|NULL", "7|1|kurz"},
    {355,
     {"etwas länger"},
     {},
     {},
     "7|5001|NULL|986|NULL|NULL / 9|5001|NULL|100|NULL|NULL",
     "7|1|etwas länger / 9|1|(VZL) etwas länger"},
    {5400,
     {},
     at(16, 9, 15),
     at(16, 10, 45),
     "7|5001|2026-03-16 00:00:00|15000|2026-03-16 09:15:00|2026-03-16 10:45:00 / "
     "9|5001|2026-03-16 00:00:00|1500|2026-03-16 09:15:00|2026-03-16 10:45:00",
     ""},
    // An entry still running has a begin only.
    {3600,
     {},
     at(17, 23, 59, 59),
     {},
     "7|5001|2026-03-17 00:00:00|10000|2026-03-17 23:59:59|NULL / "
     "9|5001|2026-03-17 00:00:00|1000|2026-03-17 23:59:59|NULL",
     ""},
    {3600,
     {kLong, "Belege nachgereicht", "Frist notiert"},
     {},
     {},
     "7|5001|NULL|10000|NULL|NULL / 9|5001|NULL|1000|NULL|NULL",
     "7|1|Umsatzsteuervoranmeldung Februar geprüft, Rückfrage an Mandanten gestellt / "
     "7|2|Belege nachgereicht / 7|3|Frist notiert / "
     "9|1|(VZL) Umsatzsteuervoranmeldung Februar geprüft, Rückfrage an Man"},
};

TEST_P(BookingTest, SecondsLinesAndTimesBecomeServicesAndTheirTexts) {
    auto order = newOrder(5001);
    for (const BookingCase& c : kBookings) {
        SCOPED_TRACE(testing::Message() << c.seconds << " s " << c.lines.join('|').toStdString());
        const auto leistung = entry(*order, c.seconds, c.lines, c.beginn, c.ende);
        EXPECT_GT(book(leistung), 0);
        EXPECT_EQ(services(), QLatin1String(c.services));
        EXPECT_EQ(texts(), QString::fromUtf8(c.texts));
        // The lines now carry the ids of the employee's service texts.
        QStringList ids;
        for (const QString& line : texts("idLeistungText").split(QStringLiteral(" / "))) {
            if (line.startsWith(QLatin1String("7|"))) {
                ids << line.section(QLatin1Char('|'), 2);
            }
        }
        EXPECT_EQ(textIds(*leistung), c.lines.isEmpty() ? QString() : ids.join(QLatin1Char(',')));
        execute(QStringLiteral("DELETE FROM tLeistungText"));
        execute(QStringLiteral("DELETE FROM tLeistung"));
    }
}

TEST_P(BookingTest, NoAdministrativeShareWhenTheOfficeKeepsNone) {
    execute(
        QStringLiteral("UPDATE tBenutzerEinstellung SET dcValue = '0'"
                       " WHERE dsSubKey = 'ORV.Brix.Options.KOrg.Verwaltungsanteil'"));
    restart();
    book(entry(*newOrder(5001), 3600, {QStringLiteral("Bilanz")}));
    EXPECT_EQ(services(), QStringLiteral("7|5001|NULL|10000|NULL|NULL"));
    EXPECT_EQ(texts(), QStringLiteral("7|1|Bilanz"));
}

// An order the office does not know: the office refuses the service, and the caller learns so.
TEST_P(BookingTest, RefusedServiceGetsNoTextsNoShareAndNoNotice) {
    auto leistung = entry(*newOrder(), 3600, {QStringLiteral("ohne Auftrag")});
    EXPECT_EQ(book(leistung), 0);
    EXPECT_EQ(services(), QString());
    EXPECT_EQ(texts(), QString());
    EXPECT_EQ(textIds(*leistung), QStringLiteral("0"));
    EXPECT_EQ(notices(), QString());
}

// The office learns of the first open services of an order; without the notice the services go
// too, and the entry, still provisional, is booked once when the notice can be given.
TEST_P(BookingTest, OfficeIsNotifiedOfAnOrdersFirstOpenServicesOrNothingIsBooked) {
    platform_->failCreation(test::Creation::AuftragBenachrichtigung);
    const auto leistung = entry(*newOrder(5003), 600, {QStringLiteral("Telefonat")});
    const auto error = test::failureOf([&] { book(leistung); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), err::kCannotCreateObject);
    EXPECT_TRUE(
        error->source().endsWith(QStringLiteral("\r\nORVkStoppUhren.CDBAccess.InsertLeistung")));
    EXPECT_EQ(services(), QString());
    EXPECT_EQ(textIds(*leistung), QStringLiteral("0"));

    platform_->failCreation(test::Creation::AuftragBenachrichtigung, false);
    book(leistung);
    auto order = newOrder(5001);
    book(entry(*order, 600));
    book(entry(*order, 600));
    EXPECT_EQ(count(QStringLiteral("tLeistung WHERE flAuftrag = 5003")), 2);
    EXPECT_EQ(notices(), QStringLiteral("5003|7|0 / 5001|7|0"));
    // The gateway keeps the notifying object once it has one.
    platform_->failCreation(test::Creation::AuftragBenachrichtigung);
    book(entry(*newOrder(5002), 60));
    EXPECT_EQ(notices(), QStringLiteral("5003|7|0 / 5001|7|0 / 5002|7|0"));
}

TEST_P(BookingTest, MissingServiceComponentIsNamedAndBooksNothing) {
    platform_->failCreation(test::Creation::CQeLeistung);
    auto leistung = entry(*newOrder(5001), 3600, {QStringLiteral("Bilanz")});
    const auto error = test::failureOf([&] { book(leistung); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), err::kCannotCreateObject);
    EXPECT_TRUE(error->description().contains(
        QStringLiteral("\r\n\r\nBefehl: Set oQeLeistung = New ORVkQeLeistung.CQeLeistung")));
    EXPECT_EQ(services(), QString());
}

ORV_INSTANTIATE_FOR_BACKENDS(BookingTest);

}  // namespace
}  // namespace orv
