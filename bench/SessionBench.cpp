// The session against its floor: switching the running stopwatch, a clock tick and the tick
// that saves, and Starten, each through CStoppUhren ("Layer") and as the same statements issued
// directly on sqlite3 or libpq ("Floor"), in the same run.

#include "BenchDatabases.h"
#include "BenchMain.h"
#include "BenchOffice.h"

#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "office/demo/DemoData.h"
#include "office/host/OfficePlatformFactory.h"
#include "persistence/driver/Connection.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/Timer.h"
#include "platform/TraceLogger.h"
#include "platform/Windows.h"
#include "session/CStoppUhren.h"
#include "session/EmployeeSwitch.h"
#include "session/ObjectDescriptionBatch.h"

#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orv::bench {
namespace {

using db::Backend;

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what);
}

std::string number(std::int64_t n) {
    return std::to_string(n);
}

// Appended rather than concatenated: GCC 12 warns falsely about "x" + std::string.
std::string prefixed(char prefix, const std::string& rest) {
    std::string s(1, prefix);
    s += rest;
    return s;
}

// A started session over the database, with its two first orders to switch between.
struct RunningSession {
    BenchPlatform platform;
    CStoppUhren session;
    QString keys[2];

    explicit RunningSession(BenchDatabase& d) : platform(d.database()), session(platform) {
        std::int32_t employee = kEmployee;
        if (!session.Starten(employee)) {
            fail("Starten");
        }
        int n = 0;
        for (const auto& auftrag : session.Auftraege()) {
            if (!auftrag->Leerlauf() && n < 2) {
                keys[n++] = auftrag->Key();
            }
        }
        if (n < 2) {
            fail("zu wenige Aufträge");
        }
    }
    void switchTo(const QString& target) {
        QString key = target;
        if (!stoppuhrWechseln(session, key)) {
            fail("AuftragStarten");
        }
    }
    void tick() {
        platform.benchClock().advance(1);
        session.TimerTick();
    }
    int statements() { return platform.officeDatabase().faults().statementsSeen(); }
};

// ---- direct access on the C libraries -----------------------------------------------------

const char* const kUpdateSql =
    "UPDATE tLeistungZeiterfassung SET Status = $1, idAuftrag = $2, Beginn = $3, Ende = $4,"
    " Text1 = $5, Text2 = $6, Sekunden = $7, BearbeitungsArt = $8, VerwaltungsLeistung = $9,"
    " VerwaltungsLeistungHerkunft = $10 WHERE idLeistungZeiterfassung = $11";
const char* const kInsertSql =
    "INSERT INTO tLeistungZeiterfassung (ps_id, idAuftrag, VorgangKey, VorgangParentId,"
    " VorgangParentKey, Status, Beginn, Ende, Text1, Text2, Sekunden, BearbeitungsArt,"
    " VerwaltungsLeistung, VerwaltungsLeistungHerkunft)"
    " VALUES ($1, $2, NULL, $3, $4, 1, $5, NULL, '', '', 0, 0, 0, 0)"
    " RETURNING idLeistungZeiterfassung";
const char* const kInsertTextSql =
    "INSERT INTO tLeistungZeiterfassungTexte (flLeistungZeiterfassung,"
    " LeistungZeiterfassungText) SELECT idLeistungZeiterfassung, $2 FROM tLeistungZeiterfassung"
    " WHERE idLeistungZeiterfassung = $1 RETURNING idLeistungZeiterfassungTexte";
const char* const kStatusSql =
    "UPDATE tLeistungZeiterfassung SET Status = $1 WHERE idLeistungZeiterfassung = $2";

