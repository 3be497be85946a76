// The database layer against its floor: one single-row Execute, one procedure call and reading
// 10,000 rows of the order-and-entry view, each through DbService/DbProcedure ("Layer") and
// directly on sqlite3 or libpq ("Floor"), in the same run.

#include "BenchDatabases.h"
#include "BenchMain.h"

#include "persistence/DbProcedure.h"
#include "persistence/DbService.h"
#include "persistence/SqlDateText.h"
#include "persistence/driver/Connection.h"

#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <charconv>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <vector>

namespace orv::bench {
namespace {

using db::Backend;

constexpr int kEmployee = 4711;
constexpr int kOrders = 2000;
constexpr int kEntriesPerOrder = 4;  // 2,000 order rows + 8,000 entry rows

const char* const kViewSql =
    "SELECT * FROM V_ORV_Common_Korg_Leistungen_Zeiterfassung WHERE ps_id = 4711"
    " ORDER BY VorgangParentId ASC";

// The values a loaded order or entry keeps, in the types of the objects' fields.
struct ViewRow {
    std::int32_t parentId = 0, id = 0, auftragId = 0, mandantId = 0, mandantNr = 0, artNr = 0,
                 angId = 0, angNr = 0, jahr = 0, monat = 0, lfdNr = 0, objektNr = 0, sekunden = 0,
                 status = 0, ggwKenner = 0;
    QString key, mandant, art, ang, angErw, text1, text2, parentKey;
    QDateTime beginn, ende;
};

// Column order of the reads below; the floor looks the positions up once per query.
const std::vector<const char*> kColumns = {"vorgangparentid",
                                           "idleistungzeiterfassung",
                                           "idauftrag",
                                           "flmandant",
                                           "ps_nr",
                                           "dlauftragartnr",
                                           "dlangelegenheit",
                                           "dlangelegenheitnr",
                                           "dljahr",
                                           "dimonat",
                                           "dilfdnr",
                                           "dlobjektnr",
                                           "sekunden",
                                           "status",
                                           "ang_ggwkenner",
                                           "vorgangkey",
                                           "ps_kurzname",
                                           "dcauftragart",
                                           "dcangelegenheit",
                                           "dcangelegenheiterweitert",
                                           "text1",
                                           "text2",
                                           "vorgangparentkey",
                                           "beginn",
                                           "ende"};

void readThroughLayer(db::DbService& s, ViewRow& r) {
    r.parentId = s.FieldLong("VorgangParentId");
    r.id = s.FieldLong("idLeistungZeitErfassung");
    r.auftragId = s.FieldLong("idAuftrag");
    r.mandantId = s.FieldLong("flMandant");
    r.mandantNr = s.FieldLong("Ps_nr");
    r.artNr = s.FieldLong("dlAuftragArtNr");
    r.angId = s.FieldLong("dlAngelegenheit");
    r.angNr = s.FieldLong("dlAngelegenheitNr");
    r.jahr = s.FieldLong("dlJahr");
    r.monat = s.FieldLong("diMonat");
    r.lfdNr = s.FieldLong("diLfdNr");
    r.objektNr = s.FieldLong("dlObjektNr");
    r.sekunden = s.FieldLong("Sekunden");
    r.status = s.FieldLong("Status");
    r.ggwKenner = s.FieldLong("Ang_GGWKenner");
    r.key = s.FieldText("VorgangKey");
    r.mandant = s.FieldText("Ps_Kurzname");
    r.art = s.FieldText("dcAuftragArt");
    r.ang = s.FieldText("dcAngelegenheit");
    r.angErw = s.FieldText("dcAngelegenheitErweitert");
    r.text1 = s.FieldText("Text1");
    r.text2 = s.FieldText("Text2");
    r.parentKey = s.FieldText("VorgangParentKey");
    r.beginn = s.FieldDate("Beginn");
    r.ende = s.FieldDate("Ende");
}

template <typename Get>
void fillRow(ViewRow& r, Get&& get) {
    std::int32_t* ints[] = {&r.parentId, &r.id,       &r.auftragId, &r.mandantId, &r.mandantNr,
                            &r.artNr,    &r.angId,    &r.angNr,     &r.jahr,      &r.monat,
                            &r.lfdNr,    &r.objektNr, &r.sekunden,  &r.status,    &r.ggwKenner};
    QString* texts[] = {&r.key,    &r.mandant, &r.art,   &r.ang,
                        &r.angErw, &r.text1,   &r.text2, &r.parentKey};
    int i = 0;
    for (std::int32_t* v : ints) {
        *v = get.integer(i++);
    }
    for (QString* v : texts) {
        *v = get.text(i++);
    }
    r.beginn = get.date(i++);
    r.ende = get.date(i++);
}

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what);
}

