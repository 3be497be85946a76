#include "OfficeTestSupport.h"

#include "office/host/OfficeAnwesenheit.h"
#include "office/host/OfficeAuftragBenachrichtigung.h"
#include "office/host/OfficeBuchungsNachlauf.h"
#include "office/host/OfficeErstellungsInfo.h"
#include "office/host/OfficeGlobaleWerte.h"
#include "office/host/OfficeMitarbeiter.h"
#include "office/host/OfficeOrder.h"
#include "office/host/OfficePersonStamm.h"
#include "office/host/OfficeQeGgwBasis.h"
#include "office/host/OfficeQeLeistung.h"
#include "persistence/Dialect.h"
#include "session/diagnostics/OrvError.h"

#include <functional>

namespace orv::test {
namespace {

using namespace office::demo;

// Numbers of demo employees, and the kind of absence a pause is.
constexpr int kAnna = 11, kJonas = 12, kPause = 0;

class HostObjectsTest : public OfficeDbTest {
protected:
    // A time the database wrote a moment ago, by its own clock.
    void expectJustNow(const QString& sql) {
        db::DbService s(database());
        s.OpenQuery(QStringLiteral("SELECT t, %1 AS jetzt FROM (%2) x")
                        .arg(QLatin1String(db::dialectFor(backend()).now), sql));
        EXPECT_LE(std::abs(s.FieldDate("t").secsTo(s.FieldDate("jetzt"))), 5) << sql.toStdString();
    }
};

// A refused statement is an error for the caller's report, never "not found", "absent
// recorded", "no such kind" or "off", and leaves nothing of the object's values.
TEST_P(HostObjectsTest, AFailingDatabaseRaisesInsteadOfFindingNothing) {
    office::OfficePersonStamm person(database());
    person.setId(kFirstClient);
    office::OfficeMitarbeiter employee(database());
    employee.setId(kEmployeeWithRights);
    office::OfficeOrder order(database());
    ASSERT_TRUE(order.Load(kInvoicedOrder));
    std::int32_t auftragId = 5001;
    bool flag = false;
    const std::function<void()> calls[] = {
        [&] { person.Load(true); },
        [&] { employee.Load(true); },
        [&] { order.Load(kInvoicedOrder); },
        [&] { office::OfficeGlobaleWerte(database()).Wert(31); },  // invoices
        [&] { office::OfficeAnwesenheit(database()).Abwesenheit(kPause, kAnna, QString(), true); },
        [&] { office::OfficeQeGgwBasis(database()).IsVuV(QStringLiteral("21")); },
        [&] { office::OfficeQeLeistung(database()).Kennzahl(5003); },
        [&] { office::OfficeAuftragBenachrichtigung(database()).Auftrag(5001, 0); },
        [&] { office::OfficeBuchungsNachlauf(database()).AuftragNachlauf(auftragId, flag); },
    };
    for (std::size_t i = 0; i < std::size(calls); ++i) {
        database().faults().failStatement(1);
        const auto error = failureOf(calls[i]);
        database().faults().clear();
        EXPECT_TRUE(error && error->number() == err::kDatabase) << "call " << i << " swallowed it";
    }
    EXPECT_EQ(employee.Nummer() + order.values().mandantId + order.values().rechnungen, 0);
    EXPECT_EQ(count(QStringLiteral("tMitarbeiterAbwesenheit")) +
                  count(QStringLiteral("tAuftragBenachrichtigung")) +
                  count(QStringLiteral("tAuftragNachlauf")),
              0);
}

// The command, the library and the database's state; a database that cannot be reached says so,
// and its password never shows.
TEST_P(HostObjectsTest, ErstellungsInfoNamesCommandLibraryAndTheDatabaseState) {
    const QString command = QStringLiteral("Set oMit = New srvQeMit.QeMitarbeiterClass");
    const QString library = QStringLiteral("srvQeMit.dll");
    office::OfficeErstellungsInfo info(database());
    const QString text = info.Info(command, library);
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("Befehl: %1\r\nBibliothek: %2\r\n").arg(command, library)) &&
        text.endsWith(QStringLiteral("antwortet, Schemastand %1 (dieses Programm kennt "
                                     "bis %1)")
                          .arg(office::latestSchemaVersion())))
        << text.toStdString();
    QTemporaryDir dir;
    db::Database server(db::DbTarget::postgres(
        QStringLiteral("host=%1 port=1 user=anna password=geheim dbname=kanzlei").arg(dir.path())));
    const QString failed = office::OfficeErstellungsInfo(server).Info(command, library);
    EXPECT_TRUE(failed.contains(QStringLiteral("Zustand der Bürodatenbank: antwortet nicht")) &&
                !failed.contains(QStringLiteral("geheim")))
        << failed.toStdString();
}