// One statement prepared once and run with text parameters, on either library.
class Direct {
public:
    explicit Direct(BenchDatabase& d) {
        if (d.target().backend == Backend::Sqlite) {
            if (sqlite3_open(d.sqlitePath().c_str(), &lite_) != SQLITE_OK) {
                fail("sqlite3_open");
            }
            // The component's settings: the database does the same work for both, cascades and
            // reference checks included.
            sqlite3_exec(lite_,
                         "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"
                         " PRAGMA foreign_keys=ON;",
                         nullptr, nullptr, nullptr);
        } else {
            pg_ = PQconnectdb(d.conninfo().c_str());
            if (PQstatus(pg_) != CONNECTION_OK) {
                fail(PQerrorMessage(pg_));
            }
            PQclear(PQexec(pg_, "SET datestyle TO ISO, YMD"));
        }
    }
    ~Direct() {
        for (sqlite3_stmt* s : statements_) {
            sqlite3_finalize(s);
        }
        if (lite_ != nullptr) {
            sqlite3_close(lite_);
        }
        if (pg_ != nullptr) {
            PQfinish(pg_);
        }
    }

    int prepare(const char* sql, int params) {
        const int n = prepared_++;
        if (lite_ != nullptr) {
            sqlite3_stmt* s = nullptr;
            if (sqlite3_prepare_v2(lite_, sql, -1, &s, nullptr) != SQLITE_OK) {
                fail(sqlite3_errmsg(lite_));
            }
            statements_.push_back(s);
            // SQLite numbers "$n" by first appearance, not by n: "... $2 ... $1" binds the
            // first value to $2. Looked up once, as libpq's positions are fixed.
            std::vector<int> positions;
            for (int i = 1; i <= params; ++i) {
                const std::string name = prefixed('$', std::to_string(i));
                const int index = sqlite3_bind_parameter_index(s, name.c_str());
                if (index == 0) {
                    fail(name + " fehlt in " + sql);
                }
                positions.push_back(index);
            }
            positions_.push_back(std::move(positions));
        } else {
            const std::string name = prefixed('s', std::to_string(n));
            PGresult* r = PQprepare(pg_, name.c_str(), sql, params, nullptr);
            check(r);
            PQclear(r);
        }
        return n;
    }

    // A transaction as the component opens one: SQLite takes its write lock at the begin, and
    // a transaction begun inside another joins it.
    void begin() {
        if (depth_++ == 0) {
            execute(lite_ != nullptr ? "BEGIN IMMEDIATE" : "BEGIN");
        }
    }
    void commit() {
        if (--depth_ == 0) {
            execute("COMMIT");
        }
    }

    // Runs the statement; the first column of its first row, or 0.
    std::int64_t run(int n, std::initializer_list<const char*> values) {
        std::int64_t first = 0;
        if (lite_ != nullptr) {
            sqlite3_stmt* s = statements_[static_cast<std::size_t>(n)];
            const std::vector<int>& positions = positions_[static_cast<std::size_t>(n)];
            std::size_t i = 0;
            for (const char* v : values) {
                if (v == nullptr) {
                    sqlite3_bind_null(s, positions[i++]);
                } else {
                    sqlite3_bind_text(s, positions[i++], v, -1, SQLITE_STATIC);
                }
            }
            int rc = sqlite3_step(s);
            if (rc == SQLITE_ROW) {
                first = sqlite3_column_int64(s, 0);
                rc = sqlite3_step(s);
            }
            if (rc != SQLITE_DONE) {
                fail(sqlite3_errmsg(lite_));
            }
            const bool wroteNothing = sqlite3_stmt_readonly(s) == 0 && sqlite3_changes(lite_) == 0;
            sqlite3_reset(s);
            if (wroteNothing) {
                fail(std::string("Keine Zeile geschrieben: ") + sqlite3_sql(s));
            }
        } else {
            const std::string name = prefixed('s', std::to_string(n));
            std::vector<const char*> v(values);
            PGresult* r = PQexecPrepared(pg_, name.c_str(), static_cast<int>(v.size()), v.data(),
                                         nullptr, nullptr, 0);
            check(r);
            // A floor that writes nothing would be cheaper than the work it stands for.
            const bool wroteNothing = !std::string_view(PQcmdStatus(r)).starts_with("SELECT") &&
                                      std::string_view(PQcmdTuples(r)) == "0";
            if (PQntuples(r) > 0) {
                first = std::strtoll(PQgetvalue(r, 0, 0), nullptr, 10);
            }
            PQclear(r);
            if (wroteNothing) {
                fail("Keine Zeile geschrieben: " + name);
            }
        }
        return first;
    }

