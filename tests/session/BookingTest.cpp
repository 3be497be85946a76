#include "SessionTestSupport.h"
#include "TestQueries.h"

#include "persistence/FaultInjector.h"
#include "session/diagnostics/OrvError.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace orv {
namespace {

using namespace office::demo;
using testing::EndsWith;
using testing::HasSubstr;

const QString kQeLeistungCommand =
    QStringLiteral("Set oQeLeistung = New ORVkQeLeistung.CQeLeistung");

std::string str(const QString& text) {
    return text.toStdString();
}

QDateTime at(int day, int hour, int minute, int second = 0) {
    return QDateTime(QDate(2026, 3, day), QTime(hour, minute, second));
}

class BookingTest : public test::SessionTest {
protected:
    // A provisional entry of the order, as the stopwatch leaves it before booking.
    std::shared_ptr<cLeistung> entry(CAuftrag& order, std::int32_t seconds,
                                     const QStringList& lines = {},
                                     const QDateTime& beginn = QDateTime(),
                                     const QDateTime& ende = QDateTime()) {
        auto leistung = std::make_shared<cLeistung>(*session_);
        leistung->Init(order, false);
        leistung->Sekunden(seconds);
        leistung->Notiz(QStringLiteral("Notiz %1").arg(seconds));
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

    QString table(const QString& sql, std::initializer_list<const char*> columns,
                  const db::Params& params = {}) {
        return test::tableText(database(), sql, columns, params);
    }

    // Every service in booking order: employee|order|day|hours in ten-thousandths|begin|end|
    // note|kind.
    QString services() {
        return table(QStringLiteral("SELECT flMitarbeiter, flAuftrag, dtDatum,"
                                    " CAST(ROUND(dmAnzahl * 10000) AS INTEGER) AS menge,"
                                    " dtBeginn, dtEnde, dcNotiz, diArt FROM tLeistung"
                                    " ORDER BY idLeistung"),
                     {"flMitarbeiter", "flAuftrag", "dtDatum", "menge", "dtBeginn", "dtEnde",
                      "dcNotiz", "diArt"});
    }

    // A service's texts in their order: "id:line:text".
    QString texts(std::int32_t serviceId) {
        return table(QStringLiteral("SELECT idLeistungText, diZeile, dcText FROM tLeistungText"
                                    " WHERE flLeistung = $1 ORDER BY diZeile"),
                     {"idLeistungText", "diZeile", "dcText"}, db::Params{std::int64_t{serviceId}});
    }

    // The newest service of an employee; 0 when there is none.
    std::int32_t newestService(std::int32_t employee) {
        db::DbService s(database());
        s.Open();
        s.OpenQuery(QStringLiteral("SELECT MAX(idLeistung) AS id FROM tLeistung"
                                   " WHERE flMitarbeiter = $1"),
                    db::Params{std::int64_t{employee}});
        return s.FieldLong("id");
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

    db::FaultInjector& faults() { return database().faults(); }
};

TEST_P(BookingTest, HoursAreTheSecondsInHundredthsOfAnHourAtLeastOneHundredth) {
    start();
    auto order = newOrder(5001);
    const std::int32_t first = book(entry(*order, 20));
    EXPECT_EQ(first, newestService(kEmployeeWithRights));
    book(entry(*order, 5400));
    book(entry(*order, 3618));
    // The administrative share follows each service it reaches: 540 and 362 seconds.
    EXPECT_EQ(services(), QStringLiteral("7|5001|NULL|100|NULL|NULL|Notiz 20|1 / "
                                         "7|5001|NULL|15000|NULL|NULL|Notiz 5400|1 / "
                                         "9|5001|NULL|1500|NULL|NULL|Notiz 5400|1 / "
                                         "7|5001|NULL|10050|NULL|NULL|Notiz 3618|1 / "
                                         "9|5001|NULL|1006|NULL|NULL|Notiz 3618|1"));
}

TEST_P(BookingTest, ServiceIsBookedOnTheDayOfItsBeginWithItsTimes) {
    start();
    auto order = newOrder(5003);
    book(entry(*order, 5400, {}, at(16, 9, 15), at(16, 10, 45)));
    // An entry still running has a begin only; the administrative share carries the same times.
    book(entry(*order, 3600, {}, at(17, 23, 59, 59)));
    EXPECT_EQ(services(), QStringLiteral("7|5003|2026-03-16 00:00:00|15000|2026-03-16 09:15:00|"
                                         "2026-03-16 10:45:00|Notiz 5400|1 / "
                                         "9|5003|2026-03-16 00:00:00|1500|2026-03-16 09:15:00|"
                                         "2026-03-16 10:45:00|Notiz 5400|1 / "
                                         "7|5003|2026-03-17 00:00:00|10000|2026-03-17 23:59:59|"
                                         "NULL|Notiz 3600|1 / "
                                         "9|5003|2026-03-17 00:00:00|1000|2026-03-17 23:59:59|"
                                         "NULL|Notiz 3600|1"));
}

TEST_P(BookingTest, TextLinesBecomeServiceTextsInOrderWithTheirNewIds) {
    start();
    auto order = newOrder(5001);
    const QString longFirst = QStringLiteral(
        "Umsatzsteuervoranmeldung Februar geprüft, Rückfrage an Mandanten "
        "gestellt");
    auto leistung =
        entry(*order, 3600,
              {longFirst, QStringLiteral("Belege nachgereicht"), QStringLiteral("Frist notiert")});
    const std::int32_t service = book(leistung);
    ASSERT_GT(service, 0);
    EXPECT_EQ(services(), QStringLiteral("7|5001|NULL|10000|NULL|NULL|Notiz 3600|1 / "
                                         "9|5001|NULL|1000|NULL|NULL|Notiz 3600|1"));

    const QString written = texts(service);
    const QStringList rows = written.split(QStringLiteral(" / "));
    ASSERT_EQ(rows.size(), 3) << str(written);
    QStringList ids;
    QStringList lines;
    for (const QString& r : rows) {
        const QStringList parts = r.split(QLatin1Char('|'));
        ids << parts[0];
        lines << parts[1] + QLatin1Char(':') + parts[2];
    }
    EXPECT_EQ(lines, QStringList({QStringLiteral("1:") + longFirst,
                                  QStringLiteral("2:Belege nachgereicht"),
                                  QStringLiteral("3:Frist notiert")}));
    EXPECT_EQ(textIds(*leistung), ids.join(QLatin1Char(',')));

    // The administrative service is named after the first line, cut to 64 characters.
    const std::int32_t admin = newestService(kAdministrativeEmployee);
    const QString adminText = (QStringLiteral("(VZL) ") + longFirst).left(64);
    EXPECT_EQ(texts(admin).section(QLatin1Char('|'), 1), QStringLiteral("1|") + adminText);
    EXPECT_EQ(count(QStringLiteral("tLeistungText")), 4);
}

TEST_P(BookingTest, AdministrativeShareNeedsAHundredthOfAnHour) {
    start();
    auto order = newOrder(5001);
    // 10 % of 354 seconds rounds to 35 seconds, of 355 seconds to 36: one hundredth.
    book(entry(*order, 354, {QStringLiteral("kurz")}));
    book(entry(*order, 355, {QStringLiteral("etwas länger")}));
    EXPECT_EQ(services(), QStringLiteral("7|5001|NULL|983|NULL|NULL|Notiz 354|1 / "
                                         "7|5001|NULL|986|NULL|NULL|Notiz 355|1 / "
                                         "9|5001|NULL|100|NULL|NULL|Notiz 355|1"));
    EXPECT_EQ(texts(newestService(kAdministrativeEmployee)).section(QLatin1Char('|'), 1),
              QStringLiteral("1|(VZL) etwas länger"));
}

TEST_P(BookingTest, NoAdministrativeShareWhenTheOfficeKeepsNone) {
    execute(
        QStringLiteral("UPDATE tBenutzerEinstellung SET dcValue = '0'"
                       " WHERE dsSubKey = 'ORV.Brix.Options.KOrg.Verwaltungsanteil'"));
    start();
    auto order = newOrder(5001);
    const std::int32_t service = book(entry(*order, 3600, {QStringLiteral("Bilanz")}));
    EXPECT_EQ(services(), QStringLiteral("7|5001|NULL|10000|NULL|NULL|Notiz 3600|1"));
    EXPECT_EQ(texts(service).section(QLatin1Char('|'), 1), QStringLiteral("1|Bilanz"));
    EXPECT_EQ(count(QStringLiteral("tLeistungText")), 1);
}

TEST_P(BookingTest, EntryWithoutLinesBooksNoTextsForEitherService) {
    start();
    auto order = newOrder(5001);
    const std::int32_t service = book(entry(*order, 3600));
    EXPECT_GT(service, 0);
    EXPECT_GT(newestService(kAdministrativeEmployee), service);
    EXPECT_EQ(count(QStringLiteral("tLeistungText")), 0);
}

// An order the office does not know: the office refuses the service, and the caller learns so.
TEST_P(BookingTest, RefusedServiceGetsNoTextsNoShareAndNoNotice) {
    start();
    auto order = newOrder();
    auto leistung = entry(*order, 3600, {QStringLiteral("ohne Auftrag")});
    EXPECT_EQ(book(leistung), 0);
    EXPECT_EQ(count(QStringLiteral("tLeistung")), 0);
    EXPECT_EQ(count(QStringLiteral("tLeistungText")), 0);
    EXPECT_EQ(textIds(*leistung), QStringLiteral("0"));
    EXPECT_EQ(notices(), QString());
}

TEST_P(BookingTest, OfficeIsNotifiedWhenAnOrderGetsItsFirstOpenServices) {
    start();
    auto order = newOrder(5001);
    book(entry(*order, 600));
    EXPECT_EQ(notices(), QStringLiteral("5001|7|0"));
    book(entry(*order, 600));
    EXPECT_EQ(notices(), QStringLiteral("5001|7|0"));

    // The gateway keeps the notifying object once it has one.
    platform_->failCreation(test::Creation::AuftragBenachrichtigung);
    auto other = newOrder(5003);
    book(entry(*other, 60));
    EXPECT_EQ(notices(), QStringLiteral("5001|7|0 / 5003|7|0"));
}

// The office learns of every booking it keeps: without the notice the services go too, and the
// entry, still provisional, is booked once when the notice can be given.
TEST_P(BookingTest, NotifyingObjectThatCannotBeCreatedLeavesNoService) {
    start();
    platform_->failCreation(test::Creation::AuftragBenachrichtigung);
    auto order = newOrder(5001);
    const auto leistung = entry(*order, 600, {QStringLiteral("Telefonat")});
    const auto error = test::failureOf([&] { book(leistung); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), err::kCannotCreateObject);
    EXPECT_THAT(str(error->source()), EndsWith("\r\nORVkStoppUhren.CDBAccess.InsertLeistung"));
    EXPECT_EQ(services(), QString());
    EXPECT_EQ(count(QStringLiteral("tLeistungText")), 0);
    EXPECT_EQ(textIds(*leistung), QStringLiteral("0"));

    platform_->failCreation(test::Creation::AuftragBenachrichtigung, false);
    book(leistung);
    EXPECT_EQ(services(), QStringLiteral("7|5001|NULL|1667|NULL|NULL|Notiz 600|1 / "
                                         "9|5001|NULL|167|NULL|NULL|Notiz 600|1"));
    EXPECT_EQ(texts(newestService(kEmployeeWithRights)).section(QLatin1Char('|'), 1),
              QStringLiteral("1|Telefonat"));
    EXPECT_EQ(texts(newestService(kAdministrativeEmployee)).section(QLatin1Char('|'), 1),
              QStringLiteral("1|(VZL) Telefonat"));
    EXPECT_EQ(notices(), QStringLiteral("5001|7|0"));
}

TEST_P(BookingTest, MissingServiceComponentIsReportedWithItsCreationAndBooksNothing) {
    start();
    platform_->failCreation(test::Creation::CQeLeistung);
    auto order = newOrder(5001);
    const int before = faults().statementsSeen();
    const auto error =
        test::failureOf([&] { book(entry(*order, 3600, {QStringLiteral("Bilanz")})); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), err::kCannotCreateObject);
    EXPECT_THAT(str(error->description()), HasSubstr("ORVkQeLeistung.CQeLeistung"));
    EXPECT_THAT(str(error->description()), HasSubstr("\r\n\r\nBefehl: " + str(kQeLeistungCommand)));
    EXPECT_THAT(str(error->description()), HasSubstr("Bibliothek: ORVkQeLeistung.dll"));
    EXPECT_THAT(str(error->source()), EndsWith("\r\nORVkStoppUhren.CDBAccess.InsertLeistung"));
    EXPECT_GT(faults().statementsSeen(), before);  // the description asked the database
    EXPECT_EQ(count(QStringLiteral("tLeistung")), 0);
    EXPECT_EQ(count(QStringLiteral("tLeistungText")), 0);

    // Once the object exists, a later failure is not blamed on its creation.
    platform_->failCreation(test::Creation::CQeLeistung, false);
    execute(QStringLiteral("DROP TABLE tAuftragBenachrichtigung"));
    const auto later = test::failureOf([&] { book(entry(*order, 60)); });
    ASSERT_TRUE(later);
    EXPECT_THAT(str(later->description()), testing::Not(HasSubstr(str(kQeLeistungCommand))));
}

// A booking is whole or not at all: a service without its texts, left behind while its entry
// stays provisional, would be booked a second time with the entry.
TEST_P(BookingTest, FailingTextLeavesNoServiceAndTheEntryIsBookedOnceLater) {
    start();
    auto order = newOrder(5001);
    book(entry(*order, 600));
    // A booking of the same shape shows how many statements one takes; its last two are the
    // second text line and the commit (no share under 36 seconds, no notice on an order with
    // open services).
    const QStringList lines = {QStringLiteral("Erste Zeile"), QStringLiteral("Zweite Zeile")};
    int seen = faults().statementsSeen();
    book(entry(*order, 20, lines));
    const int perBooking = faults().statementsSeen() - seen;
    const std::int32_t services = count(QStringLiteral("tLeistung"));
    const std::int32_t serviceTexts = count(QStringLiteral("tLeistungText"));

    auto failing = entry(*order, 30, lines);
    faults().failStatement(perBooking - 1);
    const auto error = test::failureOf([&] { book(failing); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), err::kDatabase);
    EXPECT_THAT(str(error->source()), EndsWith("\r\nORVkStoppUhren.CDBAccess.InsertLeistung"));
    EXPECT_EQ(count(QStringLiteral("tLeistung")), services);
    EXPECT_EQ(count(QStringLiteral("tLeistungText")), serviceTexts);
    // The lines name no service text of a booking that never was.
    EXPECT_EQ(textIds(*failing), QStringLiteral("0,0"));

    const std::int32_t service = book(failing);
    ASSERT_GT(service, 0);
    EXPECT_EQ(count(QStringLiteral("tLeistung")), services + 1);
    EXPECT_EQ(count(QStringLiteral("tLeistungText WHERE flLeistung = ") + QString::number(service)),
              2);
}

ORV_INSTANTIATE_FOR_BACKENDS(BookingTest);

}  // namespace
}  // namespace orv
