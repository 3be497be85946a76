#include "BenchMain.h"

#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <cstdlib>

namespace orv::bench {

int runBenchmarks(int argc, char** argv, void (*registerAll)(), Report report, void (*release)(),
                  ApplicationMaker makeApplication) {
    if (std::getenv("TZ") == nullptr) {
        setenv("TZ", "Europe/Berlin", 1);
    }
    const std::unique_ptr<QCoreApplication> app =
        makeApplication != nullptr ? makeApplication(argc, argv)
                                   : std::make_unique<QCoreApplication>(argc, argv);
    registerAll();
    benchmark::Initialize(&argc, argv);
    if (report == Report::WithRatios) {
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
    } else {
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    release();
    return 0;
}

}  // namespace orv::bench
