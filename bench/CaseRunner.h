#pragma once

#include <benchmark/benchmark.h>

#include <vector>

namespace quarvel::bench {

// Which time a case is measured by. On a machine shared with other work, the wall time of a short
// computation mostly measures how long it waited for a processor, so computations are measured by the
// processor time they take, and only what waits for the disk by the wall clock.
enum class Clock {
    Wall,
    Processor, // this process's processor time
    Reported,  // the time each iteration reports itself (SetIterationTime)
};

// One benchmark, and what its time is compared with.
struct Case {
    const char* name;
    void (*run)(benchmark::State&);
    const char* floor; // the case whose time is the floor, or none
    double limit;      // the most the ratio to the floor may be; 0 when there is none
    Clock clock = Clock::Processor;
};

// Runs the cases in their order (after benchmark::Initialize), prints the console report and each case's
// ratio to its floor. Returns the process's exit status: 1 when a ratio exceeds its limit.
int runCases(const std::vector<Case>& cases);

} // namespace quarvel::bench
