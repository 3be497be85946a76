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
#include "session/diagnostics/Version.h"

#include <functional>

namespace orv::test {
namespace {

using office::demo::kEmployeeWithoutRights;
using office::demo::kEmployeeWithRights;
using office::demo::kFirstClient;
using office::demo::kInvoicedOrder;
using office::demo::kLastClient;
using office::demo::kOffice;
using office::demo::kRentalIncomeOrder;
using office::demo::kUnproductiveTimeOrder;
using OrderValues = platform::OfficeOrder::Values;

constexpr int kFirstOrder = 5001;
constexpr int kLastOrder = 5013;
constexpr int kGlobalValueInvoicedOrders = 31;
// Numbers of demo employees, and the kind of absence a pause is.
constexpr int kAnna = 11;
constexpr int kJonas = 12;
constexpr int kPause = 0;

const QString kMitarbeiterCommand = QStringLiteral("Set oMit = New srvQeMit.QeMitarbeiterClass");
const QString kMitarbeiterLibrary = QStringLiteral("srvQeMit.dll");

class HostObjectsTest : public OfficeDbTest {
protected:
    void SetUp() override {
        OfficeDbTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            loadDemo();
        }
    }

    QDateTime databaseNow() {
        db::DbService s(database());
        s.OpenQuery(QStringLiteral("SELECT %1 AS jetzt").arg(db::dialectFor(backend()).now));
        return s.FieldDate("jetzt");
    }

    // A time the database wrote a moment ago, by its own clock.
    void expectJustNow(const QString& sql) {
        db::DbService s(database());
        s.OpenQuery(sql);
        EXPECT_LE(std::abs(s.FieldDate("t").secsTo(databaseNow())), 5) << sql.toStdString();
    }

