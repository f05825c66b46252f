// quarvel-ini as a player's script runs it, one process per command: on a scenery.cfg of 100,000 add-on
// areas (about 11 MB), against cat of the same file and a process that rewrites its bytes durably; and on
// the demo installation's fs9.cfg, one set after another and a merge, against crudini on a copy of it;
// and merges of 50 keys into both.
#include "bench/CaseRunner.h"
#include "bench/Floors.h"
#include "bench/GeneratedProfile.h"
#include "platform/os/TextEncoding.h"
#include "platform/os/WholeFileReader.h"
#include "store/profile/ProfileStore.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ; // NOLINT(readability-redundant-declaration): POSIX declares it nowhere

namespace quarvel::bench {
namespace {

const GeneratedProfile* generated = nullptr;

constexpr const char* crudini = "/usr/bin/crudini";

// Runs the program with its output read through a pipe, as a script's pipeline would, and its standard
// input from the file given, if any; waits for it and gives the processor time it took (user and system).
// On a machine shared with other work that is the figure to compare for what only computes: the wall time
// of a short process mostly measures how long it waited for a processor.
double runProgram(std::vector<std::string> arguments, const std::filesystem::path& input = {}) {
    std::array<int, 2> pipeEnds{};
    check(::pipe2(pipeEnds.data(), O_CLOEXEC) == 0, "pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    if (!input.empty())
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, input.c_str(), O_RDONLY, 0);
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

// Each set right after the one before, as a script runs them: the file was written moments ago, by
// another quarvel-ini, which the next one recognises and does not wait for.
void setKey(benchmark::State& state) {
    const std::string middle = generated->sectionNames()[generated->sectionNames().size() / 2];
    bool flip = false;
    while (state.KeepRunning()) {
        runProgram(
            {QUARVEL_INI, "set", generated->file().string(), middle, "Active", flip ? "TRUE" : "FALSE"});
        flip = !flip;
    }
}

// The demo installation's fs9.cfg, a copy for quarvel-ini and one in UTF-8 for crudini, and the keys set: the
// first ten of the first five sections that have ten.
struct PlayerFile {
    std::filesystem::path forQuarvel;
    std::filesystem::path forCrudini;
    std::vector<ProfileStore::Setting> keys;          // fifty, ten a section
    std::array<std::filesystem::path, 2> mergeInputs; // the fifty keys, set to one value or the other
};
const PlayerFile* player = nullptr;

constexpr std::size_t keysPerSection = 10;
constexpr std::size_t consecutiveSets = 20;

std::string valueOf(bool flip) {
    return flip ? "1" : "2";
}

// Twenty sets, four keys of each of the five sections, one process each; gives their processor time.
double twentySets(const char* program, const std::filesystem::path& file, const char* setCommand, bool flip) {
    double processorTime = 0;
    for (std::size_t set = 0; set < consecutiveSets; ++set) {
        const ProfileStore::Setting& key = player->keys[set / 4 * keysPerSection + set % 4];
        processorTime +=
            runProgram({program, setCommand, file.string(), key.section, key.key, valueOf(flip)});
    }
    return processorTime;
}

void crudiniSets(benchmark::State& state) {
    bool flip = false;
    while (state.KeepRunning()) {
        state.SetIterationTime(twentySets(crudini, player->forCrudini, "--set", flip));
        flip = !flip;
    }
}

void quarvelSets(benchmark::State& state) {
    bool flip = false;
    while (state.KeepRunning()) {
        state.SetIterationTime(twentySets(QUARVEL_INI, player->forQuarvel, "set", flip));
        flip = !flip;
    }
}

void playerDurableRewriteFloor(benchmark::State& state) {
    while (state.KeepRunning())
        runProgram({"/proc/self/exe", rewriteOption, player->forQuarvel.string()});
}

void quarvelSet(benchmark::State& state) {
    bool flip = false;
    while (state.KeepRunning()) {
        const ProfileStore::Setting& key = player->keys.front();
        runProgram({QUARVEL_INI, "set", player->forQuarvel.string(), key.section, key.key, valueOf(flip)});
        flip = !flip;
    }
}

void mergeInTurns(benchmark::State& state, const std::filesystem::path& file,
                  const std::array<std::filesystem::path, 2>& inputs) {
    std::size_t turn = 0;
    while (state.KeepRunning())
        runProgram({QUARVEL_INI, "merge", file.string()}, inputs.at(turn++ % 2));
}

void quarvelMerge(benchmark::State& state) {
    mergeInTurns(state, player->forQuarvel, player->mergeInputs);
}

const std::array<std::filesystem::path, 2>* sceneryMergeInputs = nullptr;

void sceneryMerge(benchmark::State& state) {
    mergeInTurns(state, generated->file(), *sceneryMergeInputs);
}

void writeFile(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + file.string());
}

// The keys, ten a section, as the input of two merges: one setting each to one value, one to the other.
std::array<std::filesystem::path, 2> writeMergeInputs(const std::filesystem::path& stem,
                                                      const std::vector<ProfileStore::Setting>& keys) {
    std::array<std::filesystem::path, 2> inputs;
    for (std::size_t turn = 0; turn < inputs.size(); ++turn) {
        std::string text;
        for (std::size_t key = 0; key < keys.size(); ++key) {
            if (key % keysPerSection == 0)
                text += "[" + keys[key].section + "]\n";
            text += keys[key].key + "=" + valueOf(turn == 0) + "\n";
        }
        inputs.at(turn) = stem.string() + "-merge-" + std::to_string(turn) + ".ini";
        writeFile(inputs.at(turn), text);
    }
    return inputs;
}

PlayerFile preparePlayerFile(const std::filesystem::path& folder) {
    PlayerFile file{folder / "fs9.cfg", folder / "fs9-crudini.cfg", {}, {}};
    std::filesystem::copy_file(QUARVEL_PLAYER_FS9_CFG, file.forQuarvel);
    // crudini reads UTF-8 only; the player's file is Windows-1252.
    writeFile(file.forCrudini,
              platform::windows1252ToUtf8(platform::readFileBytes(QUARVEL_PLAYER_FS9_CFG).value().view()));
    const ProfileStore store(folder, 0);
    for (const std::string& section : store.sectionNames(file.forQuarvel)) {
        const std::vector<std::string> lines = store.sectionLines(file.forQuarvel, section);
        for (std::size_t line = 0;
             lines.size() >= keysPerSection && line < keysPerSection && file.keys.size() < 5 * keysPerSection;
             ++line)
            file.keys.push_back({section, lines[line].substr(0, lines[line].find('=')), {}});
    }
    check(file.keys.size() == 5 * keysPerSection, "finding fifty keys in five sections");
    file.mergeInputs = writeMergeInputs(folder / "fs9", file.keys);
    return file;
}

// Fifty keys in five sections spread over the scenery.cfg: six it has and four it gets.
std::array<std::filesystem::path, 2> prepareSceneryMerge(const GeneratedProfile& scenery) {
    static constexpr std::array<const char*, keysPerSection> names = {
        "Title", "Texture_ID", "Local", "Layer", "Active", "Required", "Note1", "Note2", "Note3", "Note4"};
    std::vector<ProfileStore::Setting> keys;
    const std::vector<std::string>& sections = scenery.sectionNames();
    for (std::size_t tenth = 1; tenth < 10; tenth += 2) {
        for (const char* name : names)
            keys.push_back({sections[sections.size() * tenth / 10], name, {}});
    }
    return writeMergeInputs(scenery.folder() / "scenery", keys);
}

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"CatFloor", catFloor, nullptr, 0, Clock::Reported},
        {"Process/sections", listSections, "CatFloor", 6, Clock::Reported},
        {"Process/search", searchLastSection, "CatFloor", 6, Clock::Reported},
        // Both wait for the disk, which only the wall clock sees.
        {"DurableRewriteFloor", durableRewriteFloor, nullptr, 0, Clock::Wall},
        {"Process/set", setKey, "DurableRewriteFloor", 2, Clock::Wall},
        {"Process/merge 50", sceneryMerge, "Process/set", 2, Clock::Wall},
        // What a set costs against crudini's, by processor time: on a shared machine the wall time of
        // twenty short processes mostly measures how long they waited for a processor.
        {"Crudini/fs9.cfg 20 sets", crudiniSets, nullptr, 0, Clock::Reported},
        {"Process/fs9.cfg 20 sets", quarvelSets, "Crudini/fs9.cfg 20 sets", 0.1, Clock::Reported},
        // That a set does not wait for the file to settle, which only the wall clock shows: a set right
        // after another against a process that rewrites the file durably.
        {"DurableRewriteFloor/fs9.cfg", playerDurableRewriteFloor, nullptr, 0, Clock::Wall},
        {"Process/fs9.cfg set", quarvelSet, "DurableRewriteFloor/fs9.cfg", 2, Clock::Wall},
        {"Process/fs9.cfg merge 50", quarvelMerge, "Process/fs9.cfg set", 2, Clock::Wall},
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
    if (::access(crudini, X_OK) != 0) {
        std::cerr << "no " << crudini << ": bench/process-bench installs Debian's crudini, then runs this\n";
        return 2;
    }
    const GeneratedProfile profile({GeneratedProfile::Style::SceneryAreas, 100'000, "scenery.cfg"});
    generated = &profile;
    const PlayerFile fs9 = preparePlayerFile(profile.folder());
    player = &fs9;
    const std::array<std::filesystem::path, 2> sceneryMergeFiles = prepareSceneryMerge(profile);
    sceneryMergeInputs = &sceneryMergeFiles;
    std::cout << "Files: " << profile.bytes().size() << " bytes, " << profile.sectionNames().size()
              << " sections, CRLF, and the demo fs9.cfg (" << std::filesystem::file_size(fs9.forQuarvel)
              << " bytes), in " << profile.folder() << "; program " << QUARVEL_INI << '\n';
    return runCases(cases());
}
