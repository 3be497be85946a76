#pragma once

#include "LoadPlatform.h"
#include "OfficeRun.h"
#include "Workload.h"

#include <QDate>
#include <QDateTime>

#include <functional>
#include <memory>
#include <random>
#include <vector>

namespace orv {
class CAuftrag;
class CStoppUhren;
class cLeistung;
}  // namespace orv

namespace orv::load {

// The first simulated working day; the demo office's orders run in 2026.
QDate firstWorkingDay();
// Simulated seconds from the first day's 08:00 on the run's time line, evenings, nights and
// weekends left out.
double timelineSeconds(const QDateTime& time);

// One employee at the stopwatch window for the run's working days, on the thread that calls
// run(): starts the session each morning, works through the day with random commands as the
// main window issues them, takes a lunch break, finishes and books everything in the evening
// and ends the session with the day closing.
class SimulatedEmployee {
public:
    SimulatedEmployee(db::Database& database, const LoadOffice& office, const RunSettings& settings,
                      std::int32_t employee, const Pacer& pacer);
    ~SimulatedEmployee();

    void run();
    const EmployeeResult& result() const { return result_; }

private:
    void runDay(int day);
    void advanceTo(const QDateTime& time);
    void pace();
    void act();
    // A switch of stopwatches, timed for the report.
    void timedSwitch(const std::function<bool()>& body);
    void book(bool everything);
    void closeDay();

    int uniform(int low, int high);
    // Runs a command of the main window: an error is reported to the user, as the window's
    // event handlers do, and written down with every message box the command brought up.
    void command(const char* name, const std::function<void()>& body);
    void noteMessages(const char* name);

    db::Database& database_;
    const LoadOffice& office_;
    const RunSettings& settings_;
    const Pacer& pacer_;
    LoadPlatform platform_;
    std::unique_ptr<CStoppUhren> session_;
    std::mt19937_64 random_;
    std::unique_ptr<Workload> workload_;  // on the day's session
    EmployeeResult result_;
    std::int64_t pausedSeconds_ = 0;
};

}  // namespace orv::load