    void addInvoice(int auftragId, int number, bool latest) {
        db::DbService s(database());
        s.Execute(QStringLiteral("INSERT INTO tRechnung (flAuftrag, dlRechnungNr, dtRechnungsDatum)"
                                 " VALUES ($1, $2, $3)"),
                  db::Params{n(auftragId), n(number), at(2026, 3, 2, 0, 0)});
        if (latest) {
            s.Execute(QStringLiteral("UPDATE tAuftrag SET flRechnung = (SELECT MAX(idRechnung)"
                                     " FROM tRechnung) WHERE idAuftrag = $1"),
                      db::Params{n(auftragId)});
        }
    }
};

// All values in one line, so a failing comparison shows every field at once.
QString describe(const OrderValues& v) {
    return QStringLiteral(
               "Mandant %1 \"%2\" Nr. %3 | Angelegenheit %4 Nr. %5 \"%6\" \"%7\" | "
               "Auftragsart %8 \"%9\" | lfd. %10 Objekt %11 | %12/%13 | Rechnungen %14")
        .arg(v.mandantId)
        .arg(v.mandant)
        .arg(v.mandantNr)
        .arg(v.angelegenheitId)
        .arg(v.angelegenheitNr)
        .arg(v.angelegenheit, v.angelegenheitErweitert)
        .arg(v.auftragArtNr)
        .arg(v.auftragArt)
        .arg(v.lfdNr)
        .arg(v.objektNr)
        .arg(v.monat)
        .arg(v.jahr)
        .arg(v.rechnungen);
}

struct PersonCase {
    int id;
    bool kanzlei;
    bool found;
    int nummer;
};

TEST_P(HostObjectsTest, PersonStammFindsAnIdOnlyAsTheKindAskedFor) {
    office::OfficePersonStamm person(database());
    const PersonCase cases[] = {
        {kFirstClient, false, true, 10001},
        {kLastClient, false, true, 10006},
        {kOffice, true, true, 1},
        {kFirstClient, true, false, 0},
        {kOffice, false, false, 0},
        {999, false, false, 0},
        {999, true, false, 0},
        {0, false, false, 0},
    };
    // One object asked in turn: a failed load must not leave the previous number behind.
    for (const PersonCase& c : cases) {
        person.setId(c.id);
        person.setKanzlei(c.kanzlei);
        EXPECT_EQ(person.Load(true), c.found) << c.id << (c.kanzlei ? " als Kanzlei" : "");
        EXPECT_EQ(person.Nummer(), c.nummer) << c.id << (c.kanzlei ? " als Kanzlei" : "");
    }
}

// Names are read only with details; closing forgets everything, also the office flag.
TEST_P(HostObjectsTest, NamesOnlyWithDetailsAndCloseForgetsAll) {
    office::OfficePersonStamm person(database());
    person.setId(kFirstClient);
    ASSERT_TRUE(person.Load(false));
    EXPECT_EQ(person.Nummer(), 10001);
    EXPECT_TRUE(person.Kurzname().isEmpty());
    ASSERT_TRUE(person.Load(true));
    EXPECT_EQ(person.Kurzname(), QStringLiteral("Bäckerei Krume"));
    person.setId(kOffice);
    person.setKanzlei(true);
    ASSERT_TRUE(person.Load(true));
    person.Close();
    EXPECT_EQ(person.Nummer(), 0);
    EXPECT_TRUE(person.Kurzname().isEmpty());
    EXPECT_FALSE(person.Load(true)) << "the same id asked as a client";

    office::OfficeMitarbeiter employee(database());
    employee.setId(kEmployeeWithRights);
    ASSERT_TRUE(employee.Load(true));
    EXPECT_EQ(employee.Nummer(), 11);
    EXPECT_EQ(employee.Name(), QStringLiteral("Anna Berger"));
    employee.setId(kEmployeeWithoutRights);
    ASSERT_TRUE(employee.Load(false));
    EXPECT_EQ(employee.Nummer(), 12);
    EXPECT_TRUE(employee.Name().isEmpty());
    employee.setId(kOffice);
    EXPECT_FALSE(employee.Load(true));
    EXPECT_EQ(employee.Nummer(), 0);
    employee.setId(kEmployeeWithRights);
    employee.Close();
    EXPECT_FALSE(employee.Load(true));
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
    office::OfficeGlobaleWerte werte(database());
    office::OfficeAnwesenheit anwesenheit(database());
    office::OfficeQeGgwBasis basis(database());
    const std::pair<const char*, std::function<void()>> calls[] = {
        {"PersonStamm", [&] { person.Load(true); }},
        {"Mitarbeiter", [&] { employee.Load(true); }},
        {"OfficeOrder", [&] { order.Load(kInvoicedOrder); }},
        {"GlobaleWerte", [&] { werte.Wert(kGlobalValueInvoicedOrders); }},
        {"Anwesenheit", [&] { anwesenheit.Abwesenheit(kPause, kAnna, QString(), true); }},
        {"QeGgwBasis", [&] { basis.IsVuV(QStringLiteral("21")); }},
        {"QeLeistung", [&] { office::OfficeQeLeistung(database()).Kennzahl(5003); }},
        {"AuftragBenachrichtigung",
         [&] { office::OfficeAuftragBenachrichtigung(database()).Auftrag(5001, 0); }},
        {"BuchungsNachlauf",
         [&] {
             std::int32_t auftragId = 5001;
             bool flag = false;
             office::OfficeBuchungsNachlauf(database()).AuftragNachlauf(auftragId, flag);
         }},
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
    EXPECT_EQ(count(QStringLiteral("tMitarbeiterAbwesenheit")), 0);
    EXPECT_EQ(count(QStringLiteral("tAuftragBenachrichtigung")), 0);
    EXPECT_EQ(count(QStringLiteral("tAuftragNachlauf")), 0);
}

// The component shows an order from its stored rows through the time-entry view, and from a
// fresh load through the order object: both must say the same.
TEST_P(HostObjectsTest, OfficeOrderShowsEveryDemoOrderAsTheTimeEntryViewDoes) {
    db::DbService s(database());
    for (int id = kFirstOrder; id <= kLastOrder; ++id) {
        s.Execute(QStringLiteral("INSERT INTO tLeistungZeiterfassung (ps_id, idAuftrag) VALUES "
                                 "($1, $2)"),
                  db::Params{n(kEmployeeWithRights), n(id)});
    }
    office::OfficeOrder order(database());
    for (int id = kFirstOrder; id <= kLastOrder; ++id) {
        ASSERT_EQ(s.OpenQuery(QStringLiteral("SELECT * FROM V_ORV_Common_Korg_Leistungen_"
                                             "Zeiterfassung WHERE idAuftrag = $1"),
                              db::Params{n(id)}),
                  1)
            << id;
        OrderValues view;
        view.mandantId = s.FieldLong("flMandant");
        view.mandant = s.FieldText("Ps_Kurzname");
        view.mandantNr = s.FieldLong("Ps_Nr");
        view.angelegenheitId = s.FieldLong("dlAngelegenheit");
        view.angelegenheitNr = s.FieldLong("dlAngelegenheitNr");
        view.angelegenheit = s.FieldText("dcAngelegenheit");
        view.angelegenheitErweitert = s.FieldText("dcAngelegenheitErweitert");
        view.auftragArtNr = s.FieldLong("dlAuftragArtNr");
        view.auftragArt = s.FieldText("dcAuftragArt");
        view.lfdNr = s.FieldLong("diLfdNr");
        view.objektNr = s.FieldLong("dlObjektNr");
        view.jahr = s.FieldLong("dlJahr");
        view.monat = s.FieldLong("diMonat");
        s.CloseQuery();
        ASSERT_FALSE(view.mandant.isEmpty()) << id;

        // One object for all: a load must not keep anything of the order before.
        ASSERT_TRUE(order.Load(id)) << id;
        view.rechnungen = id == kInvoicedOrder ? 1 : 0;
        EXPECT_EQ(describe(order.values()), describe(view)) << id;
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

// Every invoice row counts, not only the latest one the order points at; invoices of other
// orders do not.
TEST_P(HostObjectsTest, OfficeOrderCountsEveryInvoiceOfTheOrder) {
    addInvoice(kInvoicedOrder, 2026002, true);
    addInvoice(5003, 2026003, true);
    addInvoice(5003, 2026004, false);
    office::OfficeOrder order(database());
    ASSERT_TRUE(order.Load(kInvoicedOrder));
    EXPECT_EQ(order.values().rechnungen, 2);
    ASSERT_TRUE(order.Load(5003));
    EXPECT_EQ(order.values().rechnungen, 2);
    ASSERT_TRUE(order.Load(5001));
    EXPECT_EQ(order.values().rechnungen, 0);
}

TEST_P(HostObjectsTest, ErstellungsInfoNamesCommandLibraryAndTheDatabaseState) {
    office::OfficeErstellungsInfo info(database());
    const QString text = info.Info(kMitarbeiterCommand, kMitarbeiterLibrary);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Befehl: ") + kMitarbeiterCommand +
                                QStringLiteral("\r\nBibliothek: ") + kMitarbeiterLibrary +
                                QStringLiteral("\r\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Programm: ORVkStoppUhren %1.%2.%3\r\n")
                                  .arg(version::kMajor)
                                  .arg(version::kMinor)
                                  .arg(version::kRevision)))
        << text.toStdString();
    const QString where = backend() == db::Backend::Sqlite
                              ? QStringLiteral("SQLite-Datei ") + temp().target().sqlitePath
                              : QStringLiteral("PostgreSQL (");
    EXPECT_TRUE(text.contains(QStringLiteral("Bürodatenbank: ") + where)) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("antwortet, Schemastand %1 (dieses Programm kennt "
                                             "bis %1)")
                                  .arg(office::latestSchemaVersion())))
        << text.toStdString();

