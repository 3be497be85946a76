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

#include <QTextStream>

#include <functional>

namespace orv::test {
namespace {

using namespace office::demo;

// Numbers of demo employees, and the kind of absence a pause is.
constexpr int kAnna = 11;
constexpr int kJonas = 12;
constexpr int kPause = 0;

const QString kCommand = QStringLiteral("Set oMit = New srvQeMit.QeMitarbeiterClass");
const QString kLibrary = QStringLiteral("srvQeMit.dll");

class HostObjectsTest : public OfficeDemoTest {
protected:
    // A time the database wrote a moment ago, by its own clock.
    void expectJustNow(const QString& sql) {
        db::DbService s(database());
        s.OpenQuery(QStringLiteral("SELECT t, %1 AS jetzt FROM (%2) x")
                        .arg(QLatin1String(db::dialectFor(backend()).now), sql));
        EXPECT_LE(std::abs(s.FieldDate("t").secsTo(s.FieldDate("jetzt"))), 5) << sql.toStdString();
    }
};

// All values of an order, "|" between them, in the time-entry view's order of columns.
QString describe(const platform::OfficeOrder::Values& v) {
    QString text;
    QTextStream(&text) << v.mandantId << '|' << v.mandant << '|' << v.mandantNr << '|'
                       << v.angelegenheitId << '|' << v.angelegenheitNr << '|' << v.angelegenheit
                       << '|' << v.angelegenheitErweitert << '|' << v.auftragArtNr << '|'
                       << v.auftragArt << '|' << v.lfdNr << '|' << v.objektNr << '|' << v.jahr
                       << '|' << v.monat << '|' << v.rechnungen;
    return text;
}

// One object of each kind asked in turn: a failed load, and a close, leave nothing of the
// person before; names are read only with details; an id is found only as the kind asked for.
TEST_P(HostObjectsTest, PersonsAreFoundOnlyAsTheKindAskedForAndForgetTheOneBefore) {
    office::OfficePersonStamm person(database());
    office::OfficeMitarbeiter employee(database());
    struct Case {
        int id;
        char kind;  // 'm' client, 'k' office, 'e' employee; upper case: Close() first
        bool details;
        const char* found;  // number and name; "0": not found
    };
    const Case cases[] = {
        {kFirstClient, 'm', true, "10001 Bäckerei Krume"},
        {kLastClient, 'm', false, "10006 "},
        {kOffice, 'k', true, "1 Kanzlei Hartmann"},
        {999, 'm', true, "0"},
        {kOffice, 'K', true, "0"},
        {kEmployeeWithRights, 'e', true, "11 Anna Berger"},
        {kEmployeeWithoutRights, 'e', false, "12 "},
        {kOffice, 'e', true, "0"},
        {kEmployeeWithRights, 'E', true, "0"},
    };
    // Number and name after a load, the number alone after a failed one.
    const auto ask = [](auto& object, const Case& c, auto name) {
        object.setId(c.id);
        if (QChar(c.kind).isUpper()) {
            object.Close();
        }
        return object.Load(c.details)
                   ? QStringLiteral("%1 %2").arg(object.Nummer()).arg((object.*name)())
                   : QString::number(object.Nummer());
    };
    for (const Case& c : cases) {
        person.setKanzlei(c.kind != 'm');
        const QString found = c.kind == 'e' || c.kind == 'E'
                                  ? ask(employee, c, &office::OfficeMitarbeiter::Name)
                                  : ask(person, c, &office::OfficePersonStamm::Kurzname);
        EXPECT_EQ(found, QString::fromUtf8(c.found)) << c.id << " " << c.kind;
    }
}

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
    const std::pair<const char*, std::function<void()>> calls[] = {
        {"PersonStamm", [&] { person.Load(true); }},
        {"Mitarbeiter", [&] { employee.Load(true); }},
        {"OfficeOrder", [&] { order.Load(kInvoicedOrder); }},
        {"GlobaleWerte", [&] { office::OfficeGlobaleWerte(database()).Wert(31); }},  // invoices
        {"Anwesenheit",
         [&] {
             office::OfficeAnwesenheit(database()).Abwesenheit(kPause, kAnna, QString(), true);
         }},
        {"QeGgwBasis", [&] { office::OfficeQeGgwBasis(database()).IsVuV(QStringLiteral("21")); }},
        {"QeLeistung", [&] { office::OfficeQeLeistung(database()).Kennzahl(5003); }},
        {"AuftragBenachrichtigung",
         [&] { office::OfficeAuftragBenachrichtigung(database()).Auftrag(5001, 0); }},
        {"BuchungsNachlauf",
         [&] { office::OfficeBuchungsNachlauf(database()).AuftragNachlauf(auftragId, flag); }},
    };
    for (const auto& [name, call] : calls) {
        database().faults().failStatement(1);
        const auto error = failureOf(call);
        database().faults().clear();
        ASSERT_TRUE(error.has_value()) << name << ": the database's failure was swallowed";
        EXPECT_EQ(error->number(), err::kDatabase) << name;
    }
    EXPECT_EQ(employee.Nummer(), 0);
    EXPECT_EQ(describe(order.values()), describe({}));
    EXPECT_EQ(count(QStringLiteral("tMitarbeiterAbwesenheit")) +
                  count(QStringLiteral("tAuftragBenachrichtigung")) +
                  count(QStringLiteral("tAuftragNachlauf")),
              0);
}

// The component shows an order from its stored rows through the time-entry view, and from a
// fresh load through the order object: both must say the same. Every invoice of the order
// counts, not only the latest one it points at.
TEST_P(HostObjectsTest, OfficeOrderShowsEveryOrderAsTheTimeEntryViewDoes) {
    // More invoices than the one each order points at.
    execute(QStringLiteral("INSERT INTO tRechnung (flAuftrag, dlRechnungNr, dtRechnungsDatum)"
                           " VALUES ($1, 2026002, '2026-03-02'), (5003, 2026003, '2026-03-02'),"
                           " (5003, 2026004, '2026-03-02')"),
            {std::int64_t{kInvoicedOrder}});
    execute(QStringLiteral("INSERT INTO tLeistungZeiterfassung (ps_id, idAuftrag) SELECT $1,"
                           " idAuftrag FROM tAuftrag"),
            {std::int64_t{kEmployeeWithRights}});
    office::OfficeOrder order(database());
    const QStringList view =
        rows(QStringLiteral(
                 "SELECT idAuftrag, flMandant, COALESCE(Ps_Kurzname, '') AS a, Ps_Nr,"
                 " dlAngelegenheit, dlAngelegenheitNr, COALESCE(dcAngelegenheit, '') AS b,"
                 " COALESCE(dcAngelegenheitErweitert, '') AS c, dlAuftragArtNr,"
                 " COALESCE(dcAuftragArt, '') AS d, diLfdNr, COALESCE(dlObjektNr, 0) AS e,"
                 " dlJahr, diMonat FROM V_ORV_Common_Korg_Leistungen_Zeiterfassung"),
             {"idAuftrag", "flMandant", "a", "Ps_Nr", "dlAngelegenheit", "dlAngelegenheitNr", "b",
              "c", "dlAuftragArtNr", "d", "diLfdNr", "e", "dlJahr", "diMonat"})
            .split(QStringLiteral(" / "));
    ASSERT_EQ(view.size(), count(QStringLiteral("tAuftrag")));
    for (const QString& row : view) {
        const int id = row.section(u'|', 0, 0).toInt();
        // One object for all: a load must not keep anything of the order before.
        ASSERT_TRUE(order.Load(id)) << id;
        EXPECT_EQ(describe(order.values()),
                  row.section(u'|', 1) +
                      QStringLiteral("|%1").arg(id == kInvoicedOrder || id == 5003 ? 2 : 0));
    }
    // A load that finds nothing, and a close, leave no value of the order before.
    for (int unknown : {4711, 0, -1}) {
        ASSERT_TRUE(order.Load(kInvoicedOrder));
        EXPECT_FALSE(order.Load(unknown)) << unknown;
        EXPECT_EQ(describe(order.values()), describe({})) << unknown;
    }
    order.Close();
    EXPECT_EQ(describe(order.values()), describe({}));
}

// The command, the library and the database's state; a database that does not answer says so,
// also one that cannot be reached, whose password never shows.
TEST_P(HostObjectsTest, ErstellungsInfoNamesCommandLibraryAndTheDatabaseState) {
    office::OfficeErstellungsInfo info(database());
    const QString text = info.Info(kCommand, kLibrary);
    EXPECT_TRUE(text.startsWith(
                    QStringLiteral("Befehl: %1\r\nBibliothek: %2\r\n").arg(kCommand, kLibrary)) &&
                text.endsWith(QStringLiteral("antwortet, Schemastand %1 (dieses Programm kennt "
                                             "bis %1)")
                                  .arg(office::latestSchemaVersion())))
        << text.toStdString();
    database().faults().failStatement(1);
    EXPECT_TRUE(
        info.Info(kCommand, kLibrary)
            .contains(
                QStringLiteral("Bürodatenbank: antwortet nicht, Fehler %1: ").arg(err::kDatabase)));
    QTemporaryDir dir;
    db::Database server(db::DbTarget::postgres(
        QStringLiteral("host=%1 port=1 user=anna password=geheim dbname=kanzlei").arg(dir.path())));
    const QString failed = office::OfficeErstellungsInfo(server).Info(kCommand, kLibrary);
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
        QStringLiteral("UPDATE tMitarbeiterAbwesenheit SET dtEnde = '2026-03-02 09:30:00' "
                       "WHERE dtEnde IS NOT NULL"));
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), false);
    EXPECT_EQ(count(QStringLiteral("tMitarbeiterAbwesenheit WHERE dtEnde = '2026-03-02 09:30:00'")),
              3);
}

