// The stopwatch window against the headless session: a Start click in a window of 100 and of
// 10,000 orders against the switch alone, a clock tick with the window shown against the tick
// alone, the change to the entries tab with 10,000 finished entries, and the day closing with
// 1,000 open orders against the ends of those orders alone. The window runs on Qt's offscreen
// platform and repaints what changed before the time is taken.

#include "BenchMain.h"
#include "BenchOffice.h"

#include "ORVkStoppUhren/Enums.h"
#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "persistence/FaultInjector.h"
#include "persistence/driver/Connection.h"
#include "session/CStoppUhren.h"
#include "session/EmployeeSwitch.h"
#include "ui/main/FrmStoppUhrWindow.h"
#include "ui/main/StoppUhrWidget.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace orv::bench {
namespace {

using db::Backend;
using Clock = std::chrono::steady_clock;

double secondsOf(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

// A started session, with its window shown or with none.
struct Session {
    BenchPlatform platform;
    CStoppUhren session;
    QPointer<ui::StoppUhrWidget> window;
    std::vector<QString> offen;  // the orders not finished

    Session(BenchDatabase& d, bool shown) : platform(d.database()), session(platform) {
        if (shown) {
            platform.mainWindow = [this] {
                auto w = std::make_unique<ui::FrmStoppUhrWindow>(platform);
                window = w->widget();
                return w;
            };
        }
        std::int32_t employee = kEmployee;
        if (!session.Starten(employee)) {
            throw std::runtime_error("Starten");
        }
        for (const auto& auftrag : session.Auftraege()) {
            if (auftrag->Status() < AuftragStatus_Beendet) {
                offen.push_back(auftrag->Key());
            }
        }
        settle();
    }
    template <typename W>
    W& child(const char* name) {
        W* w = window->findChild<W*>(QString::fromLatin1(name));
        if (w == nullptr) {
            throw std::runtime_error(name);
        }
        return *w;
    }
    // The orders row of the key becomes current, as the employee's click makes it.
    void select(const QString& key) {
        auto& grid = child<QTableView>("grdAuftraege");
        for (int r = 0; r < grid.model()->rowCount(); ++r) {
            if (grid.model()->index(r, 0).data().toString() == key) {
                grid.selectionModel()->setCurrentIndex(
                    grid.model()->index(r, 2),
                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                break;
            }
        }
        settle();
    }
    void tick() {
        platform.benchClock().advance(1);
        session.TimerTick();
    }
    int statements() { return platform.officeDatabase().faults().statementsSeen(); }
    // Pending repaints done.
    static void settle() { QCoreApplication::processEvents(); }
};

constexpr int kTicksBetweenSwitches = 3;

void StartClick(benchmark::State& state, Backend backend, int orders, bool shown) {
    BenchDatabase* d = load(backend, orders, 1, 0);
    if (skipWithoutServer(state, d)) {
        return;
    }
    Session s(*d, shown);
    int next = 0;
    for (auto _ : state) {
        for (int i = 0; i < kTicksBetweenSwitches; ++i) {
            s.tick();
        }
        QString key = s.offen[static_cast<std::size_t>(next)];
        next = 1 - next;
        if (shown) {
            s.select(key);
            auto& start = s.child<QPushButton>("btnStart");
            const auto t0 = Clock::now();
            start.click();
            Session::settle();
            state.SetIterationTime(secondsOf(t0, Clock::now()));
        } else {
            const auto t0 = Clock::now();
            stoppuhrWechseln(s.session, key);
            state.SetIterationTime(secondsOf(t0, Clock::now()));
        }
    }
}

// A tick that only counts, repainted; a tick that happens to save is taken again.
void Tick(benchmark::State& state, Backend backend, bool shown) {
    BenchDatabase* d = load(backend, 50, 1, 0);
    if (skipWithoutServer(state, d)) {
        return;
    }
    Session s(*d, shown);
    QString key = s.offen[1];
    stoppuhrWechseln(s.session, key);
    Session::settle();
    for (auto _ : state) {
        for (;;) {
            const int before = s.statements();
            s.platform.benchClock().advance(1);
            const auto t0 = Clock::now();
            s.session.TimerTick();
            if (shown) {
                Session::settle();
            }
            const auto t1 = Clock::now();
            if (s.statements() == before) {
                state.SetIterationTime(secondsOf(t0, t1));
                break;
            }
        }
    }
}

// 1,000 finished orders of ten finished entries each.
BenchDatabase* loadFinished(Backend backend) {
    BenchDatabase* d = load(backend, 1000, 10, 1);
    if (d != nullptr) {
        d->database().connection()->execute(
            "UPDATE tLeistungZeiterfassung SET Status = 2, Ende = Beginn WHERE ps_id = $1",
            db::Params{std::int64_t{kEmployee}});
    }
    return d;
}

// The entries tab: the window lists what the headless session holds in memory.
void EntriesTab(benchmark::State& state, Backend backend, bool shown) {
    BenchDatabase* d = loadFinished(backend);
    if (skipWithoutServer(state, d)) {
        return;
    }
    Session s(*d, shown);
    int entries = 0;
    for (auto _ : state) {
        if (shown) {
            auto& tab = s.child<QTabWidget>("tabStoppUhr");
            const auto t0 = Clock::now();
            tab.setCurrentIndex(1);
            Session::settle();
            state.SetIterationTime(secondsOf(t0, Clock::now()));
            entries = s.child<QTableView>("grdLeistungen").model()->rowCount();
            tab.setCurrentIndex(0);
            Session::settle();
        } else {
            const auto t0 = Clock::now();
            entries = 0;
            for (const auto& auftrag : s.session.Auftraege()) {
                for (const auto& leistung : auftrag->Leistungen()) {
                    entries += leistung->Status() == AuftragStatus_Beendet ? 1 : 0;
                }
            }
            benchmark::DoNotOptimize(entries);
            state.SetIterationTime(secondsOf(t0, Clock::now()));
        }
    }
    state.counters["Leistungen"] = entries;
}

// The day closing of 1,000 open orders; each run on freshly loaded rows.
void DayClosing(benchmark::State& state, Backend backend, bool shown) {
    for (auto _ : state) {
        BenchDatabase* d = load(backend, 1000, 1, 0);
        if (skipWithoutServer(state, d)) {
            return;
        }
        Session s(*d, shown);
        if (shown) {
            auto& abschluss = s.child<QPushButton>("ctlTagesAbschluss");
            const auto t0 = Clock::now();
            abschluss.click();
            Session::settle();
            state.SetIterationTime(secondsOf(t0, Clock::now()));
        } else {
            const auto t0 = Clock::now();
            for (const QString& key : s.offen) {
                stoppuhrBeenden(s.session, key);
            }
            s.session.LeistungenStatusKorrigieren();
            state.SetIterationTime(secondsOf(t0, Clock::now()));
        }
    }
}

void registerAll() {
    for (Backend backend : {Backend::Sqlite, Backend::Postgres}) {
        const std::string b = backend == Backend::Sqlite ? "SQLite" : "PostgreSQL";
        for (bool shown : {true, false}) {
            // The window's figure beside the headless one ("Floor").
            const std::string seite = shown ? "/Layer" : "/Floor";
            for (int orders : {100, 10000}) {
                benchmark::RegisterBenchmark(
                    ("StartKlick" + std::to_string(orders) + "/" + b + seite).c_str(), StartClick,
                    backend, orders, shown)
                    ->UseManualTime()
                    ->Unit(benchmark::kMicrosecond);
            }
            benchmark::RegisterBenchmark(("Takt/" + b + seite).c_str(), Tick, backend, shown)
                ->UseManualTime()
                ->Unit(benchmark::kMicrosecond);
            benchmark::RegisterBenchmark(("LeistungenTab10000/" + b + seite).c_str(), EntriesTab,
                                         backend, shown)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("Tagesabschluss1000/" + b + seite).c_str(), DayClosing,
                                         backend, shown)
                ->UseManualTime()
                ->Iterations(3)
                ->Unit(benchmark::kMillisecond);
        }
    }
}

std::unique_ptr<QCoreApplication> offscreen(int& argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    return std::make_unique<QApplication>(argc, argv);
}

}  // namespace
}  // namespace orv::bench

int main(int argc, char** argv) {
    return orv::bench::runBenchmarks(
        argc, argv, orv::bench::registerAll, orv::bench::Report::WithRatios,
        [] { orv::bench::databases().clear(); }, orv::bench::offscreen);
}
