#include "OfficeRun.h"

#include "LoadOffice.h"
#include "SimulatedEmployee.h"

#include <memory>
#include <thread>

namespace orv::load {

double Pacer::waitFor(double simulatedSeconds) const {
    if (tempo_ <= 0) {
        return 0;
    }
    const auto due = origin_ + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                   std::chrono::duration<double>(simulatedSeconds / tempo_));
    const auto now = std::chrono::steady_clock::now();
    if (now < due) {
        std::this_thread::sleep_until(due);
        return 0;
    }
    return std::chrono::duration<double>(now - due).count();
}

RunReport runOffice(db::Database& database, const LoadOffice& office, const RunSettings& settings) {
    const int sessions =
        std::min<int>(settings.sessions, static_cast<int>(office.employees.size()));
    const Pacer pacer(settings.tempo);
    std::vector<std::unique_ptr<SimulatedEmployee>> employees;
    for (int i = 0; i < sessions; ++i) {
        employees.push_back(std::make_unique<SimulatedEmployee>(
            database, office, settings, office.employees[static_cast<std::size_t>(i)], pacer));
    }
    const auto t0 = std::chrono::steady_clock::now();
    {
        std::vector<std::jthread> threads;
        threads.reserve(employees.size());
        for (const auto& employee : employees) {
            threads.emplace_back([&e = *employee] { e.run(); });
        }
    }
    RunReport report;
    report.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    for (const auto& employee : employees) {
        report.employees.push_back(employee->result());
    }
    return report;
}

}  // namespace orv::load