    // Reads every column of every row as the loader does, as text.
    std::size_t read(const std::string& sql) {
        std::size_t cells = 0;
        if (lite_ != nullptr) {
            sqlite3_stmt* s = nullptr;
            if (sqlite3_prepare_v2(lite_, sql.c_str(), -1, &s, nullptr) != SQLITE_OK) {
                fail(sqlite3_errmsg(lite_));
            }
            const int columns = sqlite3_column_count(s);
            while (sqlite3_step(s) == SQLITE_ROW) {
                for (int c = 0; c < columns; ++c) {
                    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
                    benchmark::DoNotOptimize(
                        QString::fromUtf8(t, t != nullptr ? sqlite3_column_bytes(s, c) : 0));
                    ++cells;
                }
            }
            sqlite3_finalize(s);
        } else {
            PGresult* r = PQexec(pg_, sql.c_str());
            check(r);
            const int rows = PQntuples(r);
            const int columns = PQnfields(r);
            for (int row = 0; row < rows; ++row) {
                for (int c = 0; c < columns; ++c) {
                    benchmark::DoNotOptimize(
                        QString::fromUtf8(PQgetvalue(r, row, c), PQgetlength(r, row, c)));
                    ++cells;
                }
            }
            PQclear(r);
        }
        return cells;
    }

    void execute(const char* sql) {
        if (lite_ != nullptr) {
            if (sqlite3_exec(lite_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
                fail(sqlite3_errmsg(lite_));
            }
        } else {
            PGresult* r = PQexec(pg_, sql);
            check(r);
            PQclear(r);
        }
    }

private:
    void check(PGresult* r) {
        const auto status = PQresultStatus(r);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
            const std::string message = PQresultErrorMessage(r);
            PQclear(r);
            fail(message);
        }
    }

    sqlite3* lite_ = nullptr;
    PGconn* pg_ = nullptr;
    std::vector<sqlite3_stmt*> statements_;
    std::vector<std::vector<int>> positions_;  // per statement: SQLite's index of $1, $2, ...
    int prepared_ = 0;
    int depth_ = 0;
};

// ---- switching the running stopwatch ------------------------------------------------------

constexpr int kTicksBetweenSwitches = 3;

void SwitchLayer(benchmark::State& state, Backend backend, int rows) {
    BenchDatabase* d = load(backend, rows / 2, 1, 0);
    if (skipWithoutServer(state, d)) {
        return;
    }
    RunningSession s(*d);
    s.switchTo(s.keys[0]);
    int next = 1;
    int statements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < kTicksBetweenSwitches; ++i) {
            s.tick();
        }
        const int before = s.statements();
        state.ResumeTiming();
        s.switchTo(s.keys[next]);
        next = 1 - next;
        statements = s.statements() - before;
    }
    state.counters["Anweisungen"] = statements;
}

