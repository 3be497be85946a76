#pragma once

#include <QCoreApplication>

#include <memory>

namespace orv::bench {

enum class Report { Console, WithRatios };

// The main of a benchmark program: the time zone (local dates are converted on every row; without
// TZ the C library looks the zone up each time), Qt, the benchmarks registerAll adds and the
// report; release() then drops the program's databases while Qt is still alive, as dropping a
// server schema needs it.
// A program that shows widgets hands in the maker of its QApplication.
using ApplicationMaker = std::unique_ptr<QCoreApplication> (*)(int& argc, char** argv);
int runBenchmarks(int argc, char** argv, void (*registerAll)(), Report report, void (*release)(),
                  ApplicationMaker makeApplication = nullptr);

}  // namespace orv::bench