// An absence begins and ends on the database's clock; the text given at the begin is stored as
// typed. An end closes every open absence of the employee and kind (a pause left open by a
// workstation that went down goes with the next one), no other, and never moves an end already
// written.
TEST_P(HostObjectsTest, AbsencesOpenAndCloseOnTheDatabaseClock) {
    const QString text =
        QStringLiteral("Arzt 'Dr. O''Neill' \"dringend\" 100 %1; DROP TABLE tMitarbeiter; --");
    office::OfficeAnwesenheit anwesenheit(database());
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), false);
    EXPECT_EQ(count(QStringLiteral("tMitarbeiterAbwesenheit")), 0) << "nothing open, nothing ends";
    anwesenheit.Abwesenheit(2, kAnna, text, true);
    expectJustNow(QStringLiteral("SELECT dtBeginn AS t FROM tMitarbeiterAbwesenheit"));
    execute(QStringLiteral("UPDATE tMitarbeiterAbwesenheit SET dtBeginn = '2026-03-02 08:00:00'"));
    anwesenheit.Abwesenheit(2, kAnna, QStringLiteral("zurück"), false);
    expectJustNow(QStringLiteral("SELECT dtEnde AS t FROM tMitarbeiterAbwesenheit"));
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM tMitarbeiterAbwesenheit"),
                   {"dlMitarbeiterNr", "diArt", "dcText", "dtBeginn"}),
              QStringLiteral("11|2|") + text + QStringLiteral("|2026-03-02 08:00:00"));
    for (const auto& [employee, kind] :
         {std::pair{kAnna, kPause}, {kAnna, kPause}, {kJonas, kPause}, {kAnna, 3}}) {
        anwesenheit.Abwesenheit(kind, employee, QString(), true);
    }
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), false);
    EXPECT_EQ(rows(QStringLiteral("SELECT dlMitarbeiterNr, diArt FROM tMitarbeiterAbwesenheit"
                                  " WHERE dtEnde IS NULL ORDER BY 1"),
                   {"dlMitarbeiterNr", "diArt"}),
              QStringLiteral("11|3 / 12|0"));
    execute(
        QStringLiteral("UPDATE tMitarbeiterAbwesenheit SET dtEnde = '2026-03-02 09:30:00'"
                       " WHERE dtEnde IS NOT NULL"));
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), false);
    EXPECT_EQ(count(QStringLiteral("tMitarbeiterAbwesenheit WHERE dtEnde = '2026-03-02 09:30:00'")),
              3);
}

// Only a whole number is looked up; no other text reaches the database. (That the office's list
// is read anew, not remembered, LoadingTest's start after a change of the list shows.)
TEST_P(HostObjectsTest, QeGgwBasisLooksUpOnlyAWholeNumber) {
    office::OfficeQeGgwBasis basis(database());
    EXPECT_TRUE(basis.IsVuV(QStringLiteral(" 21 ")) && !basis.IsBewertung(QStringLiteral("21")) &&
                !basis.IsVuV(QStringLiteral("22")));
    for (const char* text : {"abc", "", "21 OR 1=1", "21abc", "21.0", "'21'", "99999999999"}) {
        const int seen = database().faults().statementsSeen();
        EXPECT_FALSE(basis.IsVuV(QString::fromUtf8(text))) << text;
        EXPECT_EQ(database().faults().statementsSeen(), seen) << text;
    }
}

// What a booking tells the office: the hours booked on the order, to the ten-thousandth (ten
// tenths are one hour exactly, also where the database adds binary fractions); the follow-up
// marks the order once, counts its bookings and moves the mark's time to the database's now.
TEST_P(HostObjectsTest, BookingsAreCountedOnTheirOwnOrder) {
    office::OfficeQeLeistung qeLeistung(database());
    // Employee, order and hours of each service.
    QStringList services(10, QStringLiteral("7, 5002, 0.1"));
    services << QStringLiteral("7, 5001, 1.5") << QStringLiteral("9, 5001, 0.0167")
             << QStringLiteral("7, 5003, 0.01");
    const QString at = QStringLiteral(", '2026-03-16 09:00:00')");
    execute(QStringLiteral("INSERT INTO tLeistung (flMitarbeiter, flAuftrag, dmAnzahl, dtAngelegt)"
                           " VALUES (") +
            services.join(at + QStringLiteral(", (")) + at);
    for (const auto& [auftragId, hours] :
         {std::pair{5001, 15167}, {5003, 100}, {5002, 10000}, {4711, 0}}) {
        EXPECT_EQ(qeLeistung.Kennzahl(auftragId), db::Currency{hours}) << auftragId;
    }
    office::OfficeBuchungsNachlauf followUp(database());
    bool flag = true;
    for (std::int32_t auftragId : {5001, 5001, 5003, 4711}) {
        followUp.AuftragNachlauf(auftragId, flag);
        execute(
            QStringLiteral("UPDATE tAuftragNachlauf SET dtLetzteBuchung = '2026-03-02 08:00:00'"
                           " WHERE dlBuchungen = 1"));
    }
    EXPECT_TRUE(flag) << "the caller's flag stays";
    EXPECT_EQ(rows(QStringLiteral("SELECT flAuftrag, dlBuchungen FROM tAuftragNachlauf"
                                  " ORDER BY flAuftrag"),
                   {"flAuftrag", "dlBuchungen"}),
              QStringLiteral("5001|2 / 5003|1"));
    expectJustNow(
        QStringLiteral("SELECT dtLetzteBuchung AS t FROM tAuftragNachlauf WHERE flAuftrag = 5001"));
}

ORV_INSTANTIATE_FOR_BACKENDS(HostObjectsTest);

}  // namespace
}  // namespace orv::test
