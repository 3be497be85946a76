#include "FakePlatform.h"
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
#include "platform/timer/EventLoopTimer.h"
#include "session/diagnostics/OrvError.h"
#include "session/diagnostics/Version.h"

#include <gtest/gtest-spi.h>

#include <functional>
#include <tuple>

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

    // Every absence in the order it was opened: number, kind, text, end (NULL while open).
    QString absences() {
        return rows(QStringLiteral("SELECT dlMitarbeiterNr, diArt, dcText, dtEnde"
                                   " FROM tMitarbeiterAbwesenheit"
                                   " ORDER BY idMitarbeiterAbwesenheit"),
                    {"dlMitarbeiterNr", "diArt", "dcText", "dtEnde"});
    }

    QDateTime absenceDate(const char* column, int mitarbeiterNr) {
        db::DbService s(database());
        s.OpenQuery(QStringLiteral("SELECT %1 FROM tMitarbeiterAbwesenheit"
                                   " WHERE dlMitarbeiterNr = $1")
                        .arg(QLatin1String(column)),
                    db::Params{n(mitarbeiterNr)});
        return s.FieldDate(column);
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

TEST_P(HostObjectsTest, PersonStammReadsTheShortNameOnlyWithDetailsAndCloseForgetsAll) {
    office::OfficePersonStamm person(database());
    EXPECT_EQ(person.Nummer(), 0);
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
    // Closing also forgets the office flag: the same id is now asked as a client.
    person.setId(kOffice);
    EXPECT_FALSE(person.Load(true));
}

TEST_P(HostObjectsTest, MitarbeiterNumberById) {
    office::OfficeMitarbeiter employee(database());
    EXPECT_EQ(employee.Nummer(), 0);
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
    ASSERT_TRUE(employee.Load(true));
    employee.Close();
    EXPECT_EQ(employee.Nummer(), 0);
    EXPECT_FALSE(employee.Load(true));
}

// A refused statement is an error for the caller's report, never "not found".
TEST_P(HostObjectsTest, AFailingDatabaseRaisesInsteadOfFindingNothing) {
    office::OfficePersonStamm person(database());
    person.setId(kFirstClient);
    database().faults().failStatement(1);
    try {
        person.Load(true);
        FAIL() << "Der Fehler der Datenbank wurde verschluckt.";
    } catch (const OrvError& e) {
        EXPECT_EQ(e.number(), err::kDatabase);
    }
    office::OfficeMitarbeiter employee(database());
    employee.setId(kEmployeeWithRights);
    database().faults().failStatement(1);
    EXPECT_THROW(employee.Load(true), OrvError);
    EXPECT_EQ(employee.Nummer(), 0);

    office::OfficeOrder order(database());
    ASSERT_TRUE(order.Load(kInvoicedOrder));
    database().faults().failStatement(1);
    EXPECT_THROW(order.Load(kInvoicedOrder), OrvError);
    EXPECT_EQ(describe(order.values()), describe({}));
    // An unreadable switch must not pass for one that is off.
    office::OfficeGlobaleWerte werte(database());
    database().faults().failStatement(1);
    EXPECT_THROW(werte.Wert(kGlobalValueInvoicedOrders), OrvError);
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
}

TEST_P(HostObjectsTest, OfficeOrderValuesOfDemoOrdersAndNothingOfAnUnknownOne) {
    office::OfficeOrder order(database());
    EXPECT_EQ(describe(order.values()), describe({}));

    ASSERT_TRUE(order.Load(5003));
    EXPECT_EQ(describe(order.values()),
              QStringLiteral("Mandant 102 \"Autohaus Sommer\" Nr. 10002 | Angelegenheit 2 Nr. 201 "
                             "\"Lohn- und Gehaltsabrechnung\" \"Lohnabrechnung Januar 2026\" | "
                             "Auftragsart 20 \"Lohnbuchhaltung\" | lfd. 1 Objekt 0 | 1/2026 | "
                             "Rechnungen 0"));
    ASSERT_TRUE(order.Load(kInvoicedOrder));
    EXPECT_EQ(order.values().rechnungen, 1);
    EXPECT_EQ(order.values().jahr, 2025);
    EXPECT_EQ(order.values().auftragArt, QStringLiteral("Jahresabschluss"));
    ASSERT_TRUE(order.Load(kRentalIncomeOrder));
    EXPECT_EQ(order.values().angelegenheit,
              QStringLiteral("Einkünfte aus Vermietung und Verpachtung"));
    EXPECT_EQ(order.values().angelegenheitErweitert,
              QStringLiteral("Mehrfamilienhaus Gartenstraße 12"));
    EXPECT_EQ(order.values().objektNr, 3);
    EXPECT_EQ(order.values().rechnungen, 0);
    ASSERT_TRUE(order.Load(5012));
    EXPECT_EQ(order.values().lfdNr, 2);
    ASSERT_TRUE(order.Load(kUnproductiveTimeOrder));
    EXPECT_EQ(order.values().mandantId, kOffice);
    EXPECT_EQ(order.values().mandant, QStringLiteral("Kanzlei Hartmann"));

    for (int unknown : {4711, 0, -1}) {
        ASSERT_TRUE(order.Load(kInvoicedOrder));
        EXPECT_FALSE(order.Load(unknown)) << unknown;
        EXPECT_EQ(describe(order.values()), describe({})) << unknown;
    }

    ASSERT_TRUE(order.Load(kInvoicedOrder));
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

TEST_P(HostObjectsTest, GlobaleWerteReadTheRowAtEveryQuestion) {
    office::OfficeGlobaleWerte werte(database());
    EXPECT_FALSE(werte.Wert(kGlobalValueInvoicedOrders));
    db::DbService s(database());
    ASSERT_EQ(s.Execute(QStringLiteral("UPDATE tGlobaleWerte SET dbWert = 1 WHERE dlNummer = $1"),
                        db::Params{n(kGlobalValueInvoicedOrders)}),
              1);
    EXPECT_TRUE(werte.Wert(kGlobalValueInvoicedOrders));
    // Numbers the office never set are off.
    EXPECT_FALSE(werte.Wert(32));
    EXPECT_FALSE(werte.Wert(0));
    s.Execute(QStringLiteral("INSERT INTO tGlobaleWerte (dlNummer, dbWert) VALUES (32, 1)"));
    EXPECT_TRUE(werte.Wert(32));
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

TEST_P(HostObjectsTest, FactoryHandsOutHostObjectsOnItsDatabaseAndOneErstellungsInfo) {
    FakePlatform platform(database());
    EXPECT_EQ(&platform.officeDatabase(), &database());
    auto person = platform.createPersonStamm();
    person->setId(kFirstClient + 1);
    ASSERT_TRUE(person->Load(true));
    EXPECT_EQ(person->Nummer(), 10002);
    auto employee = platform.createMitarbeiter();
    employee->setId(kEmployeeWithoutRights);
    ASSERT_TRUE(employee->Load(true));
    EXPECT_EQ(employee->Nummer(), 12);
    EXPECT_EQ(&platform.erstellungsInfo(), &platform.erstellungsInfo());
    auto order = platform.createOfficeOrder();
    ASSERT_TRUE(order->Load(kInvoicedOrder));
    EXPECT_EQ(order->values().mandantNr, 10002);
    EXPECT_FALSE(platform.createGlobaleWerte()->Wert(kGlobalValueInvoicedOrders));
    platform.createAnwesenheitsObjekt()->Abwesenheit(0, 12, QStringLiteral("Pause"), true);
    EXPECT_EQ(absences(), QStringLiteral("12|0|Pause|NULL"));
    EXPECT_TRUE(platform.createCQeGgwBasis()->IsErbschaft(QStringLiteral("51")));
    EXPECT_EQ(platform.createCQeLeistung()->Kennzahl(5001), db::Currency{});
    platform.createAuftragBenachrichtigung()->Auftrag(5001, 0);
    EXPECT_EQ(count(QStringLiteral("tAuftragBenachrichtigung")), 1);
    std::int32_t auftragId = 5001;
    bool flag = false;
    platform.createBuchungsNachlauf()->AuftragNachlauf(auftragId, flag);
    EXPECT_EQ(count(QStringLiteral("tAuftragNachlauf")), 1);
    // The test platform ticks by hand; a real host gets the timer of its event loop.
    EXPECT_NE(dynamic_cast<platform::EventLoopTimer*>(
                  platform.office::OfficePlatformFactory::createTimer().get()),
              nullptr);

    const std::tuple<Creation, const char*, std::function<void()>> failing[] = {
        {Creation::Mitarbeiter, "srvQeMit.QeMitarbeiterClass",
         [&] { platform.createMitarbeiter(); }},
        {Creation::AnwesenheitsObjekt, "AnwesenheitsObjekt",
         [&] { platform.createAnwesenheitsObjekt(); }},
        {Creation::CQeGgwBasis, "ORVkQeGgw.CQeGgwBasis", [&] { platform.createCQeGgwBasis(); }},
        {Creation::CQeLeistung, "ORVkQeLeistung.CQeLeistung",
         [&] { platform.createCQeLeistung(); }},
        {Creation::AuftragBenachrichtigung, "AuftragBenachrichtigung",
         [&] { platform.createAuftragBenachrichtigung(); }},
        {Creation::BuchungsNachlauf, "BuchungsNachlauf",
         [&] { platform.createBuchungsNachlauf(); }},
    };
    for (const auto& [creation, name, create] : failing) {
        platform.failCreation(creation);
        try {
            create();
            FAIL() << "Die Erstellung hätte scheitern sollen: " << name;
        } catch (const OrvError& e) {
            EXPECT_EQ(e.number(), err::kCannotCreateObject) << name;
            EXPECT_TRUE(e.description().contains(QLatin1String(name))) << e.what();
        }
    }
}

// --- attendance

// Numbers of demo employees.
constexpr int kAnna = 11;
constexpr int kJonas = 12;
constexpr int kPause = 0;

TEST_P(HostObjectsTest, AbsenceOpensAndClosesOnTheDatabaseClock) {
    office::OfficeAnwesenheit anwesenheit(database());
    const QDateTime beforeBegin = databaseNow();
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), true);
    const QDateTime afterBegin = databaseNow();
    EXPECT_EQ(absences(), QStringLiteral("11|0||NULL"));
    const QDateTime begin = absenceDate("dtBeginn", kAnna);
    EXPECT_LE(beforeBegin, begin);
    EXPECT_LE(begin, afterBegin);

    // Moved back, so that an end that also touched the begin would show.
    db::DbService s(database());
    s.Execute(QStringLiteral("UPDATE tMitarbeiterAbwesenheit SET dtBeginn = $1"),
              db::Params{at(2026, 3, 2, 8, 0)});
    const QDateTime beforeEnd = databaseNow();
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), false);
    const QDateTime afterEnd = databaseNow();
    const QDateTime end = absenceDate("dtEnde", kAnna);
    ASSERT_TRUE(end.isValid());
    EXPECT_LE(beforeEnd, end);
    EXPECT_LE(end, afterEnd);
    EXPECT_EQ(absenceDate("dtBeginn", kAnna), at(2026, 3, 2, 8, 0));
    EXPECT_EQ(count(QStringLiteral("tMitarbeiterAbwesenheit")), 1);
}

