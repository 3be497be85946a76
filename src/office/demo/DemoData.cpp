#include "office/demo/DemoData.h"

#include "office/schema/Migrations.h"
#include "persistence/Database.h"
#include "persistence/driver/Connection.h"
#include "session/diagnostics/OrvError.h"

#include <QDate>
#include <QDateTime>

#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace orv::office {
namespace {

constexpr const char* kOfficeName = "Steuerberatung Hartmann & Partner mbB";

struct Person {
    int id;
    int number;
    const char* shortName;
    const char* name;
    bool office;
};
constexpr Person kPersons[] = {
    {demo::kOffice, 1, "Kanzlei Hartmann", kOfficeName, true},
    {101, 10001, "Bäckerei Krume", "Bäckerei Krume GmbH", false},
    {102, 10002, "Autohaus Sommer", "Autohaus Sommer KG", false},
    {103, 10003, "Dr. Weber", "Dr. med. Clara Weber", false},
    {104, 10004, "Familie Brandt", "Thomas und Sabine Brandt", false},
    {105, 10005, "Lorenz, Heinz", "Heinz Lorenz", false},
    {106, 10006, "Metallbau Kaiser", "Metallbau Kaiser GmbH & Co. KG", false},
    {107, 10007, "O'Neill Consulting", "Café O'Neill & Partner", false},
    {108, 10008, "Öztürk, Ümit", "Ümit Öztürk", false},
    {109, 10009, "Müller & Söhne", "Müller & Söhne Haustechnik OHG", false},
    {110, 10100, "Bioladen 100%", "Bioladen 100% Natur e.K.", false},
};

struct Employee {
    int id;
    int number;
    const char* name;
};
constexpr Employee kEmployees[] = {
    {demo::kEmployeeWithRights, 11, "Anna Berger"},
    {demo::kEmployeeWithoutRights, 12, "Jonas Keller"},
    {demo::kAdministrativeEmployee, 19, "Verwaltung"},
};
constexpr int kRightsOfFirstEmployee[] = {28, 34, 38};

struct OrderKind {
    int id;
    int number;
    const char* text;
};
constexpr OrderKind kOrderKinds[] = {
    {1, 10, "Finanzbuchhaltung"},        {2, 20, "Lohnbuchhaltung"},
    {3, 30, "Jahresabschluss"},          {4, 40, "Steuererklärungen"},
    {5, 50, "Grundbesitz und Vermögen"}, {6, 90, "Beratung und Kanzleiorganisation"},
};

struct Matter {
    int id;
    int kind;
    int number;
    const char* text;
    int assessmentCode;
    bool severalOrders;
};
constexpr Matter kMatters[] = {
    {1, 1, 101, "Laufende Finanzbuchhaltung", 0, false},
    {2, 2, 201, "Lohn- und Gehaltsabrechnung", 0, false},
    {3, 3, 301, "Jahresabschluss mit Anhang", 0, false},
    {4, 4, 401, "Einkommensteuererklärung", 0, false},
    {5, 4, 402, "Einkünfte aus Vermietung und Verpachtung", 21, false},
    {6, 5, 501, "Feststellung des Grundbesitzwerts", 31, false},
    {7, 5, 502, "Schenkungsteuererklärung", 41, false},
    {8, 5, 503, "Erbschaftsteuererklärung", 51, false},
    {9, 5, 504, "Grundsteuerwerterklärung", 61, false},
    {10, 6, 901, "Steuerliche Beratung", 0, true},
    {11, 6, 990, "Kanzleiorganisation", 0, false},
};

// Matter code and the kind of property assessment it belongs to.
constexpr int kAssessmentKinds[][2] = {{21, 1}, {31, 2}, {41, 3}, {51, 4}, {61, 5}};

struct Order {
    int id;
    int client;
    int matter;  // the order kind follows from the matter
    int year;
    int month;
    int runningNumber;
    int objectNumber;
    const char* extendedText;
    int billingKind;
};
constexpr Order kOrders[] = {
    {5001, 101, 1, 2026, 1, 1, 0, "Buchführung Januar 2026", 1},
    {5002, 101, 1, 2026, 2, 1, 0, "Buchführung Februar 2026", 1},
    {5003, 102, 2, 2026, 1, 1, 0, "Lohnabrechnung Januar 2026", 1},
    {demo::kInvoicedOrder, 102, 3, 2025, 12, 1, 0, "Jahresabschluss 2025", 1},
    {demo::kBillingKind9Order, 103, 4, 2025, 12, 1, 0, "Einkommensteuer 2025 (pauschal)", 9},
    {demo::kRentalIncomeOrder, 103, 5, 2025, 12, 1, 3, "Mehrfamilienhaus Gartenstraße 12", 1},
    {5007, 104, 6, 2026, 1, 1, 1, "Feststellung zum 01.01.2026", 1},
    {5008, 105, 7, 2026, 3, 1, 2, "Schenkung an die Tochter", 1},
    {5009, 105, 8, 2026, 2, 1, 1, "Nachlass Heinz Lorenz sen.", 1},
    {5010, 106, 9, 2026, 1, 1, 4, "Betriebsgrundstück", 1},
    {demo::kSeveralOrdersMatterOrder, 106, 10, 2026, 3, 1, 0, "Beratung Umsatzsteuer", 1},
    {5012, 106, 10, 2026, 3, 2, 0, "Beratung Unternehmensnachfolge", 1},
    {demo::kUnproductiveTimeOrder, demo::kOffice, 11, 2026, 1, 1, 0, "Unproduktive Zeiten", 1},
    // Below the first order, so that the office's own next order follows 5013.
    {4901, 107, 10, 2026, 4, 1, 0, "Beratung Gesellschaftsvertrag", 1},
    {4902, 107, 10, 2026, 4, 2, 0, "Beratung Gewinnverteilung", 1},
    {4903, 107, 10, 2026, 5, 1, 0, "Beratung Gesellschafterwechsel", 1},
    {4904, 108, 4, 2025, 12, 1, 0, "Einkommensteuer 2025", 1},
    {4905, 109, 1, 2026, 1, 1, 0, "Buchführung Januar 2026", 1},
};
constexpr int kInvoiceId = 7001;

// One assessed object per kind: basis, amount and designation carry the kind as their id.
struct Assessment {
    int kind;
    int client;
    const char* code;
    int year;
    int month;
    int objectNumber;
    const char* designation;
};
constexpr Assessment kAssessments[] = {
    {1, 103, "21", 2025, 12, 3, "Mehrfamilienhaus Gartenstraße 12"},
    {2, 104, "31", 2026, 1, 1, "Einfamilienhaus Lindenweg 4"},
    {3, 105, "41", 2026, 3, 2, "Eigentumswohnung Am Markt 7"},
    {4, 105, "51", 2026, 2, 1, "Wohnhaus Bergstraße 21"},
    {5, 106, "61", 2026, 1, 4, "Gewerbegrundstück Industriestraße 8"},
};

struct StandardText {
    int id;
    int number;
    const char* text;
    int office;
    int category;
};
constexpr StandardText kStandardTexts[] = {
    {1, 10, "Kontierung und Buchung der laufenden Belege", 0, 2},
    {2, 11, "Abstimmung der Konten", 0, 2},
    {3, 12, "Besprechung mit dem Mandanten", demo::kOffice, 2},
    {4, 20, "Erstellung der Lohnabrechnung", 0, 2},
    {5, 12, "Allgemeiner Schriftverkehr", 0, 1},
};

struct Setting {
    const char* subKey;
    int key;
    const char* value;
};
constexpr Setting kSettings[] = {
    {"ORV.Brix.Options.KOrg.Verwaltungsanteil", 1, "10"},
    {"ORV.Brix.Options.KOrg.Verwaltungsmitarbeiter", 1, "9"},
    {"ORV.Common.KOrg.Zeiterfassung", 3, "5013"},
};

db::DbValue n(std::int64_t value) {
    return value;
}
db::DbValue t(const char* value) {
    return QString::fromUtf8(value);
}
db::DbValue day(int year, int month, int dayOfMonth) {
    return QDateTime(QDate(year, month, dayOfMonth), QTime(0, 0));
}

const Matter& matter(int id) {
    for (const Matter& m : kMatters) {
        if (m.id == id) {
            return m;
        }
    }
    throw OrvError(err::kInvalidCall, QStringLiteral("Demodaten"),
                   QStringLiteral("Angelegenheit %1 fehlt.").arg(id));
}

const OrderKind& orderKind(int id) {
    for (const OrderKind& k : kOrderKinds) {
        if (k.id == id) {
            return k;
        }
    }
    throw OrvError(err::kInvalidCall, QStringLiteral("Demodaten"),
                   QStringLiteral("Auftragsart %1 fehlt.").arg(id));
}

class Writer {
public:
    explicit Writer(db::Connection& connection) : connection_(connection) {}