    database().faults().failStatement(1);
    const QString failed = info.Info(kMitarbeiterCommand, kMitarbeiterLibrary);
    EXPECT_TRUE(
        failed.contains(QStringLiteral("Zustand der Bürodatenbank: antwortet nicht, Fehler %1: ")
                            .arg(err::kDatabase)))
        << failed.toStdString();
}

// --- attendance

// The absence's begin and end come from the database's clock; the end's text does not replace
// the one given at the begin, which is stored as typed.
TEST_P(HostObjectsTest, AbsenceOpensAndClosesOnTheDatabaseClock) {
    const QString text =
        QStringLiteral("Arzt 'Dr. O''Neill' \"dringend\" 100 %1; DROP TABLE tMitarbeiter; --");
    office::OfficeAnwesenheit anwesenheit(database());
    anwesenheit.Abwesenheit(2, kAnna, text, true);
    expectJustNow(QStringLiteral("SELECT dtBeginn AS t FROM tMitarbeiterAbwesenheit"));
    // Moved back, so that an end that also touched the begin would show.
    db::DbService(database())
        .Execute(QStringLiteral("UPDATE tMitarbeiterAbwesenheit SET dtBeginn"
                                " = '2026-03-02 08:00:00'"));
    anwesenheit.Abwesenheit(2, kAnna, QStringLiteral("zurück"), false);
    expectJustNow(QStringLiteral("SELECT dtEnde AS t FROM tMitarbeiterAbwesenheit"));
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM tMitarbeiterAbwesenheit"),
                   {"dlMitarbeiterNr", "diArt", "dcText", "dtBeginn"}),
              QStringLiteral("11|2|") + text + QStringLiteral("|2026-03-02 08:00:00"));
    EXPECT_GT(count(QStringLiteral("tMitarbeiter")), 0);
}

