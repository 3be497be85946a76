#include "RatioReporter.h"

#include <cstdio>

namespace orv::bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        const double toNanoseconds = run.time_unit == benchmark::kMicrosecond   ? 1e3
                                     : run.time_unit == benchmark::kMillisecond ? 1e6
                                     : run.time_unit == benchmark::kSecond      ? 1e9
                                                                                : 1.0;
        // With repetitions the median stands for the benchmark; without, its one run.
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
            nanoseconds_[run.run_name.str()] = run.GetAdjustedRealTime() * toNanoseconds;
            medians_.insert(run.run_name.str());
        } else if (run.run_type == Run::RT_Iteration && run.iterations > 0 &&
                   medians_.count(run.run_name.str()) == 0) {
            nanoseconds_[run.run_name.str()] = run.GetAdjustedRealTime() * toNanoseconds;
        }
    }
}

void RatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    std::printf("\n%-58s %14s %14s %8s\n", "Vorgang", "Schicht", "Boden", "Faktor");
    for (const auto& [name, layer] : nanoseconds_) {
        const auto pos = name.find("/Layer");
        if (pos == std::string::npos) {
            continue;
        }
        std::string floorName = name;
        floorName.replace(pos, 6, "/Floor");
        const auto floor = nanoseconds_.find(floorName);
        if (floor == nanoseconds_.end() || floor->second <= 0) {
            continue;
        }
        std::string label = name;
        label.erase(pos, 6);
        std::printf("%-58s %11.1f µs %11.1f µs %7.2fx\n", label.c_str(), layer / 1e3,
                    floor->second / 1e3, layer / floor->second);
    }
}

}  // namespace orv::bench