    void operator()(const char* sql, std::initializer_list<db::DbValue> params) {
        connection_.execute(sql, std::span<const db::DbValue>(params.begin(), params.size()));
    }

private:
    db::Connection& connection_;
};

// Where the demo data claims fixed keys or unique numbers. lowerKey is the key column as
// PostgreSQL spells it, for its sequence.
struct Claim {
    const char* table;
    const char* column;
    std::vector<int> values;
    const char* lowerTable;  // set when the column is the table's generated key
    const char* lowerKey;
};

template <typename Range, typename Get>
std::vector<int> collect(const Range& range, Get get) {
    std::vector<int> out;
    for (const auto& item : range) {
        out.push_back(get(item));
    }
    return out;
}

std::vector<Claim> claims() {
    std::vector<int> kinds = collect(kAssessments, [](const Assessment& a) { return a.kind; });
    std::vector<int> valuedKinds(kinds.begin() + 1, kinds.end());
    return {
        {"tPersonStamm", "Ps_Id", collect(kPersons, [](const Person& p) { return p.id; }),
         "tpersonstamm", "ps_id"},
        {"tMitarbeiter", "idMitarbeiter",
         collect(kEmployees, [](const Employee& e) { return e.id; }), "tmitarbeiter",
         "idmitarbeiter"},
        {"tMitarbeiter", "dlMitarbeiterNr",
         collect(kEmployees, [](const Employee& e) { return e.number; }), nullptr, nullptr},
        {"tAuftragArt", "idAuftragArt",
         collect(kOrderKinds, [](const OrderKind& k) { return k.id; }), "tauftragart",
         "idauftragart"},
        {"tAuftragArt", "dlAuftragArtNr",
         collect(kOrderKinds, [](const OrderKind& k) { return k.number; }), nullptr, nullptr},
        {"tAngelegenheit", "idAngelegenheit",
         collect(kMatters, [](const Matter& m) { return m.id; }), "tangelegenheit",
         "idangelegenheit"},
        {"tGgwKennerArt", "dlGgwKenner",
         collect(kAssessmentKinds, [](const int(&k)[2]) { return k[0]; }), nullptr, nullptr},
        {"tAuftrag", "idAuftrag", collect(kOrders, [](const Order& o) { return o.id; }), "tauftrag",
         "idauftrag"},
        {"tRechnung", "idRechnung", {kInvoiceId}, "trechnung", "idrechnung"},
        {"tStdBuText", "idStdBuText",
         collect(kStandardTexts, [](const StandardText& s) { return s.id; }), "tstdbutext",
         "idstdbutext"},
        {"tGgwBasis", "idGgwBasis", kinds, "tggwbasis", "idggwbasis"},
        {"tGgwBetrag", "idGgwBetrag", kinds, "tggwbetrag", "idggwbetrag"},
        {"tGGWObjName", "idGgwObjName", {1}, "tggwobjname", "idggwobjname"},
        {"tGgwBgBetrag", "idBgBetrag", valuedKinds, "tggwbgbetrag", "idbgbetrag"},
        {"tGGWGrundlage", "idGgwGrundlage", valuedKinds, "tggwgrundlage", "idggwgrundlage"},
    };
}

std::string inList(const std::vector<int>& values) {
    std::string list;
    for (int v : values) {
        list += (list.empty() ? "" : ",") + std::to_string(v);
    }
    return list;
}

bool demoOfficePresent(db::Connection& connection) {
    const db::DbValue params[] = {n(demo::kOffice), t(kOfficeName)};
    return connection.query("SELECT 1 FROM tPersonStamm WHERE Ps_Id = $1 AND Ps_Name = $2", params)
        ->next();
}

// The demo office goes only into a database whose keys and numbers it does not meet.
void refuseWhenTaken(db::Connection& connection, const std::vector<Claim>& all) {
    for (const Claim& claim : all) {
        const std::string sql = std::string("SELECT COUNT(*) FROM ") + claim.table + " WHERE " +
                                claim.column + " IN (" + inList(claim.values) + ")";
        auto cursor = connection.query(sql);
        if (cursor->next() && cursor->toInt64(0) > 0) {
            throw OrvError(
                err::kDatabase, QStringLiteral("Demodaten"),
                QStringLiteral("Die Demodaten können nicht geladen werden: In der "
                               "Tabelle %1 sind Werte der Spalte %2 (%3) schon "
                               "vergeben. Es wurde nichts geändert.")
                    .arg(QString::fromLatin1(claim.table), QString::fromLatin1(claim.column),
                         QString::fromStdString(inList(claim.values))));
        }
    }
}

void writeMasterData(Writer& write) {
    for (const Person& p : kPersons) {
        write(
            "INSERT INTO tPersonStamm (Ps_Id, Ps_Nr, Ps_Kurzname, Ps_Name, Ps_IstKanzlei)"
            " VALUES ($1, $2, $3, $4, $5)",
            {n(p.id), n(p.number), t(p.shortName), t(p.name), n(p.office ? 1 : 0)});
    }
    for (const Employee& e : kEmployees) {
        write(
            "INSERT INTO tMitarbeiter (idMitarbeiter, dlMitarbeiterNr, dcName) VALUES ($1, $2, $3)",
            {n(e.id), n(e.number), t(e.name)});
    }
    for (int right : kRightsOfFirstEmployee) {
        write("INSERT INTO tMitarbeiterRecht (flMitarbeiter, dlRecht) VALUES ($1, $2)",
              {n(demo::kEmployeeWithRights), n(right)});
    }
    for (const OrderKind& k : kOrderKinds) {
        write(
            "INSERT INTO tAuftragArt (idAuftragArt, dlAuftragArtNr, dcAuftragArt) VALUES ($1, $2, "
            "$3)",
            {n(k.id), n(k.number), t(k.text)});
    }
    for (const Matter& m : kMatters) {
        write(
            "INSERT INTO tAngelegenheit (idAngelegenheit, flAuftragArt, dlAngelegenheitNr,"
            " dcAngelegenheit, dlGgwKenner, dbMehrfachAnlage) VALUES ($1, $2, $3, $4, $5, $6)",
            {n(m.id), n(m.kind), n(m.number), t(m.text), n(m.assessmentCode),
             n(m.severalOrders ? 1 : 0)});
    }
    for (const auto& [code, kind] : kAssessmentKinds) {
        write("INSERT INTO tGgwKennerArt (dlGgwKenner, diGgwArt) VALUES ($1, $2)",
              {n(code), n(kind)});
    }
}

void writeOrders(Writer& write) {
    for (const Order& o : kOrders) {
        const Matter& m = matter(o.matter);
        write(
            "INSERT INTO tAuftrag (idAuftrag, flMandant, flAuftragArt, dlAuftragArtNr,"
            " flAngelegenheit, dlAngelegenheitNr, dlJahr, diMonat, diLfdNr, dlObjektNr,"
            " dcAngelegenheitErweitert, dlAbrechnungsArt, flRechnung)"
            " VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, 0)",
            {n(o.id), n(o.client), n(m.kind), n(orderKind(m.kind).number), n(m.id), n(m.number),
             n(o.year), n(o.month), n(o.runningNumber), n(o.objectNumber), t(o.extendedText),
             n(o.billingKind)});
    }
    write(
        "INSERT INTO tRechnung (idRechnung, flAuftrag, dlRechnungNr, dtRechnungsDatum, dmBetrag)"
        " VALUES ($1, $2, $3, $4, $5)",
        {n(kInvoiceId), n(demo::kInvoicedOrder), n(2026001), day(2026, 1, 30),
         db::Currency{23800000}});
    write("UPDATE tAuftrag SET flRechnung = $1 WHERE idAuftrag = $2",
          {n(kInvoiceId), n(demo::kInvoicedOrder)});
}

void writeAssessments(Writer& write) {
    for (const Assessment& a : kAssessments) {
        write(
            "INSERT INTO tGgwBasis (idGgwBasis, flManId, dsKenner, dlJahr, diMonat, diLfdNr)"
            " VALUES ($1, $2, $3, $4, $5, $6)",
            {n(a.kind), n(a.client), t(a.code), n(a.year), n(a.month), n(a.objectNumber)});
        write("INSERT INTO tGgwBetrag (idGgwBetrag, flGgwBasis, dmBetrag) VALUES ($1, $2, 0)",
              {n(a.kind), n(a.kind)});
        if (a.kind == 1) {
            write(
                "INSERT INTO tGGWObjName (idGgwObjName, flGgwBetrag, dcBezeichnung)"
                " VALUES (1, $1, $2)",
                {n(a.kind), t(a.designation)});
        } else {
            write("INSERT INTO tGgwBgBetrag (idBgBetrag, flGgwBetrag) VALUES ($1, $2)",
                  {n(a.kind), n(a.kind)});
            write(
                "INSERT INTO tGGWGrundlage (idGgwGrundlage, flBgBetrag, dsKenner)"
                " VALUES ($1, $2, $3)",
                {n(a.kind), n(a.kind), t(a.designation)});
        }
    }
}

// Settings and global values an office has set already stay as they are.
void writeTextsAndSettings(Writer& write) {
    for (const StandardText& s : kStandardTexts) {
        write(
            "INSERT INTO tStdBuText (idStdBuText, dlNummer, dcText, flPs_Id, dlTextKategorie)"
            " VALUES ($1, $2, $3, $4, $5)",
            {n(s.id), n(s.number), t(s.text), n(s.office), n(s.category)});
    }
    for (const Setting& s : kSettings) {
        write(
            "INSERT INTO tBenutzerEinstellung (flMitarbeiter, dsSubKey, diKey, dcValue, diDataType)"
            " VALUES (0, $1, $2, $3, 3) ON CONFLICT (flMitarbeiter, dsSubKey, diKey) DO NOTHING",
            {t(s.subKey), n(s.key), t(s.value)});
    }
    write(
        "INSERT INTO tGlobaleWerte (dlNummer, dbWert, dcBeschreibung) VALUES ($1, 0, $2)"
        " ON CONFLICT (dlNummer) DO NOTHING",
        {n(31), t("Leistungen auf fakturierte Aufträge erfassen")});
}

// PostgreSQL does not move a key sequence past keys written explicitly.
void advanceSequences(db::Connection& connection, const std::vector<Claim>& all) {
    for (const Claim& claim : all) {
        if (claim.lowerTable == nullptr) {
            continue;
        }
        connection.query(std::string("SELECT setval(pg_get_serial_sequence('") + claim.lowerTable +
                         "', '" + claim.lowerKey + "'), (SELECT MAX(" + claim.column + ") FROM " +
                         claim.table + "))");
    }
}

}  // namespace

bool loadDemoData(db::Database& database) {
    migrate(database);
    const std::shared_ptr<db::Connection> connection = database.connection();
    const bool postgres = connection->backend() == db::Backend::Postgres;
    db::Transaction transaction(*connection);
    if (postgres) {
        // Two workstations loading at once: the second waits and then finds the demo office.
        connection->query("SELECT pg_advisory_xact_lock(4711003)");
    }
    if (demoOfficePresent(*connection)) {
        transaction.commit();
        return false;
    }
    const std::vector<Claim> all = claims();
    refuseWhenTaken(*connection, all);
    Writer write(*connection);
    writeMasterData(write);
    writeOrders(write);
    writeAssessments(write);
    writeTextsAndSettings(write);
    if (postgres) {
        advanceSequences(*connection, all);
    }
    transaction.commit();
    return true;
}

}  // namespace orv::office