// ---- data ---------------------------------------------------------------------------------

struct Fixture {
    std::unique_ptr<BenchDatabase> database;
    int firstRowId = 0;
};

// Filled on first use, emptied before main returns: dropping a server schema needs Qt alive.
std::map<Backend, Fixture>& fixtures() {
    static std::map<Backend, Fixture> all;
    return all;
}

Fixture& fixture(Backend backend) {
    Fixture& f = fixtures()[backend];
    if (f.database != nullptr) {
        return f;
    }
    f.database = BenchDatabase::createDemoOffice(backend);
    if (f.database == nullptr) {
        return f;
    }
    db::Database& d = f.database->database();
    auto c = d.connection();
    std::vector<std::int64_t> auftraege;
    {
        auto rows = c->query("SELECT idAuftrag FROM tAuftrag ORDER BY idAuftrag");
        while (rows->next()) {
            auftraege.push_back(rows->toInt64(0));
        }
    }
    db::Transaction t(*c);
    const QDateTime start(QDate(2026, 11, 2), QTime(8, 0, 0));
    for (int o = 0; o < kOrders; ++o) {
        const std::int64_t auftrag = auftraege[static_cast<std::size_t>(o) % auftraege.size()];
        auto inserted = c->query(
            "INSERT INTO tLeistungZeiterfassung (ps_id, idAuftrag, VorgangKey, VorgangParentId,"
            " Status, Beginn, Text1, Text2, Sekunden, BearbeitungsArt, VerwaltungsLeistung,"
            " VerwaltungsLeistungHerkunft) VALUES ($1, $2, 'a0', 0, 1, $3, $4, '', $5, 0, 0, 0)"
            " RETURNING idLeistungZeiterfassung",
            db::Params{std::int64_t{kEmployee}, auftrag, start.addSecs(o),
                       QStringLiteral("Beratung zur Jahresplanung %1").arg(o), std::int64_t{3600}});
        inserted->next();
        const std::int64_t orderId = inserted->toInt64(0);
        if (f.firstRowId == 0) {
            f.firstRowId = static_cast<int>(orderId);
        }
        const std::string key = "a" + std::to_string(orderId);
        c->execute(
            "UPDATE tLeistungZeiterfassung SET VorgangKey = $1 WHERE idLeistungZeiterfassung = $2",
            db::Params{QString::fromStdString(key), orderId});
        for (int e = 0; e < kEntriesPerOrder; ++e) {
            c->execute(
                "INSERT INTO tLeistungZeiterfassung (ps_id, idAuftrag, VorgangParentId,"
                " VorgangParentKey, Status, Beginn, Ende, Text1, Text2, Sekunden, BearbeitungsArt,"
                " VerwaltungsLeistung, VerwaltungsLeistungHerkunft)"
                " VALUES ($1, $2, $3, $4, 2, $5, $6, '', $7, 900, 0, 0, 0)",
                db::Params{std::int64_t{kEmployee}, auftrag, orderId, QString::fromStdString(key),
                           start.addSecs(o * 60 + e), start.addSecs(o * 60 + e + 900),
                           QStringLiteral("Telefonat mit Frau Müller")});
        }
    }
    t.commit();
    // Both readers then find the rows in the database file, not in a long write-ahead log.
    c->executeScript(backend == Backend::Postgres ? "ANALYZE" : "PRAGMA wal_checkpoint(TRUNCATE)");
    return f;
}