// What a switch writes: the stopped order, its entry and the entry's new default line in one
// transaction, then in another a new entry row for the started order and the started order's
// and entry's status.
void SwitchFloor(benchmark::State& state, Backend backend, int rows) {
    BenchDatabase* d = load(backend, rows / 2, 1, 0);
    if (skipWithoutServer(state, d)) {
        return;
    }
    Direct direct(*d);
    const int update = direct.prepare(kUpdateSql, 11);
    const int insert = direct.prepare(kInsertSql, 5);
    const int status = direct.prepare(kStatusSql, 2);
    const int insertText = direct.prepare(kInsertTextSql, 2);
    std::vector<std::int64_t> orders;
    {
        auto c = d->database().connection();
        auto r = c->query(
            "SELECT idLeistungZeiterfassung FROM tLeistungZeiterfassung WHERE ps_id = $1 AND"
            " VorgangParentKey IS NULL ORDER BY idLeistungZeiterfassung LIMIT 2",
            db::Params{std::int64_t{kEmployee}});
        while (r->next()) {
            orders.push_back(r->toInt64(0));
        }
    }
    const std::string employee = number(kEmployee);
    const std::string beginn = "2026-03-16 08:00:00";
    const std::string ende = "2026-03-16 08:00:03";
    const std::string text1 = "Beratung zur Jahresplanung";
    std::int64_t runningEntry =
        direct.run(insert, {employee.c_str(), "0", number(orders[0]).c_str(),
                            prefixed('a', number(orders[0])).c_str(), beginn.c_str()});
    int next = 1;
    int seconds = 0;
    for (auto _ : state) {
        const std::string stopped = number(orders[static_cast<std::size_t>(1 - next)]);
        const std::string started = number(orders[static_cast<std::size_t>(next)]);
        const std::string entry = number(runningEntry);
        const std::string sec = number(seconds += kTicksBetweenSwitches);
        direct.begin();
        direct.run(update, {"0", "0", beginn.c_str(), nullptr, text1.c_str(), "", sec.c_str(), "0",
                            "0", "0", stopped.c_str()});
        direct.run(update, {"2", "0", beginn.c_str(), ende.c_str(), "", "", "3", "0", "0", "0",
                            entry.c_str()});
        direct.run(insertText, {entry.c_str(), text1.c_str()});
        direct.commit();
        direct.begin();
        runningEntry = direct.run(insert, {employee.c_str(), "0", started.c_str(),
                                           prefixed('a', started).c_str(), beginn.c_str()});
        const std::string newEntry = number(runningEntry);
        direct.run(status, {"1", started.c_str()});
        direct.run(status, {"1", newEntry.c_str()});
        direct.commit();
        next = 1 - next;
    }
    state.counters["Anweisungen"] = 10;
}

// ---- clock ticks --------------------------------------------------------------------------

using Clock = std::chrono::steady_clock;

double secondsOf(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

// A tick that only counts; a tick that happens to save is taken again.
void Tick(benchmark::State& state, Backend backend) {
    BenchDatabase* d = load(backend, 50, 1, 0);
    if (skipWithoutServer(state, d)) {
        return;
    }
    RunningSession s(*d);
    s.switchTo(s.keys[0]);
    for (auto _ : state) {
        for (;;) {
            const int before = s.statements();
            s.platform.benchClock().advance(1);
            const auto t0 = Clock::now();
            s.session.TimerTick();
            const auto t1 = Clock::now();
            if (s.statements() == before) {
                state.SetIterationTime(secondsOf(t0, t1));
                break;
            }
        }
    }
}

// The 60th tick, which saves the running order and its entry.
void SavingTickLayer(benchmark::State& state, Backend backend) {
    BenchDatabase* d = load(backend, 50, 1, 0);
    if (skipWithoutServer(state, d)) {
        return;
    }
    RunningSession s(*d);
    s.switchTo(s.keys[0]);
    int statements = 0;
    for (auto _ : state) {
        for (;;) {
            const int before = s.statements();
            s.platform.benchClock().advance(1);
            const auto t0 = Clock::now();
            s.session.TimerTick();
            const auto t1 = Clock::now();
            if (s.statements() != before) {
                statements = s.statements() - before;
                state.SetIterationTime(secondsOf(t0, t1));
                break;
            }
        }
    }
    state.counters["Anweisungen"] = statements;
}

void SavingTickFloor(benchmark::State& state, Backend backend) {
    BenchDatabase* d = load(backend, 50, 1, 0);
    if (skipWithoutServer(state, d)) {
        return;
    }
    Direct direct(*d);
    const int update = direct.prepare(kUpdateSql, 11);
    const int insert = direct.prepare(kInsertSql, 5);
    // The rows the session writes: the first order's and the entry its start has just added at
    // the end of the table.
    std::int64_t order = 0;
    {
        auto c = d->database().connection();
        auto r = c->query(
            "SELECT idLeistungZeiterfassung FROM tLeistungZeiterfassung WHERE ps_id = $1 AND"
            " VorgangParentKey IS NULL AND idAuftrag > 0 ORDER BY idLeistungZeiterfassung LIMIT 1",
            db::Params{std::int64_t{kEmployee}});
        r->next();
        order = r->toInt64(0);
    }
    const std::string employee = number(kEmployee);
    const std::int64_t entry =
        direct.run(insert, {employee.c_str(), "0", number(order).c_str(),
                            prefixed('a', number(order)).c_str(), "2026-03-16 08:00:00"});
    const std::string orderId = number(order);
    const std::string entryId = number(entry);
    const std::string beginn = "2026-03-16 08:00:00";
    const std::string text1 = "Beratung zur Jahresplanung";
    int seconds = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const std::string sec = number(seconds += 60);
        direct.begin();
        direct.run(update, {"1", "0", beginn.c_str(), nullptr, text1.c_str(), "", sec.c_str(), "0",
                            "0", "0", orderId.c_str()});
        direct.run(update, {"1", "0", beginn.c_str(), nullptr, "", "", sec.c_str(), "0", "0", "0",
                            entryId.c_str()});
        direct.commit();
        state.SetIterationTime(secondsOf(t0, Clock::now()));
    }
    state.counters["Anweisungen"] = 4;
}

