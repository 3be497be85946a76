#pragma once

#include "BenchDatabases.h"
#include "QuietPlatform.h"

#include "office/demo/DemoData.h"
#include "office/host/OfficePlatformFactory.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <memory>

// The demo office as the session benchmarks use it: a quiet platform whose clock the benchmark
// moves, and the employee's provisional rows in the shape a case asks for.
namespace orv::bench {

inline constexpr int kEmployee = office::demo::kEmployeeWithRights;

class BenchClock final : public platform::Clock {
public:
    QDateTime now() const override { return now_; }
    void advance(qint64 seconds) { now_ = now_.addSecs(seconds); }

private:
    // A working day of the demo office.
    QDateTime now_ = QDateTime(QDate(2026, 3, 16), QTime(8, 0, 0));
};

class OkBoxes final : public platform::MessageBoxes {
public:
    platform::MsgAnswer show(const QString&, platform::MsgButtons buttons, platform::MsgIcon,
                             const QString&, bool) override {
        return buttons == platform::MsgButtons::YesNo ||
                       buttons == platform::MsgButtons::YesNoCancel
                   ? platform::MsgAnswer::Yes
                   : platform::MsgAnswer::Ok;
    }
};

class BenchPlatform final : public office::OfficePlatformFactory {
public:
    using OfficePlatformFactory::OfficePlatformFactory;
    const platform::Clock& clock() override { return clock_; }
    platform::MessageBoxes& messageBoxes() override { return boxes_; }
    std::shared_ptr<platform::TraceLogger> createTraceLogger() override {
        return std::make_shared<NullTrace>();
    }
    std::unique_ptr<platform::TimerObject> createTimer() override {
        return std::make_unique<StillTimer>();
    }
    // The main window the benchmark looks at, or none.
    std::unique_ptr<platform::FrmStoppUhr> createFrmStoppUhr() override {
        return mainWindow ? mainWindow() : std::make_unique<QuietMainWindow>();
    }
    std::function<std::unique_ptr<platform::FrmStoppUhr>()> mainWindow;
    BenchClock& benchClock() { return clock_; }

private:
    BenchClock clock_;
    OkBoxes boxes_;
};

// The databases of the run, one per backend, dropped by the program's release.
std::map<db::Backend, std::unique_ptr<BenchDatabase>>& databases();

// Reading cases may keep rows loaded for the same shape by a reading case just before.
enum class Reuse { No, Rows };

// The demo office with the employee's provisional rows replaced by the given orders, each with
// its entries of the given seconds, each entry with its text lines; all of them stopped. The
// orders take the office's thirteen orders in turn, five of them property assessments.
BenchDatabase* load(db::Backend backend, int orders, int entriesPerOrder, int linesPerEntry,
                    int entrySeconds = 60, Reuse reuse = Reuse::No);

bool skipWithoutServer(benchmark::State& state, BenchDatabase* d);

}  // namespace orv::bench