bool skipWithoutServer(benchmark::State& state, Fixture& f) {
    if (f.database == nullptr) {
        state.SkipWithError("ORV_BENCH_PG/ORV_TEST_PG nicht gesetzt");
        return true;
    }
    return false;
}

std::string updateStatusSql(int rowId) {
    return "UPDATE tLeistungZeiterfassung SET Status = 1 WHERE idLeistungZeiterfassung = " +
           std::to_string(rowId);
}

// ---- direct access on the C libraries -----------------------------------------------------

struct Sqlite {
    sqlite3* db = nullptr;
    explicit Sqlite(const std::string& path) {
        if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
            fail("sqlite3_open");
        }
        sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr,
                     nullptr);
    }
    ~Sqlite() { sqlite3_close(db); }
    sqlite3_stmt* prepare(const std::string& sql) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) != SQLITE_OK) {
            fail(sqlite3_errmsg(db));
        }
        return s;
    }
};

struct Pg {
    PGconn* conn = nullptr;
    explicit Pg(const std::string& conninfo) {
        conn = PQconnectdb(conninfo.c_str());
        if (PQstatus(conn) != CONNECTION_OK) {
            fail(PQerrorMessage(conn));
        }
        PQclear(PQexec(conn, "SET datestyle TO ISO, YMD"));
    }
    ~Pg() { PQfinish(conn); }
    void check(PGresult* r) {
        const auto status = PQresultStatus(r);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
            fail(PQresultErrorMessage(r));
        }
    }
};

// ---- single-row Execute -------------------------------------------------------------------

void ExecuteLayer(benchmark::State& state, Backend backend) {
    Fixture& f = fixture(backend);
    if (skipWithoutServer(state, f)) {
        return;
    }
    const QString sql = QString::fromStdString(updateStatusSql(f.firstRowId));
    for (auto _ : state) {
        db::DbService s(f.database->database());
        s.Open();
        benchmark::DoNotOptimize(s.Execute(sql));
        s.Close();
    }
}

