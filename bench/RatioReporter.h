#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <set>
#include <string>

namespace orv::bench {

// Prints the usual console table, then each ".../Layer" figure beside its ".../Floor": the same
// work done directly on the database's C library in the same run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    std::map<std::string, double> nanoseconds_;
    std::set<std::string> medians_;
};

}  // namespace orv::bench