// An end closes every open absence of the employee and kind (a pause left open by a workstation
// that went down goes with the next one), no other, and never moves an end already written.
TEST_P(HostObjectsTest, AnEndClosesTheOpenAbsencesOfTheEmployeeAndKindOnly) {
    office::OfficeAnwesenheit anwesenheit(database());
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), false);
    EXPECT_EQ(count(QStringLiteral("tMitarbeiterAbwesenheit")), 0) << "nothing open, nothing ends";
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), true);
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), true);
    anwesenheit.Abwesenheit(kPause, kJonas, QString(), true);
    anwesenheit.Abwesenheit(3, kAnna, QStringLiteral("Dienstreise"), true);
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), false);
    EXPECT_EQ(rows(QStringLiteral("SELECT dlMitarbeiterNr, diArt FROM tMitarbeiterAbwesenheit"
                                  " WHERE dtEnde IS NULL ORDER BY 1"),
                   {"dlMitarbeiterNr", "diArt"}),
              QStringLiteral("11|3 / 12|0"));
    db::DbService(database())
        .Execute(QStringLiteral("UPDATE tMitarbeiterAbwesenheit SET dtEnde = '2026-03-02 09:30:00' "
                                "WHERE dtEnde IS NOT NULL"));
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), false);
    EXPECT_EQ(count(QStringLiteral("tMitarbeiterAbwesenheit WHERE dtEnde = '2026-03-02 09:30:00'")),
              2);
}

// --- classification of matter codes

QString kindsOf(office::OfficeQeGgwBasis& basis, const QString& kenner) {
    QStringList kinds;
    if (basis.IsVuV(kenner)) {
        kinds << QStringLiteral("VuV");
    }
    if (basis.IsBewertung(kenner)) {
        kinds << QStringLiteral("Bewertung");
    }
    if (basis.IsSchenkung(kenner)) {
        kinds << QStringLiteral("Schenkung");
    }
    if (basis.IsErbschaft(kenner)) {
        kinds << QStringLiteral("Erbschaft");
    }
    if (basis.IsGrundsteuer(kenner)) {
        kinds << QStringLiteral("Grundsteuer");
    }
    return kinds.isEmpty() ? QStringLiteral("keine") : kinds.join(QLatin1Char(','));
}

// Only a whole number is looked up, as the office's list has it now; no other text reaches the
// database.
TEST_P(HostObjectsTest, QeGgwBasisClassifiesByTheOfficesList) {
    office::OfficeQeGgwBasis basis(database());
    const std::pair<const char*, const char*> codes[] = {
        {"21", "VuV"},       {"31", "Bewertung"},   {"41", "Schenkung"},
        {"51", "Erbschaft"}, {"61", "Grundsteuer"}, {" 21 ", "VuV"},
        {"22", "keine"},     {"-21", "keine"},      {"0", "keine"}};
    for (const auto& [code, kinds] : codes) {
        EXPECT_EQ(kindsOf(basis, QLatin1String(code)), QLatin1String(kinds)) << code;
    }
    for (const char* text :
         {"abc", "", " ", "21 OR 1=1", "21abc", "2 1", "21.0", "21,0", "'21'", "99999999999"}) {
        const int seen = database().faults().statementsSeen();
        EXPECT_EQ(kindsOf(basis, QString::fromUtf8(text)), QStringLiteral("keine")) << text;
        EXPECT_EQ(database().faults().statementsSeen(), seen) << text;
    }
    db::DbService s(database());
    s.Execute(QStringLiteral("UPDATE tGgwKennerArt SET diGgwArt = 5 WHERE dlGgwKenner = 21"));
    s.Execute(QStringLiteral("INSERT INTO tGgwKennerArt (dlGgwKenner, diGgwArt) VALUES (77, 2)"));
    s.Execute(QStringLiteral("DELETE FROM tGgwKennerArt WHERE dlGgwKenner = 31"));
    EXPECT_EQ(kindsOf(basis, QStringLiteral("21")), QStringLiteral("Grundsteuer"));
    EXPECT_EQ(kindsOf(basis, QStringLiteral("77")), QStringLiteral("Bewertung"));
    EXPECT_EQ(kindsOf(basis, QStringLiteral("31")), QStringLiteral("keine"));
}