// Only a whole number is looked up; no other text reaches the database. (That the office's list
// is read anew, not remembered, LoadingTest's start after a change of the list shows.)
TEST_P(HostObjectsTest, QeGgwBasisClassifiesByTheOfficesList) {
    office::OfficeQeGgwBasis basis(database());
    const auto kindsOf = [&](const char* code) {
        const QString k = QString::fromUtf8(code);
        const auto is = [](bool is, const char* kind) {
            return QString::fromLatin1(is ? kind : "");
        };
        return is(basis.IsVuV(k), "V") + is(basis.IsBewertung(k), "B") +
               is(basis.IsSchenkung(k), "S") + is(basis.IsErbschaft(k), "E") +
               is(basis.IsGrundsteuer(k), "G");
    };
    // V VuV, B Bewertung, S Schenkung, E Erbschaft, G Grundsteuer
    const std::pair<const char*, const char*> codes[] = {
        {" 21 ", "V"}, {"22", ""}, {"-21", ""}, {"0", ""}};
    for (const auto& [code, kinds] : codes) {
        EXPECT_EQ(kindsOf(code), QLatin1String(kinds)) << code;
    }
    for (const char* text :
         {"abc", "", " ", "21 OR 1=1", "21abc", "2 1", "21.0", "21,0", "'21'", "99999999999"}) {
        const int seen = database().faults().statementsSeen();
        EXPECT_EQ(kindsOf(text), QString()) << text;
        EXPECT_EQ(database().faults().statementsSeen(), seen) << text;
    }
}