// ---- Starten ------------------------------------------------------------------------------

// Rows of tLeistungZeiterfassung: a quarter orders, the rest entries with one text line each.
BenchDatabase* loadForStart(Backend backend, int rows) {
    return load(backend, rows / 4, 3, 1, 60, Reuse::Rows);
}

void StartLayer(benchmark::State& state, Backend backend, int rows) {
    BenchDatabase* d = loadForStart(backend, rows);
    if (skipWithoutServer(state, d)) {
        return;
    }
    std::size_t loaded = 0;
    int statements = 0;
    for (auto _ : state) {
        BenchPlatform platform(d->database());
        auto session = std::make_unique<CStoppUhren>(platform);
        std::int32_t employee = kEmployee;
        const int before = platform.officeDatabase().faults().statementsSeen();
        const auto t0 = Clock::now();
        if (!session->Starten(employee)) {
            fail("Starten");
        }
        const auto t1 = Clock::now();
        statements = platform.officeDatabase().faults().statementsSeen() - before;
        state.SetIterationTime(secondsOf(t0, t1));
        loaded = session->Auftraege().Count();
        session.reset();
    }
    state.counters["Auftraege"] = static_cast<double>(loaded);
    state.counters["Anweisungen"] = statements;
}

// The loader's own statements: the two clean-ups, the orders and entries, the designations of
// the assessment orders among them, the text lines.
void StartFloor(benchmark::State& state, Backend backend, int rows) {
    BenchDatabase* d = loadForStart(backend, rows);
    if (skipWithoutServer(state, d)) {
        return;
    }
    Direct direct(*d);
    const std::string employee = number(kEmployee);
    const std::string view =
        "SELECT * FROM V_ORV_Common_Korg_Leistungen_Zeiterfassung WHERE ps_id = " + employee +
        " ORDER BY VorgangParentId ASC";
    const std::string texts =
        "SELECT * FROM V_ORV_Common_Korg_Leistungen_Zeiterfassung_Texte"
        " WHERE ps_id = " +
        employee + " and vorgangparentid > 0";
    const auto forEmployee = [&](const QString& sql) {
        std::string text = sql.toStdString();
        text.replace(text.find("$1"), 2, employee);
        return text;
    };
    const std::string objNames = forEmployee(ObjectDescriptionBatch::objNameQuery());
    const std::string grundlagen = forEmployee(ObjectDescriptionBatch::grundlageQuery());
    for (auto _ : state) {
        const auto t0 = Clock::now();
        direct.execute(
            "UPDATE tLeistungZeiterfassung SET idAuftrag = 0 WHERE VorgangKey = 'p0' or "
            "VorgangParentKey ='p0'");
        direct.execute(
            "DELETE FROM tLeistungZeiterfassung WHERE VorgangParentKey IS NULL AND Status = 2"
            " AND idLeistungZeiterfassung NOT IN (SELECT VorgangParentId FROM "
            "tLeistungZeiterfassung)");
        benchmark::DoNotOptimize(direct.read(view));
        benchmark::DoNotOptimize(direct.read(objNames));
        benchmark::DoNotOptimize(direct.read(grundlagen));
        benchmark::DoNotOptimize(direct.read(texts));
        state.SetIterationTime(secondsOf(t0, Clock::now()));
    }
}

