// What choosing an order reads while the employee types, in an office of 20,000 clients and
// 200,000 orders: resolving a typed client number, offering completions for typed digits and
// letters, and the order check (the matter's facts, then the order lookup). Each must stay well
// inside one frame (16 ms) on both backends.

#include "BenchDatabases.h"
#include "BenchMain.h"

#include "office/directory/ClientDirectory.h"
#include "office/directory/MatterDirectory.h"
#include "office/host/OfficeMatterInfo.h"
#include "office/host/OfficeOrderLookup.h"
#include "persistence/driver/Connection.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <string>

namespace orv::bench {
namespace {

using db::Backend;

constexpr int kClients = 20000;
constexpr int kOrdersPerClient = 10;
constexpr int kFirstNumber = 200001;
constexpr int kMatters = 11;  // the demo office's matters, ids 1 to 11

struct Fixture {
    std::unique_ptr<BenchDatabase> database;
    int firstClientId = 0;
};

// Filled on first use, emptied before main returns: dropping a server schema needs Qt alive.
std::map<Backend, Fixture>& fixtures() {
    static std::map<Backend, Fixture> all;
    return all;
}

// Clients 200001 ... with names every search letter meets; each client's orders run through
// the demo matters and the periods of seven years; every 50th order is invoiced.
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
    {
        db::Transaction t(*c);
        c->execute(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < $1)"
            " INSERT INTO tPersonStamm (Ps_Nr, Ps_Kurzname, Ps_Name, Ps_IstKanzlei)"
            " SELECT $2 + i, 'Müller ' || i, 'Müller & Söhne Nr. ' || i || ' GmbH', 0 FROM n",
            db::Params{std::int64_t{kClients - 1}, std::int64_t{kFirstNumber}});
        auto first = c->query("SELECT MIN(Ps_Id) FROM tPersonStamm WHERE Ps_Nr >= $1",
                              db::Params{std::int64_t{kFirstNumber}});
        first->next();
        f.firstClientId = static_cast<int>(first->toInt64(0));
        first.reset();
        c->execute(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < $1)"
            " INSERT INTO tAuftrag (flMandant, flAuftragArt, dlAuftragArtNr, flAngelegenheit,"
            " dlAngelegenheitNr, dlJahr, diMonat, diLfdNr, dlObjektNr)"
            " SELECT $2 + n.i / $3, ang.flAuftragArt, art.dlAuftragArtNr, ang.idAngelegenheit,"
            " ang.dlAngelegenheitNr, 2020 + n.i % 7, 1 + n.i % 12, 1, 0"
            " FROM n INNER JOIN tAngelegenheit ang ON ang.idAngelegenheit = 1 + n.i % $4"
            " INNER JOIN tAuftragArt art ON art.idAuftragArt = ang.flAuftragArt",
            db::Params{std::int64_t{kClients * kOrdersPerClient - 1}, std::int64_t{f.firstClientId},
                       std::int64_t{kOrdersPerClient}, std::int64_t{kMatters}});
        c->execute(
            "INSERT INTO tRechnung (flAuftrag, dlRechnungNr, dtRechnungsDatum)"
            " SELECT idAuftrag, idAuftrag, $1 FROM tAuftrag WHERE idAuftrag % 50 = 0",
            db::Params{QDateTime(QDate(2026, 1, 31), QTime(0, 0))});
        t.commit();
    }
    c->executeScript(backend == Backend::Postgres ? "ANALYZE"
                                                  : "ANALYZE; PRAGMA wal_checkpoint(TRUNCATE)");
    return f;
}

bool skipWithoutServer(benchmark::State& state, Fixture& f) {
    if (f.database == nullptr) {
        state.SkipWithError("ORV_BENCH_PG/ORV_TEST_PG nicht gesetzt");
        return true;
    }
    return false;
}

// Client numbers resolved in turn, each one a client.
void ClientNumber(benchmark::State& state, Backend backend) {
    Fixture& f = fixture(backend);
    if (skipWithoutServer(state, f)) {
        return;
    }
    office::ClientDirectory clients(f.database->database());
    int i = 0;
    for (auto _ : state) {
        const auto client = clients.byNumber(kFirstNumber + (i++ * 7919) % kClients);
        if (!client.has_value()) {
            state.SkipWithError("Mandant fehlt");
            return;
        }
        benchmark::DoNotOptimize(client);
    }
}

