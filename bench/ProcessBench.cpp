// quarvel-ini as a player's script runs it, one process per command, on a scenery.cfg of 100,000 add-on
// areas (about 11 MB), against cat of the same file and a process that rewrites its bytes durably.
#include "bench/CaseRunner.h"
#include "bench/Floors.h"
#include "bench/GeneratedProfile.h"
#include "platform/WholeFileReader.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <iostream>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ; // NOLINT(readability-redundant-declaration): POSIX declares it nowhere

namespace quarvel::bench {
namespace {

const GeneratedProfile* generated = nullptr;

// Longer than the quiet time a write waits for.
constexpr std::chrono::milliseconds settleWait(150);

// Runs the program with its output read through a pipe, as a script's pipeline would, waits for it and
// gives the processor time it took (user and system). On a machine shared with other work that is the
// figure to compare: the wall time of a short process mostly measures how long it waited for a processor.
double runProgram(std::vector<std::string> arguments) {
    std::array<int, 2> pipeEnds{};
    check(::pipe2(pipeEnds.data(), O_CLOEXEC) == 0, "pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    std::array<char, 65536> buffer{};
    while (::read(pipeEnds[0], buffer.data(), buffer.size()) > 0) {
    }
    ::close(pipeEnds[0]);
    errno = spawned;
    check(spawned == 0, "starting a program");
    int status = 0;
    struct rusage usage {};
    check(::wait4(child, &status, 0, &usage) == child, "waiting for a program");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(arguments[0] + " " + arguments[1] + " did not succeed");
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void catFloor(benchmark::State& state) {
    while (state.KeepRunning())
        state.SetIterationTime(runProgram({"/bin/cat", generated->file().string()}));
}

void listSections(benchmark::State& state) {
    while (state.KeepRunning())
        state.SetIterationTime(runProgram({QUARVEL_INI, "sections", generated->file().string()}));
}

void searchLastSection(benchmark::State& state) {
    while (state.KeepRunning())
        state.SetIterationTime(runProgram(
            {QUARVEL_INI, "search", generated->file().string(), GeneratedProfile::lastSectionMark}));
}

// The floor of a write, as a process of its own like quarvel-ini: this program started again to read the
// file and rewrite its bytes durably.
constexpr const char* rewriteOption = "--durable-rewrite";

void durableRewriteFloor(benchmark::State& state) {
    while (state.KeepRunning())
        runProgram({"/proc/self/exe", rewriteOption, generated->file().string()});
}

void setKey(benchmark::State& state) {
    const std::string middle = generated->sectionNames()[generated->sectionNames().size() / 2];
    bool flip = false;
    while (state.KeepRunning()) {
        // A write waits for a file changed in the last moments to settle, as another program may still be
        // writing it; the previous set is such a change. That wait is the writers' rule, not this one's cost.
        state.PauseTiming();
        std::this_thread::sleep_for(settleWait);
        state.ResumeTiming();
        runProgram(
            {QUARVEL_INI, "set", generated->file().string(), middle, "Active", flip ? "TRUE" : "FALSE"});
        flip = !flip;
    }
}

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"CatFloor", catFloor, nullptr, 0, Clock::Reported},
        {"Process/sections", listSections, "CatFloor", 6, Clock::Reported},
        {"Process/search", searchLastSection, "CatFloor", 6, Clock::Reported},
        // Both wait for the disk, which only the wall clock sees.
        {"DurableRewriteFloor", durableRewriteFloor, nullptr, 0, Clock::Wall},
        {"Process/set", setKey, "DurableRewriteFloor", 2, Clock::Wall},
    };
    return all;
}

} // namespace
} // namespace quarvel::bench

int main(int argc, char** argv) {
    using namespace quarvel::bench;
    if (argc == 3 && std::string_view(argv[1]) == rewriteOption) {
        // Read as quarvel-ini reads, so that only the parse and the splice tell the two apart.
        durableRewrite(argv[2], quarvel::platform::readFileBytes(argv[2]).value().view());
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    const GeneratedProfile profile({GeneratedProfile::Style::SceneryAreas, 100'000, "scenery.cfg"});
    generated = &profile;
    std::cout << "File: " << profile.bytes().size() << " bytes, " << profile.sectionNames().size()
              << " sections, CRLF, in " << profile.folder() << "; program " << QUARVEL_INI << '\n';
    return runCases(cases());
}