// ---- booking ------------------------------------------------------------------------------

// A thousand released entries of half an hour with one text line each, in a hundred stopwatches
// over the office's orders; the office's administrative share of 10 % makes a second service of
// each booking.
constexpr int kBookingOrders = 100;
constexpr int kEntriesPerBookingOrder = 10;
constexpr int kBookedSeconds = 1800;

// Fresh provisional rows and no services yet, so every iteration books the same.
BenchDatabase* loadForBooking(Backend backend) {
    BenchDatabase* d = load(backend, kBookingOrders, kEntriesPerBookingOrder, 1, kBookedSeconds);
    if (d != nullptr) {
        d->database().connection()->executeScript(
            "DELETE FROM tLeistungText; DELETE FROM tLeistung; DELETE FROM tAuftragNachlauf;"
            " DELETE FROM tAuftragBenachrichtigung");
    }
    return d;
}

void BookingLayer(benchmark::State& state, Backend backend, bool summed) {
    int statements = 0;
    for (auto _ : state) {
        BenchDatabase* d = loadForBooking(backend);
        if (skipWithoutServer(state, d)) {
            return;
        }
        BenchPlatform platform(d->database());
        CStoppUhren session(platform);
        std::int32_t employee = kEmployee;
        if (!session.Starten(employee)) {
            fail("Starten");
        }
        for (const auto& auftrag : session.Auftraege()) {
            QString auftragKey = auftrag->Key();
            for (const auto& leistung : auftrag->Leistungen()) {
                QString leistungKey = leistung->Key();
                if (!session.LeistungFreigeben(auftragKey, leistungKey)) {
                    fail("LeistungFreigeben");
                }
            }
        }
        if (session.FreigegebeneLeistungen()->Count() != kBookingOrders * kEntriesPerBookingOrder) {
            fail("freigegeben");
        }
        const int before = platform.officeDatabase().faults().statementsSeen();
        const auto t0 = Clock::now();
        if (summed) {
            session.SammelBuchen();
        } else {
            session.EinzelBuchen();
        }
        const auto t1 = Clock::now();
        statements = platform.officeDatabase().faults().statementsSeen() - before;
        state.SetIterationTime(secondsOf(t0, t1));
    }
    state.counters["Anweisungen"] = statements;
}

const char* const kFigureSql =
    "SELECT CAST(ROUND(COALESCE(SUM(dmAnzahl), 0) * 10000) AS BIGINT) AS menge FROM tLeistung"
    " WHERE flAuftrag = $1";
const char* const kEmployeeExistsSql = "SELECT 1 FROM tMitarbeiter WHERE idMitarbeiter = $1";
const char* const kOrderExistsSql = "SELECT 1 FROM tAuftrag WHERE idAuftrag = $1";
const char* const kInsertServiceSql =
    "INSERT INTO tLeistung (flMitarbeiter, flAuftrag, dtDatum, dmAnzahl, dtBeginn, dtEnde,"
    " dcNotiz, diArt, dtAngelegt) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9)"
    " RETURNING idLeistung";
const char* const kInsertServiceTextSql =
    "INSERT INTO tLeistungText (flLeistung, diZeile, dcText) SELECT l.idLeistung,"
    " (SELECT COALESCE(MAX(t.diZeile), 0) + 1 FROM tLeistungText t WHERE t.flLeistung ="
    " l.idLeistung), $2 FROM tLeistung l WHERE l.idLeistung = $1 RETURNING idLeistungText";
const char* const kDeleteRowSql =
    "DELETE from tLeistungZeiterfassung WHERE idleistungzeiterfassung = $1";