TEST_P(HostObjectsTest, AbsencesOfOtherEmployeesAndKindsStayOpen) {
    office::OfficeAnwesenheit anwesenheit(database());
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), true);
    anwesenheit.Abwesenheit(kPause, kJonas, QString(), true);
    anwesenheit.Abwesenheit(3, kAnna, QStringLiteral("Dienstreise"), true);
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), false);
    EXPECT_FALSE(absenceDate("dtEnde", kJonas).isValid());
    const QString annaClosed = rows(QStringLiteral("SELECT diArt, dcText FROM "
                                                   "tMitarbeiterAbwesenheit WHERE dlMitarbeiterNr"
                                                   " = $1 AND dtEnde IS NOT NULL"),
                                    {"diArt", "dcText"}, db::Params{n(kAnna)});
    EXPECT_EQ(annaClosed, QStringLiteral("0|"));
    EXPECT_EQ(count(QStringLiteral("tMitarbeiterAbwesenheit WHERE dtEnde IS NULL")), 2);

    anwesenheit.Abwesenheit(kPause, kJonas, QString(), false);
    EXPECT_EQ(count(QStringLiteral("tMitarbeiterAbwesenheit WHERE dtEnde IS NULL")), 1);
    EXPECT_EQ(count(QStringLiteral("tMitarbeiterAbwesenheit WHERE dtEnde IS NULL AND diArt = 3")),
              1);
}