// Ten completions for what was typed: digits (number prefixes), letters every client's name
// contains (all 20,000 match and are ranked), and letters no client's name contains.
void ClientCompletion(benchmark::State& state, Backend backend, const char* typed,
                      std::size_t expected) {
    Fixture& f = fixture(backend);
    if (skipWithoutServer(state, f)) {
        return;
    }
    office::ClientDirectory clients(f.database->database());
    const QString text = QString::fromUtf8(typed);
    for (auto _ : state) {
        const auto found = clients.matching(text, 10);
        if (found.size() != expected) {
            state.SkipWithError("falsche Trefferzahl");
            return;
        }
        benchmark::DoNotOptimize(found);
    }
}

void MatterCompletion(benchmark::State& state, Backend backend) {
    Fixture& f = fixture(backend);
    if (skipWithoutServer(state, f)) {
        return;
    }
    office::MatterDirectory matters(f.database->database());
    for (auto _ : state) {
        const auto found = matters.matching(QStringLiteral("erklärung"), 10);
        if (found.size() != 5) {
            state.SkipWithError("falsche Trefferzahl");
            return;
        }
        benchmark::DoNotOptimize(found);
    }
}

// The order check of the order control: the matter's facts, then the lookup of the order.
void OrderCheck(benchmark::State& state, Backend backend) {
    Fixture& f = fixture(backend);
    if (skipWithoutServer(state, f)) {
        return;
    }
    db::Database& d = f.database->database();
    int i = 0;
    for (auto _ : state) {
        const int order = (i++ * 7919) % (kClients * kOrdersPerClient);
        const int matter = 1 + order % kMatters;
        office::OfficeMatterInfo info(d);
        info.setAngelegenheitId(matter);
        info.setModus(2);
        info.setStichtag(QDate(2026, 3, 2));
        bool found = true;
        info.Read(found);
        benchmark::DoNotOptimize(info.MehrfachAnlage());
        info.Close();
        office::OfficeOrderLookup lookup(d);
        lookup.Init();
        lookup.setMandantId(f.firstClientId + order / kOrdersPerClient);
        lookup.setJahr(2020 + order % 7);
        lookup.setMonat(1 + order % 12);
        lookup.setLfdNr(0);
        lookup.setObjektNr(0);
        // The demo matters' numbers: kind and matter of matter id 1 + order % 11.
        static const int kKindAndMatter[kMatters][2] = {{10, 101}, {20, 201}, {30, 301}, {40, 401},
                                                        {40, 402}, {50, 501}, {50, 502}, {50, 503},
                                                        {50, 504}, {90, 901}, {90, 990}};
        lookup.Search(QStringLiteral("plAuftragArtNr = %1 AND plAngelegenheitNr = %2 AND "
                                     "plAbrechnungsArt <> 9")
                          .arg(kKindAndMatter[matter - 1][0])
                          .arg(kKindAndMatter[matter - 1][1]),
                      true);
        if (!found || lookup.Read() != 1) {
            state.SkipWithError("Auftrag nicht gefunden");
            return;
        }
        benchmark::DoNotOptimize(lookup.RechnungsVerweis());
        lookup.Close();
    }
}

void registerAll() {
    for (Backend backend : {Backend::Sqlite, Backend::Postgres}) {
        const std::string b = backend == Backend::Sqlite ? "SQLite" : "PostgreSQL";
        const auto add = [&](const std::string& name, auto&& function, auto&&... args) {
            benchmark::RegisterBenchmark((name + "/" + b).c_str(), function, backend, args...)
                ->Unit(benchmark::kMillisecond);
        };
        add("Mandantennummer", ClientNumber);
        add("Vorschlaege/Ziffern", ClientCompletion, "2150", std::size_t{10});
        add("Vorschlaege/Buchstaben_alle", ClientCompletion, "müller", std::size_t{10});
        add("Vorschlaege/Buchstaben_selten", ClientCompletion, "nr. 1234 gmbh", std::size_t{1});
        add("Vorschlaege/Angelegenheit", MatterCompletion);
        add("Auftragspruefung", OrderCheck);
    }
}

}  // namespace
}  // namespace orv::bench

int main(int argc, char** argv) {
    return orv::bench::runBenchmarks(argc, argv, orv::bench::registerAll,
                                     orv::bench::Report::Console,
                                     [] { orv::bench::fixtures().clear(); });
}