void ExecuteFloor(benchmark::State& state, Backend backend) {
    Fixture& f = fixture(backend);
    if (skipWithoutServer(state, f)) {
        return;
    }
    const std::string sql = updateStatusSql(f.firstRowId);
    if (backend == Backend::Sqlite) {
        Sqlite lite(f.database->sqlitePath());
        sqlite3_stmt* stmt = lite.prepare(sql);
        for (auto _ : state) {
            if (sqlite3_step(stmt) != SQLITE_DONE) {
                fail("step");
            }
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
    } else {
        Pg pg(f.database->conninfo());
        for (auto _ : state) {
            PGresult* r = PQexec(pg.conn, sql.c_str());
            pg.check(r);
            PQclear(r);
        }
    }
}

// ---- one procedure call (the order's save) ------------------------------------------------

void ProcedureLayer(benchmark::State& state, Backend backend) {
    Fixture& f = fixture(backend);
    if (skipWithoutServer(state, f)) {
        return;
    }
    const QDateTime beginn(QDate(2026, 11, 2), QTime(8, 0, 0));
    std::int32_t seconds = 0;
    for (auto _ : state) {
        db::DbProcedure p(f.database->database());
        if (p.Prepare(QStringLiteral("dbo.S_ORV_Common_Korg_Update_Zeiterfassung"), 0)) {
            db::ParameterValues values = p.GetParameterValues();
            values.setNull(5);
            p.SetParameterValues(values);
            p.AddLong("@VorgangID", f.firstRowId);
            p.AddLong("@Status", 1);
            p.AddLong("@AuftragID", 0);
            p.AddDate("@Beginn", beginn);
            p.AddText("@Text1", QStringLiteral("Beratung zur Jahresplanung"));
            p.AddText("@Text2", QString());
            p.AddLong("@Sekunden", ++seconds);
            p.AddLong("@BearbeitungsArt", 0);
            p.AddLong("@VerwaltungsLeistung", 0);
            p.AddLong("@VerwaltungsLeistungHerkunft", 0);
            benchmark::DoNotOptimize(p.Execute(0));
        }
        p.Close();
    }
}

const char* const kUpdateSql =
    "UPDATE tLeistungZeiterfassung SET Status = $1, idAuftrag = $2, Beginn = $3, Ende = $4,"
    " Text1 = $5, Text2 = $6, Sekunden = $7, BearbeitungsArt = $8, VerwaltungsLeistung = $9,"
    " VerwaltungsLeistungHerkunft = $10 WHERE idLeistungZeiterfassung = $11";

void ProcedureFloor(benchmark::State& state, Backend backend) {
    Fixture& f = fixture(backend);
    if (skipWithoutServer(state, f)) {
        return;
    }
    const std::string beginn = "2026-11-02 08:00:00";
    const std::string text1 = "Beratung zur Jahresplanung";
    const std::string id = std::to_string(f.firstRowId);
    int seconds = 0;
    if (backend == Backend::Sqlite) {
        Sqlite lite(f.database->sqlitePath());
        sqlite3_stmt* stmt = lite.prepare(kUpdateSql);
        for (auto _ : state) {
            sqlite3_bind_int(stmt, 1, 1);
            sqlite3_bind_int(stmt, 2, 0);
            sqlite3_bind_text(stmt, 3, beginn.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_null(stmt, 4);
            sqlite3_bind_text(stmt, 5, text1.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(stmt, 6, "", 0, SQLITE_TRANSIENT);
            sqlite3_bind_int(stmt, 7, ++seconds);
            sqlite3_bind_int(stmt, 8, 0);
            sqlite3_bind_int(stmt, 9, 0);
            sqlite3_bind_int(stmt, 10, 0);
            sqlite3_bind_int(stmt, 11, f.firstRowId);
            if (sqlite3_step(stmt) != SQLITE_DONE) {
                fail("step");
            }
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
    } else {
        Pg pg(f.database->conninfo());
        PGresult* prepared = PQprepare(pg.conn, "floor_update", kUpdateSql, 11, nullptr);
        pg.check(prepared);
        PQclear(prepared);
        for (auto _ : state) {
            const std::string sec = std::to_string(++seconds);
            const char* values[11] = {"1",           "0", beginn.c_str(), nullptr,
                                      text1.c_str(), "",  sec.c_str(),    "0",
                                      "0",           "0", id.c_str()};
            PGresult* r = PQexecPrepared(pg.conn, "floor_update", 11, values, nullptr, nullptr, 0);
            pg.check(r);
            PQclear(r);
        }
    }
}

// ---- 10,000 rows of the view --------------------------------------------------------------

void ReadViewLayer(benchmark::State& state, Backend backend) {
    Fixture& f = fixture(backend);
    if (skipWithoutServer(state, f)) {
        return;
    }
    const QString sql = QString::fromLatin1(kViewSql);
    std::vector<ViewRow> rows;
    for (auto _ : state) {
        rows.clear();
        db::DbService s(f.database->database());
        s.Open();
        if (s.OpenQuery(sql, 0, QString()) > 0) {
            do {
                readThroughLayer(s, rows.emplace_back());
            } while (s.Move(3));
        }
        s.Close();
    }
    if (rows.size() != kOrders * (1 + kEntriesPerOrder)) {
        state.SkipWithError("falsche Zeilenzahl");
    }
    state.counters["Zeilen"] = static_cast<double>(rows.size());
}

void ReadViewFloor(benchmark::State& state, Backend backend) {
    Fixture& f = fixture(backend);
    if (skipWithoutServer(state, f)) {
        return;
    }
    std::vector<ViewRow> rows;
    if (backend == Backend::Sqlite) {
        Sqlite lite(f.database->sqlitePath());
        sqlite3_stmt* stmt = lite.prepare(kViewSql);
        std::vector<int> pos(kColumns.size());
        for (std::size_t i = 0; i < kColumns.size(); ++i) {
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                if (sqlite3_stricmp(sqlite3_column_name(stmt, c), kColumns[i]) == 0) {
                    pos[i] = c;
                    break;
                }
            }
        }
        struct Get {
            sqlite3_stmt* s;
            const std::vector<int>& pos;
            std::int32_t integer(int i) const { return sqlite3_column_int(s, pos[i]); }
            QString text(int i) const {
                const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(s, pos[i]));
                return t ? QString::fromUtf8(t, sqlite3_column_bytes(s, pos[i])) : QString();
            }
            QDateTime date(int i) const {
                const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(s, pos[i]));
                return t ? db::parseSqlDate(
                               {t, static_cast<std::size_t>(sqlite3_column_bytes(s, pos[i]))})
                         : QDateTime();
            }
        };
        for (auto _ : state) {
            rows.clear();
            const Get get{stmt, pos};
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                fillRow(rows.emplace_back(), get);
            }
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
    } else {
        Pg pg(f.database->conninfo());
        for (auto _ : state) {
            rows.clear();
            PGresult* r = PQexec(pg.conn, kViewSql);
            pg.check(r);
            std::vector<int> pos(kColumns.size());
            for (std::size_t i = 0; i < kColumns.size(); ++i) {
                pos[i] = PQfnumber(r, kColumns[i]);
            }
            struct Get {
                PGresult* r;
                int row;
                const std::vector<int>& pos;
                std::int32_t integer(int i) const {
                    if (PQgetisnull(r, row, pos[i])) {
                        return 0;
                    }
                    const char* t = PQgetvalue(r, row, pos[i]);
                    std::int32_t v = 0;
                    std::from_chars(t, t + PQgetlength(r, row, pos[i]), v);
                    return v;
                }
                QString text(int i) const {
                    return QString::fromUtf8(PQgetvalue(r, row, pos[i]),
                                             PQgetlength(r, row, pos[i]));
                }
                QDateTime date(int i) const {
                    if (PQgetisnull(r, row, pos[i])) {
                        return {};
                    }
                    return db::parseSqlDate(
                        {PQgetvalue(r, row, pos[i]),
                         static_cast<std::size_t>(PQgetlength(r, row, pos[i]))});
                }
            };
            const int n = PQntuples(r);
            for (int row = 0; row < n; ++row) {
                fillRow(rows.emplace_back(), Get{r, row, pos});
            }
            PQclear(r);
        }
    }
    if (rows.size() != kOrders * (1 + kEntriesPerOrder)) {
        state.SkipWithError("falsche Zeilenzahl");
    }
    state.counters["Zeilen"] = static_cast<double>(rows.size());
}

void registerAll() {
    for (Backend backend : {Backend::Sqlite, Backend::Postgres}) {
        const std::string b = backend == Backend::Sqlite ? "SQLite" : "PostgreSQL";
        benchmark::RegisterBenchmark(("Execute1Zeile/" + b + "/Layer").c_str(), ExecuteLayer,
                                     backend)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Execute1Zeile/" + b + "/Floor").c_str(), ExecuteFloor,
                                     backend)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Prozeduraufruf/" + b + "/Layer").c_str(), ProcedureLayer,
                                     backend)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Prozeduraufruf/" + b + "/Floor").c_str(), ProcedureFloor,
                                     backend)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Sicht10000Zeilen/" + b + "/Layer").c_str(), ReadViewLayer,
                                     backend)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Sicht10000Zeilen/" + b + "/Floor").c_str(), ReadViewFloor,
                                     backend)
            ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace
}  // namespace orv::bench

int main(int argc, char** argv) {
    return orv::bench::runBenchmarks(argc, argv, orv::bench::registerAll,
                                     orv::bench::Report::WithRatios,
                                     [] { orv::bench::fixtures().clear(); });
}