// --- what a booking tells the office

// The figure is the hours booked on the order, to the ten-thousandth: ten tenths are one hour
// exactly, also where the database adds binary fractions.
TEST_P(HostObjectsTest, QeLeistungFigureIsTheHoursBookedOnTheOrder) {
    const auto book = [&](int employee, int auftragId, std::int64_t hours) {
        db::DbService(database())
            .Execute(
                QStringLiteral("INSERT INTO tLeistung (flMitarbeiter, flAuftrag, dmAnzahl, diArt,"
                               " dtAngelegt) VALUES ($1, $2, $3, 1, '2026-03-16 09:00:00')"),
                db::Params{n(employee), n(auftragId), db::Currency{hours}});
    };
    office::OfficeQeLeistung qeLeistung(database());
    EXPECT_EQ(qeLeistung.Kennzahl(5001), db::Currency{});
    book(kEmployeeWithRights, 5001, 15000);
    book(office::demo::kAdministrativeEmployee, 5001, 167);
    book(kEmployeeWithRights, 5003, 100);
    for (int i = 0; i < 10; ++i) {
        book(kEmployeeWithRights, 5002, 1000);
    }
    EXPECT_EQ(qeLeistung.Kennzahl(5001), db::Currency{15167});
    EXPECT_EQ(qeLeistung.Kennzahl(5003), db::Currency{100});
    EXPECT_EQ(qeLeistung.Kennzahl(5002), db::Currency{10000});
    EXPECT_EQ(qeLeistung.Kennzahl(4711), db::Currency{});
}

// The follow-up marks an order the office knows once and counts its bookings; every booking
// moves the mark's time to the database's now.
TEST_P(HostObjectsTest, FollowUpMarksTheOrderOnceAndCountsItsBookings) {
    office::OfficeBuchungsNachlauf followUp(database());
    for (const std::int32_t auftragId : {5001, 0, 5001, 5003, 4711}) {
        if (auftragId == 0) {
            db::DbService(database())
                .Execute(QStringLiteral(
                    "UPDATE tAuftragNachlauf SET dtLetzteBuchung = '2026-03-02 08:00:00'"));
            continue;
        }
        std::int32_t id = auftragId;
        bool flag = auftragId == 5003;
        followUp.AuftragNachlauf(id, flag);
        EXPECT_EQ(id, auftragId);
        EXPECT_EQ(flag, auftragId == 5003) << "the caller's flag stays";
    }
    EXPECT_EQ(rows(QStringLiteral("SELECT flAuftrag, dlBuchungen FROM tAuftragNachlauf"
                                  " ORDER BY flAuftrag"),
                   {"flAuftrag", "dlBuchungen"}),
              QStringLiteral("5001|2 / 5003|1"));
    expectJustNow(QStringLiteral("SELECT MIN(dtLetzteBuchung) AS t FROM tAuftragNachlauf"));
}

ORV_INSTANTIATE_FOR_BACKENDS(HostObjectsTest);

// A database that cannot be reached: the text says so, and a password never reaches a report.
TEST(ErstellungsInfoTest, UnreachableDatabaseIsReportedWithoutItsPassword) {
    QTemporaryDir dir;
    db::Database sqlite(db::DbTarget::sqlite(dir.filePath(QStringLiteral("fehlt/office.sqlite"))));
    const QString sqliteText =
        office::OfficeErstellungsInfo(sqlite).Info(kMitarbeiterCommand, kMitarbeiterLibrary);
    EXPECT_TRUE(sqliteText.contains(QStringLiteral("Zustand der Bürodatenbank: antwortet nicht")))
        << sqliteText.toStdString();

    db::Database server(db::DbTarget::postgres(QStringLiteral("host=") + dir.path() +
                                               QStringLiteral(" port=1 user=anna password=geheim "
                                                              "dbname=kanzlei")));
    const QString serverText =
        office::OfficeErstellungsInfo(server).Info(kMitarbeiterCommand, kMitarbeiterLibrary);
    EXPECT_TRUE(serverText.contains(QStringLiteral("password=*** dbname=kanzlei")))
        << serverText.toStdString();
    EXPECT_TRUE(serverText.contains(QStringLiteral("Zustand der Bürodatenbank: antwortet nicht")))
        << serverText.toStdString();
    EXPECT_FALSE(serverText.contains(QStringLiteral("geheim"))) << serverText.toStdString();
}

}  // namespace
}  // namespace orv::test
