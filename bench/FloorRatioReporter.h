#pragma once

#include <benchmark/benchmark.h>

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace quarvel::bench {

// The console report, and afterwards each benchmark's time as a multiple of its floor: the cost of
// the plain file operation that it cannot beat.
class FloorRatioReporter : public benchmark::ConsoleReporter {
public:
    struct Comparison {
        std::string benchmark;
        std::string floor;
        double limit = 0;           // the most the ratio may be; 0 when there is none
        bool processorTime = false; // compare processor times instead of real times
    };

    explicit FloorRatioReporter(OutputOptions options) : ConsoleReporter(options) {}

    void ReportRuns(const std::vector<Run>& runs) override;

    // Prints one line per comparison; returns false when a limit is exceeded.
    bool printRatios(std::ostream& out, const std::vector<Comparison>& comparisons) const;

private:
    struct Measured {
        double realSeconds = 0;
        double processorSeconds = 0;
        int runs = 0;
    };
    std::map<std::string, Measured> m_measured;
};

} // namespace quarvel::bench