// A pause left open by a workstation that went down is closed with the next one.
TEST_P(HostObjectsTest, AnEndClosesEveryOpenAbsenceOfTheEmployeeAndKind) {
    office::OfficeAnwesenheit anwesenheit(database());
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), true);
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), true);
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), false);
    EXPECT_EQ(absences().count(QStringLiteral("NULL")), 0) << absences().toStdString();
    EXPECT_EQ(count(QStringLiteral("tMitarbeiterAbwesenheit")), 2);
}

TEST_P(HostObjectsTest, AnEndWithoutAnOpenAbsenceWritesNothing) {
    office::OfficeAnwesenheit anwesenheit(database());
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), false);
    EXPECT_EQ(count(QStringLiteral("tMitarbeiterAbwesenheit")), 0);

    // Nor does it move the end of one already closed.
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), true);
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), false);
    db::DbService s(database());
    s.Execute(QStringLiteral("UPDATE tMitarbeiterAbwesenheit SET dtEnde = $1"),
              db::Params{at(2026, 3, 2, 9, 30)});
    anwesenheit.Abwesenheit(kPause, kAnna, QString(), false);
    EXPECT_EQ(absenceDate("dtEnde", kAnna), at(2026, 3, 2, 9, 30));
    EXPECT_EQ(count(QStringLiteral("tMitarbeiterAbwesenheit")), 1);
}