std::string withNow(const char* sql, Backend backend) {
    std::string text = sql;
    text.replace(text.find("%1"), 2,
                 backend == Backend::Sqlite ? "datetime('now','localtime')" : "LOCALTIMESTAMP(0)");
    return text;
}

// One service as booking writes it: the figure before, the service with its administrative
// share (each in the office procedure's transaction, after its two existence checks), the figure
// after, the text lines and the share's text, the notice when the order's figure left zero, and
// the booking follow-up.
struct BookingFloor {
    Direct& direct;
    int figure, employeeExists, orderExists, insertService, insertText, notice, followUp;

    BookingFloor(Direct& d, Backend backend)
        : direct(d),
          figure(d.prepare(kFigureSql, 1)),
          employeeExists(d.prepare(kEmployeeExistsSql, 1)),
          orderExists(d.prepare(kOrderExistsSql, 1)),
          insertService(d.prepare(kInsertServiceSql, 9)),
          insertText(d.prepare(kInsertServiceTextSql, 2)),
          notice(d.prepare(withNow("INSERT INTO tAuftragBenachrichtigung (flAuftrag,"
                                   " flMitarbeiter, diArt, dtZeit) VALUES ($1, $2, $3, %1)",
                                   backend)
                               .c_str(),
                           3)),
          followUp(d.prepare(withNow("INSERT INTO tAuftragNachlauf (flAuftrag, dtLetzteBuchung)"
                                     " SELECT idAuftrag, %1 FROM tAuftrag WHERE idAuftrag = $1"
                                     " ON CONFLICT (flAuftrag) DO UPDATE"
                                     " SET dtLetzteBuchung = excluded.dtLetzteBuchung,"
                                     " dlBuchungen = tAuftragNachlauf.dlBuchungen + 1",
                                     backend)
                                 .c_str(),
                             1)) {}

    std::int64_t service(const std::string& mitarbeiter, const std::string& auftrag, double hours,
                         const char* notiz) {
        direct.begin();
        direct.run(employeeExists, {mitarbeiter.c_str()});
        direct.run(orderExists, {auftrag.c_str()});
        const std::string anzahl = QString::number(hours, 'f', 4).toStdString();
        const std::int64_t id =
            direct.run(insertService, {mitarbeiter.c_str(), auftrag.c_str(), "2026-03-16 00:00:00",
                                       anzahl.c_str(), "2026-03-16 07:00:00", "2026-03-16 07:30:00",
                                       notiz, "1", "2026-03-16 12:00:00"});
        direct.commit();
        return id;
    }

    void book(std::int64_t auftragId, int seconds, const std::vector<std::string>& lines,
              const char* notiz) {
        const std::string auftrag = number(auftragId);
        const std::int64_t before = direct.run(figure, {auftrag.c_str()});
        const std::int64_t id = service(number(kEmployee), auftrag, seconds / 3600.0, notiz);
        const std::int64_t after = direct.run(figure, {auftrag.c_str()});
        const std::int64_t share = service(number(office::demo::kAdministrativeEmployee), auftrag,
                                           seconds / 36000.0, notiz);
        const std::string serviceId = number(id);
        for (const std::string& line : lines) {
            direct.run(insertText, {serviceId.c_str(), line.c_str()});
        }
        const std::string shareText = "(VZL) " + lines.front();
        direct.run(insertText, {number(share).c_str(), shareText.c_str()});
        if (before != after && (before == 0 || after == 0)) {
            direct.run(notice, {auftrag.c_str(), number(kEmployee).c_str(), "0"});
        }
        direct.run(followUp, {auftrag.c_str()});
    }
};

struct ReleasedEntry {
    std::int64_t id;
    std::int64_t auftragId;
    std::string line;
};