// What a booking tells the office: the hours booked on the order, to the ten-thousandth (ten
// tenths are one hour exactly, also where the database adds binary fractions); the follow-up
// marks the order once, counts its bookings and moves the mark's time to the database's now.
TEST_P(HostObjectsTest, BookingsAreCountedOnTheirOwnOrder) {
    office::OfficeQeLeistung qeLeistung(database());
    EXPECT_EQ(qeLeistung.Kennzahl(5001), db::Currency{});
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
    const auto mark = [&](std::int32_t auftragId) {
        bool flag = auftragId == 5003;
        followUp.AuftragNachlauf(auftragId, flag);
        EXPECT_EQ(flag, auftragId == 5003) << "the caller's flag stays";
    };
    mark(5001);
    execute(QStringLiteral("UPDATE tAuftragNachlauf SET dtLetzteBuchung = '2026-03-02 08:00:00'"));
    for (const std::int32_t auftragId : {5001, 5003, 4711}) {
        mark(auftragId);
    }
    EXPECT_EQ(rows(QStringLiteral("SELECT flAuftrag, dlBuchungen FROM tAuftragNachlauf"
                                  " ORDER BY flAuftrag"),
                   {"flAuftrag", "dlBuchungen"}),
              QStringLiteral("5001|2 / 5003|1"));
    expectJustNow(QStringLiteral("SELECT MIN(dtLetzteBuchung) AS t FROM tAuftragNachlauf"));
}

ORV_INSTANTIATE_FOR_BACKENDS(HostObjectsTest);

}  // namespace
}  // namespace orv::test
