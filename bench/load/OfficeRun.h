#pragma once

#include <QStringList>

#include <chrono>
#include <cstdint>
#include <vector>

namespace orv::db {
class Database;
}

namespace orv::load {

struct LoadOffice;

struct RunSettings {
    int sessions = 200;
    int days = 5;
    std::uint64_t seed = 1;
    // Simulated seconds per real second; 0 runs as fast as the sessions can.
    double tempo = 600;
    // Simulated seconds between two clock ticks of a session. The running order saves itself
    // every 60th tick.
    int takt = 10;
    // Office orders the employees record their time on.
    int orders = 40;
};

// What one simulated employee did in a run, and what went wrong on the way.
struct EmployeeResult {
    std::int32_t employee = 0;
    // From the employee's own clock: from each Starten to the day's Beenden, minus the pauses.
    std::int64_t expectedSeconds = 0;
    int daysClosed = 0;
    std::int64_t ticks = 0;
    std::int64_t switches = 0;  // start, stop or change of the running stopwatch
    std::int64_t newOrders = 0;
    std::int64_t finished = 0;
    std::int64_t edits = 0;
    std::int64_t rebookings = 0;
    std::int64_t bookings = 0;
    std::int64_t deletions = 0;
    std::int64_t manualEntries = 0;
    std::int64_t pauses = 0;
    std::vector<float> switchMicros;
    // Errors the component reported and message boxes it showed; none is expected.
    QStringList problems;
    // How far the employee fell behind the simulated clock's pace, in real seconds.
    double maxLagSeconds = 0;
};

struct RunReport {
    double wallSeconds = 0;
    std::vector<EmployeeResult> employees;
};

// Runs one session per employee of the office, each on its own thread with its own database
// connection, through the configured simulated working days.
RunReport runOffice(db::Database& database, const LoadOffice& office, const RunSettings& settings);

// Maps simulated time onto real time for all sessions of a run.
class Pacer {
public:
    explicit Pacer(double tempo) : tempo_(tempo), origin_(std::chrono::steady_clock::now()) {}
    // Waits until the run's real time reaches the simulated moment (in seconds from the run's
    // start); returns how many real seconds late the caller already was.
    double waitFor(double simulatedSeconds) const;

private:
    double tempo_;
    std::chrono::steady_clock::time_point origin_;
};

}  // namespace orv::load