void BookingFloorRun(benchmark::State& state, Backend backend, bool summed) {
    for (auto _ : state) {
        BenchDatabase* d = loadForBooking(backend);
        if (skipWithoutServer(state, d)) {
            return;
        }
        std::vector<ReleasedEntry> entries;
        {
            auto c = d->database().connection();
            auto r = c->query(
                "SELECT z.idLeistungZeiterfassung, z.idAuftrag, t.LeistungZeiterfassungText"
                " FROM tLeistungZeiterfassung z INNER JOIN tLeistungZeiterfassungTexte t"
                " ON t.flLeistungZeiterfassung = z.idLeistungZeiterfassung"
                " WHERE z.ps_id = $1 AND z.VorgangParentId > 0 ORDER BY z.VorgangParentId,"
                " z.idLeistungZeiterfassung",
                db::Params{std::int64_t{kEmployee}});
            while (r->next()) {
                entries.push_back({r->toInt64(0), r->toInt64(1), r->toText(2).toStdString()});
            }
        }
        Direct direct(*d);
        BookingFloor floor(direct, backend);
        const int remove = direct.prepare(kDeleteRowSql, 1);
        const auto t0 = Clock::now();
        if (summed) {
            // One service per office order, in the order the orders were first met.
            std::vector<std::int64_t> orders;
            std::map<std::int64_t, std::vector<std::string>> lines;
            for (const ReleasedEntry& e : entries) {
                auto& l = lines[e.auftragId];
                if (l.empty()) {
                    orders.push_back(e.auftragId);
                }
                l.push_back(e.line);
            }
            // The whole summed booking is one transaction, as in the session.
            direct.begin();
            for (std::int64_t auftragId : orders) {
                const auto& l = lines[auftragId];
                floor.book(auftragId, kBookedSeconds * static_cast<int>(l.size()), l, "");
            }
            for (const ReleasedEntry& e : entries) {
                direct.run(remove, {number(e.id).c_str()});
            }
            direct.commit();
        } else {
            // Each entry's service and the end of the entry are one transaction.
            for (const ReleasedEntry& e : entries) {
                direct.begin();
                floor.book(e.auftragId, kBookedSeconds, {e.line}, "Telefonat mit Frau Müller");
                direct.run(remove, {number(e.id).c_str()});
                direct.commit();
            }
        }
        state.SetIterationTime(secondsOf(t0, Clock::now()));
    }
}

void registerAll() {
    for (Backend backend : {Backend::Sqlite, Backend::Postgres}) {
        const std::string b = backend == Backend::Sqlite ? "SQLite" : "PostgreSQL";
        for (int rows : {100, 10000}) {
            const std::string name = "Umschalten" + std::to_string(rows) + "/" + b;
            benchmark::RegisterBenchmark((name + "/Layer").c_str(), SwitchLayer, backend, rows)
                ->Unit(benchmark::kMicrosecond);
            benchmark::RegisterBenchmark((name + "/Floor").c_str(), SwitchFloor, backend, rows)
                ->Unit(benchmark::kMicrosecond);
        }
        benchmark::RegisterBenchmark(("Takt/" + b).c_str(), Tick, backend)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Takt60Speichern/" + b + "/Layer").c_str(), SavingTickLayer,
                                     backend)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Takt60Speichern/" + b + "/Floor").c_str(), SavingTickFloor,
                                     backend)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
        for (bool summed : {false, true}) {
            const std::string name =
                std::string(summed ? "SammelBuchen" : "EinzelBuchen") + "1000/" + b;
            benchmark::RegisterBenchmark((name + "/Layer").c_str(), BookingLayer, backend, summed)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark((name + "/Floor").c_str(), BookingFloorRun, backend,
                                         summed)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        }
        for (int rows : {1000, 10000, 100000}) {
            const std::string name = "Starten" + std::to_string(rows) + "/" + b;
            benchmark::RegisterBenchmark((name + "/Layer").c_str(), StartLayer, backend, rows)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark((name + "/Floor").c_str(), StartFloor, backend, rows)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
}

}  // namespace
}  // namespace orv::bench

int main(int argc, char** argv) {
    return orv::bench::runBenchmarks(argc, argv, orv::bench::registerAll,
                                     orv::bench::Report::WithRatios,
                                     [] { orv::bench::databases().clear(); });
}