TEST_P(HostObjectsTest, AbsenceTextIsStoredAsTyped) {
    const QString text =
        QStringLiteral("Arzt 'Dr. O''Neill' \"dringend\" 100 %1; DROP TABLE tMitarbeiter; --");
    office::OfficeAnwesenheit anwesenheit(database());
    anwesenheit.Abwesenheit(2, kAnna, text, true);
    // The end's text does not replace the one given at the begin.
    anwesenheit.Abwesenheit(2, kAnna, QStringLiteral("zurück"), false);
    EXPECT_EQ(rows(QStringLiteral("SELECT dcText FROM tMitarbeiterAbwesenheit"), {"dcText"}), text);
    EXPECT_GT(count(QStringLiteral("tMitarbeiter")), 0);
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

TEST_P(HostObjectsTest, QeGgwBasisClassifiesTheDemoCodesAndNoOther) {
    office::OfficeQeGgwBasis basis(database());
    EXPECT_EQ(kindsOf(basis, QStringLiteral("21")), QStringLiteral("VuV"));
    EXPECT_EQ(kindsOf(basis, QStringLiteral("31")), QStringLiteral("Bewertung"));
    EXPECT_EQ(kindsOf(basis, QStringLiteral("41")), QStringLiteral("Schenkung"));
    EXPECT_EQ(kindsOf(basis, QStringLiteral("51")), QStringLiteral("Erbschaft"));
    EXPECT_EQ(kindsOf(basis, QStringLiteral("61")), QStringLiteral("Grundsteuer"));
    // Blanks around the number as a number field may leave them.
    EXPECT_EQ(kindsOf(basis, QStringLiteral(" 21 ")), QStringLiteral("VuV"));
    for (const char* unknown : {"0", "22", "-21", "99"}) {
        EXPECT_EQ(kindsOf(basis, QLatin1String(unknown)), QStringLiteral("keine")) << unknown;
    }
}

// Only a whole number is looked up; no other text reaches the database.
TEST_P(HostObjectsTest, QeGgwBasisAsksTheDatabaseOnlyForAWholeNumber) {
    office::OfficeQeGgwBasis basis(database());
    for (const char* text :
         {"abc", "", " ", "21 OR 1=1", "21abc", "2 1", "21.0", "21,0", "'21'", "99999999999"}) {
        const int seen = database().faults().statementsSeen();
        EXPECT_EQ(kindsOf(basis, QString::fromUtf8(text)), QStringLiteral("keine")) << text;
        EXPECT_EQ(database().faults().statementsSeen(), seen) << text;
    }
    const int seen = database().faults().statementsSeen();
    EXPECT_TRUE(basis.IsVuV(QStringLiteral("21")));
    EXPECT_EQ(database().faults().statementsSeen(), seen + 1);
}

TEST_P(HostObjectsTest, QeGgwBasisFollowsTheOfficesList) {
    office::OfficeQeGgwBasis basis(database());
    db::DbService s(database());
    s.Execute(QStringLiteral("UPDATE tGgwKennerArt SET diGgwArt = 5 WHERE dlGgwKenner = 21"));
    s.Execute(QStringLiteral("INSERT INTO tGgwKennerArt (dlGgwKenner, diGgwArt) VALUES (77, 2)"));
    s.Execute(QStringLiteral("DELETE FROM tGgwKennerArt WHERE dlGgwKenner = 31"));
    EXPECT_EQ(kindsOf(basis, QStringLiteral("21")), QStringLiteral("Grundsteuer"));
    EXPECT_EQ(kindsOf(basis, QStringLiteral("77")), QStringLiteral("Bewertung"));
    EXPECT_EQ(kindsOf(basis, QStringLiteral("31")), QStringLiteral("keine"));
}

// A refused statement is the caller's error, not "absent recorded" or "no such kind".
TEST_P(HostObjectsTest, AttendanceAndClassificationRaiseWhenTheDatabaseFails) {
    office::OfficeAnwesenheit anwesenheit(database());
    database().faults().failStatement(1);
    EXPECT_THROW(anwesenheit.Abwesenheit(kPause, kAnna, QString(), true), OrvError);
    EXPECT_EQ(count(QStringLiteral("tMitarbeiterAbwesenheit")), 0);
    office::OfficeQeGgwBasis basis(database());
    database().faults().failStatement(1);
    EXPECT_THROW(basis.IsVuV(QStringLiteral("21")), OrvError);
}

// --- what a booking tells the office

void bookService(db::Database& database, int employee, int auftragId, db::Currency hours) {
    db::DbService s(database);
    s.Execute(QStringLiteral("INSERT INTO tLeistung (flMitarbeiter, flAuftrag, dmAnzahl, diArt,"
                             " dtAngelegt) VALUES ($1, $2, $3, 1, $4)"),
              db::Params{n(employee), n(auftragId), hours, at(2026, 3, 16, 9, 0)});
}

TEST_P(HostObjectsTest, QeLeistungFigureIsTheHoursBookedOnTheOrder) {
    office::OfficeQeLeistung qeLeistung(database());
    EXPECT_EQ(qeLeistung.Kennzahl(5001), db::Currency{});
    bookService(database(), kEmployeeWithRights, 5001, db::Currency{15000});
    bookService(database(), office::demo::kAdministrativeEmployee, 5001, db::Currency{167});
    bookService(database(), kEmployeeWithRights, 5003, db::Currency{100});
    EXPECT_EQ(qeLeistung.Kennzahl(5001), db::Currency{15167});
    EXPECT_EQ(qeLeistung.Kennzahl(5003), db::Currency{100});
    EXPECT_EQ(qeLeistung.Kennzahl(5002), db::Currency{});
    EXPECT_EQ(qeLeistung.Kennzahl(4711), db::Currency{});

    // Ten tenths are one hour exactly, also where the database adds binary fractions.
    for (int i = 0; i < 10; ++i) {
        bookService(database(), kEmployeeWithRights, 5002, db::Currency{1000});
    }
    EXPECT_EQ(qeLeistung.Kennzahl(5002), db::Currency{10000});

    db::DbService s(database());
    s.Execute(QStringLiteral("DELETE FROM tLeistung WHERE flAuftrag = 5001"));
    EXPECT_EQ(qeLeistung.Kennzahl(5001), db::Currency{});

    // An unreadable figure must not pass for an order without services.
    database().faults().failStatement(1);
    EXPECT_THROW(qeLeistung.Kennzahl(5003), OrvError);
}

TEST_P(HostObjectsTest, NoticeNamesOrderEmployeeAndKindOnTheDatabaseClock) {
    office::OfficeAuftragBenachrichtigung notice(database());
    const QDateTime before = databaseNow();
    notice.Auftrag(5001, 0);
    notice.setMitarbeiter(kEmployeeWithRights);
    notice.Auftrag(5003, 0);
    notice.Auftrag(5003, 2);
    const QDateTime after = databaseNow();
    EXPECT_EQ(rows(QStringLiteral("SELECT flAuftrag, flMitarbeiter, diArt FROM"
                                  " tAuftragBenachrichtigung ORDER BY idAuftragBenachrichtigung"),
                   {"flAuftrag", "flMitarbeiter", "diArt"}),
              QStringLiteral("5001|0|0 / 5003|7|0 / 5003|7|2"));
    db::DbService s(database());
    s.OpenQuery(
        QStringLiteral("SELECT MIN(dtZeit) AS erste, MAX(dtZeit) AS letzte"
                       " FROM tAuftragBenachrichtigung"));
    EXPECT_LE(before, s.FieldDate("erste"));
    EXPECT_LE(s.FieldDate("letzte"), after);

    database().faults().failStatement(1);
    EXPECT_THROW(notice.Auftrag(5001, 0), OrvError);
    EXPECT_EQ(count(QStringLiteral("tAuftragBenachrichtigung")), 3);
}

TEST_P(HostObjectsTest, FollowUpMarksTheOrderOnceAndCountsItsBookings) {
    office::OfficeBuchungsNachlauf followUp(database());
    std::int32_t auftragId = 5001;
    bool flag = false;
    const QDateTime before = databaseNow();
    followUp.AuftragNachlauf(auftragId, flag);
    EXPECT_EQ(auftragId, 5001);
    EXPECT_FALSE(flag);
    const auto marks = [&] {
        return rows(QStringLiteral("SELECT flAuftrag, dlBuchungen FROM tAuftragNachlauf"
                                   " ORDER BY flAuftrag"),
                    {"flAuftrag", "dlBuchungen"});
    };
    EXPECT_EQ(marks(), QStringLiteral("5001|1"));
    const auto latest = [&](int order) {
        db::DbService s(database());
        s.OpenQuery(QStringLiteral("SELECT dtLetzteBuchung FROM tAuftragNachlauf"
                                   " WHERE flAuftrag = $1"),
                    db::Params{n(order)});
        return s.FieldDate("dtLetzteBuchung");
    };
    EXPECT_LE(before, latest(5001));
    EXPECT_LE(latest(5001), databaseNow());

    // Moved back, so that the next booking's time shows.
    db::DbService s(database());
    s.Execute(QStringLiteral("UPDATE tAuftragNachlauf SET dtLetzteBuchung = $1"),
              db::Params{at(2026, 3, 2, 8, 0)});
    flag = true;
    followUp.AuftragNachlauf(auftragId, flag);
    EXPECT_TRUE(flag);
    std::int32_t other = 5003;
    followUp.AuftragNachlauf(other, flag);
    EXPECT_EQ(marks(), QStringLiteral("5001|2 / 5003|1"));
    EXPECT_LE(before, latest(5001));

    // An order the office does not know gets no mark.
    std::int32_t unknown = 4711;
    followUp.AuftragNachlauf(unknown, flag);
    EXPECT_EQ(count(QStringLiteral("tAuftragNachlauf")), 2);

    database().faults().failStatement(1);
    EXPECT_THROW(followUp.AuftragNachlauf(auftragId, flag), OrvError);
    EXPECT_EQ(marks(), QStringLiteral("5001|2 / 5003|1"));
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

// --- the fakes every later test relies on

class FakesTest : public ::testing::Test {
protected:
    TempDatabase temp_{db::Backend::Sqlite, nullptr};
    FakePlatform platform_{temp_.database()};
};

class CountingNotify final : public platform::TimerNotify {
public:
    void TimerTick() override { ++ticks; }
    int ticks = 0;
};

TEST_F(FakesTest, TimerTicksOnlyWhileStartedAndStaysReadableAfterRelease) {
    CountingNotify notify;
    SettableClock& clock = platform_.settableClock();
    const QDateTime begin = clock.now();
    {
        auto timer = platform_.createTimer();
        ManualTimer& manual = *platform_.timer();
        timer->take(&notify);
        EXPECT_FALSE(manual.tick(clock, 5));  // not started yet, but time passes
        timer->start();
        EXPECT_TRUE(manual.tick(clock, 2));
        timer->stop();
        EXPECT_FALSE(manual.tick());
        timer->start();
        timer->take(nullptr);
        EXPECT_FALSE(manual.tick());  // nobody takes the ticks any more
        timer->finish();
    }
    EXPECT_EQ(notify.ticks, 1);
    EXPECT_EQ(begin.secsTo(clock.now()), 7);
    ManualTimer& released = *platform_.timer();
    EXPECT_TRUE(released.released());
    EXPECT_TRUE(released.finished());
    EXPECT_FALSE(released.running());
    EXPECT_EQ(released.starts(), 2);
    EXPECT_EQ(released.takes(), 2);
    EXPECT_EQ(
        platform_.journal().entries(),
        QStringList({"Timer.create", "Timer.take", "Timer.start", "Timer.TimerTick", "Timer.stop",
                     "Timer.start", "Timer.take", "Timer.finish", "Timer.release"}));

    EXPECT_NONFATAL_FAILURE(released.start(), "nach finish()");
}

TEST_F(FakesTest, ClockCountsRealSecondsAcrossTheChangeToSummerTime) {
    SettableClock clock;
    clock.set(QDateTime(QDate(2026, 3, 29), QTime(1, 30, 0, 750)));
    EXPECT_EQ(clock.now().time(), QTime(1, 30, 0));
    clock.advance(3600);
    EXPECT_EQ(clock.now().time(), QTime(3, 30, 0));
}

TEST_F(FakesTest, MessageBoxesAnswerInOrderAndFailTheTestWhenTheScriptDoesNotFit) {
    using platform::MsgAnswer;
    using platform::MsgButtons;
    using platform::MsgIcon;
    ScriptedMessageBoxes& boxes = platform_.messageBoxes();
    boxes.answer(MsgAnswer::No);
    boxes.answer(MsgAnswer::Cancel);
    EXPECT_EQ(boxes.show(QStringLiteral("Erste?"), MsgButtons::YesNo, MsgIcon::Question,
                         QStringLiteral("Eins"), true),
              MsgAnswer::No);
    EXPECT_EQ(boxes.show(QStringLiteral("Zweite?"), MsgButtons::OkCancel, MsgIcon::Exclamation,
                         QStringLiteral("Zwei")),
              MsgAnswer::Cancel);
    ASSERT_EQ(boxes.asked().size(), 2u);
    EXPECT_EQ(boxes.asked()[0].title, QStringLiteral("Eins"));
    EXPECT_TRUE(boxes.asked()[0].systemModal);
    EXPECT_EQ(boxes.asked()[1].icon, MsgIcon::Exclamation);
    EXPECT_FALSE(boxes.asked()[1].systemModal);

    MsgAnswer unscripted = MsgAnswer::No;
    EXPECT_NONFATAL_FAILURE(
        unscripted = boxes.show(QStringLiteral("Dritte?"), MsgButtons::YesNoCancel,
                                MsgIcon::Question, QStringLiteral("Drei")),
        "ohne vorbereitete Antwort");
    EXPECT_EQ(unscripted, MsgAnswer::Yes);
    boxes.answer(MsgAnswer::Yes);
    MsgAnswer misfit = MsgAnswer::No;
    EXPECT_NONFATAL_FAILURE(misfit = boxes.show(QStringLiteral("Fertig."), MsgButtons::OkOnly,
                                                MsgIcon::Information, QStringLiteral("Vier")),
                            "passt zu keiner");
    EXPECT_EQ(misfit, MsgAnswer::Ok);
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedMessageBoxes leftOver;
            leftOver.answer(MsgAnswer::Ok);
        },
        "nie abgefragt");
}

}  // namespace
}  // namespace orv::test
