#include "bench/CaseRunner.h"

#include "bench/FloorRatioReporter.h"

#include <iostream>
#include <unistd.h>

namespace quarvel::bench {

int runCases(const std::vector<Case>& cases) {
    std::vector<FloorRatioReporter::Comparison> comparisons;
    for (const Case& entry : cases) {
        // The library keeps what it registers for the whole run.
        // NOLINTNEXTLINE(clang-analyzer-cplusplus.NewDeleteLeaks)
        auto* registered = benchmark::RegisterBenchmark(entry.name, entry.run);
        if (entry.clock == Clock::Wall)
            registered->UseRealTime();
        else if (entry.clock == Clock::Reported)
            registered->UseManualTime();
        registered->Unit(benchmark::kMicrosecond);
        if (entry.floor != nullptr)
            comparisons.push_back({entry.name, entry.floor, entry.limit, entry.clock == Clock::Processor});
    }
    FloorRatioReporter reporter(::isatty(STDOUT_FILENO) != 0 ? benchmark::ConsoleReporter::OO_Defaults
                                                             : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const bool withinLimits = reporter.printRatios(std::cout, comparisons);
    benchmark::Shutdown();
    return withinLimits ? 0 : 1;
}

} // namespace quarvel::bench
