#include "bench/FloorRatioReporter.h"

#include <iomanip>
#include <ostream>

namespace quarvel::bench {

namespace {

std::string formatTime(double seconds) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(1);
    if (seconds >= 1e-3)
        text << seconds * 1e3 << " ms";
    else
        text << seconds * 1e6 << " us";
    return text.str();
}

} // namespace

void FloorRatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.run_type != Run::RT_Iteration || run.error_occurred)
            continue;
        Measured& measured = m_measured[run.run_name.function_name];
        const double multiplier = benchmark::GetTimeUnitMultiplier(run.time_unit);
        measured.realSeconds += run.GetAdjustedRealTime() / multiplier;
        measured.processorSeconds += run.GetAdjustedCPUTime() / multiplier;
        ++measured.runs;
    }
}

bool FloorRatioReporter::printRatios(std::ostream& out, const std::vector<Comparison>& comparisons) const {
    bool withinLimits = true;
    out << "\nTime as a multiple of its floor:\n";
    for (const Comparison& comparison : comparisons) {
        const auto measured = m_measured.find(comparison.benchmark);
        const auto floor = m_measured.find(comparison.floor);
        if (measured == m_measured.end() || floor == m_measured.end())
            continue;
        const auto average = [&comparison](const Measured& times) {
            return (comparison.processorTime ? times.processorSeconds : times.realSeconds) / times.runs;
        };
        const double seconds = average(measured->second);
        const double ratio = seconds / average(floor->second);
        out << "  " << std::left << std::setw(40) << comparison.benchmark << std::right << std::setw(10)
            << formatTime(seconds) << std::setw(9) << std::fixed << std::setprecision(2) << ratio << "x "
            << comparison.floor << (comparison.processorTime ? " (processor time)" : "");
        if (comparison.limit > 0) {
            const bool within = ratio <= comparison.limit;
            withinLimits = withinLimits && within;
            out << "  (at most " << comparison.limit << "x: " << (within ? "ok" : "EXCEEDED") << ")";
        }
        out << '\n';
    }
    return withinLimits;
}

} // namespace quarvel::bench
