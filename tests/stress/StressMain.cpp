// quarvel-stress: the profile store's writes under a kill -9 loop, concurrent writers, another program
// rewriting the file in place, and a full disk; every file checked byte for byte against a reference.
//
//   quarvel-stress short            a quick run of every scenario (part of the test suite)
//   quarvel-stress long             the figures: 1,000 kills, 2 and 4 writers x 500 sets, 500 sets against
//                                   an in-place writer, 200 sets on a full disk
//   quarvel-stress SCENARIO COUNT   one scenario: kills, writers2, writers4, in-place, full-disk
//
// Prints one line per scenario and exits 1 when any file was torn, half written or lost an update, or when
// a write was refused where nothing but other Quarvel writers stood in its way.
#include "store/profile/ProfileError.h"
#include "store/profile/ProfileStore.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <random>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace quarvel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Outcome {
    int runs = 0;
    int failures = 0;  // wrong files: torn, half written, updates lost
    int refusals = 0;  // writes refused in words, the file left as it was
    int leftovers = 0; // temporary copies found beside the file
    std::string note;
};

std::mt19937& random() {
    static std::mt19937 generator{std::random_device{}()};
    return generator;
}

// A name of a letter and a number; built by appending, which GCC 12 does not mistake for an overlap.
std::string numbered(char letter, int number) {
    std::string name(1, letter);
    return name.append(std::to_string(number));
}

int between(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random());
}

// A profile of about `size` bytes with CRLF line ends, as a big scenery.cfg is.
std::string generatedProfile(std::size_t size) {
    std::string bytes;
    for (int area = 0; bytes.size() < size; ++area) {
        bytes += "[Area." + std::to_string(area) + "]\r\nTitle=Scenery area " + std::to_string(area) +
                 "\r\nLocal=Scenery\\\\Area" + std::to_string(area) +
                 "\r\nActive=TRUE\r\nLayer=" + std::to_string(area) + "\r\n\r\n";
    }
    return bytes;
}

int leftoversBeside(const fs::path& file) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(file.parent_path()))
        count += entry.path().filename().string().find(".quarvel-") != std::string::npos ? 1 : 0;
    return count;
}

pid_t startChild(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child == 0)
        _exit(body());
    return child;
}

int exitCodeOf(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The bytes the store makes of `bytes` with one set, worked out on a copy.
std::string afterSet(const std::string& bytes, const std::string& key, const std::string& value) {
    const test::TempDir scratch;
    const fs::path copy = scratch.write("copy.cfg", bytes);
    ProfileStore(scratch.path(), 0).writeString(copy, "Area.7", key, value);
    return test::readBytes(copy);
}

Outcome kills(int count) {
    Outcome outcome;
    const test::TempDir dir;
    const fs::path file = dir.write("scenery.cfg", generatedProfile(1'000'000));
    for (; outcome.runs < count; ++outcome.runs) {
        const std::string before = test::readBytes(file);
        const std::string value = numbered('v', outcome.runs);
        const std::string after = afterSet(before, "Title", value);
        const pid_t child = startChild([&] {
            ProfileStore(dir.path()).writeString(file, "Area.7", "Title", value);
            return 0;
        });
        std::this_thread::sleep_for(std::chrono::microseconds(between(0, 150'000)));
        kill(child, SIGKILL);
        exitCodeOf(child);
        const std::string now = test::readBytes(file);
        outcome.failures += now != before && now != after ? 1 : 0;
        outcome.leftovers += leftoversBeside(file);
    }
    // A writer killed between naming its copy and the rename leaves it; the next write removes it.
    ProfileStore(dir.path()).writeString(file, "Area.7", "Title", "final");
    outcome.note = std::to_string(outcome.leftovers) + " copies seen right after a kill, " +
                   std::to_string(leftoversBeside(file)) + " after the next write";
    outcome.leftovers = leftoversBeside(file);
    return outcome;
}

Outcome writers(int processes, int setsEach) {
    Outcome outcome;
    const test::TempDir dir;
    const std::string original = generatedProfile(20'000);
    const fs::path file = dir.write("fs9.cfg", original);
    std::vector<pid_t> children;
    children.reserve(static_cast<std::size_t>(processes));
    for (int process = 0; process < processes; ++process) {
        children.push_back(startChild([&, process] {
            ProfileStore store(dir.path());
            int refused = 0;
            for (int set = 0; set < setsEach; ++set) {
                try {
                    store.writeString(file, "Writers", numbered('w', process * setsEach + set), "1");
                } catch (const ProfileError&) {
                    ++refused;
                }
            }
            return std::min(refused, 255);
        }));
    }
    for (const pid_t child : children)
        outcome.refusals += exitCodeOf(child);
    outcome.runs = processes * setsEach;
    // Every set that was not refused is in the file, in some order, after the original bytes.
    const std::string bytes = test::readBytes(file);
    ProfileStore reader(dir.path());
    const std::size_t present = reader.sectionLines(file, "Writers").size();
    outcome.failures = outcome.runs - outcome.refusals - static_cast<int>(present);
    if (bytes.compare(0, original.size(), original) != 0)
        ++outcome.failures;
    outcome.leftovers = leftoversBeside(file);
    return outcome;
}

// Two versions another program saves in turn, each begun and ended by a mark, with Quarvel's section in
// the middle.
std::string outsideVersion(char version) {
    return "[Begin]\r\nMark=" + std::string(1, version) + "\r\n" + generatedProfile(4'000) +
           "[Quarvel]\r\nFrom=" + std::string(1, version) + "\r\n\r\n" + generatedProfile(4'000) +
           "[End]\r\nMark=" + std::string(1, version) + "\r\n";
}

// The file without Quarvel's keys is one of the outside versions, whole.
bool isWholeOutsideVersion(std::string bytes) {
    for (std::size_t key = bytes.find("\r\nq"); key != std::string::npos; key = bytes.find("\r\nq", key))
        bytes.erase(key + 2, bytes.find("\r\n", key + 2) - key);
    return bytes == outsideVersion('A') || bytes == outsideVersion('B');
}

// Rewrites the file in place as the simulator saves fs9.cfg: truncate, part, pause, the rest; before each
// rewrite it looks at what is there, which only Quarvel's writes can have changed since its last save.
int inPlaceWriter(const fs::path& file, const std::atomic<bool>& stop) {
    int halfFiles = 0;
    for (char version = 'A'; !stop; version = version == 'A' ? 'B' : 'A') {
        halfFiles += isWholeOutsideVersion(test::readBytes(file)) ? 0 : 1;
        const std::string bytes = outsideVersion(version);
        const std::size_t part = static_cast<std::size_t>(between(1, static_cast<int>(bytes.size()) - 1));
        const int fd = ::open(file.c_str(), O_WRONLY | O_TRUNC);
        if (fd < 0 || ::write(fd, bytes.data(), part) != static_cast<ssize_t>(part))
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(between(0, 20)));
        if (::write(fd, bytes.data() + part, bytes.size() - part) !=
            static_cast<ssize_t>(bytes.size() - part))
            return -1;
        ::close(fd);
        std::this_thread::sleep_for(std::chrono::milliseconds(between(20, 200)));
    }
    return halfFiles;
}

Outcome inPlace(int count) {
    Outcome outcome;
    const test::TempDir dir;
    const fs::path file = dir.write("fs9.cfg", outsideVersion('A'));
    std::atomic<bool> stop = false;
    int halfFiles = 0;
    std::thread outside([&] { halfFiles = inPlaceWriter(file, stop); });
    ProfileStore store(dir.path());
    for (; outcome.runs < count; ++outcome.runs) {
        try {
            store.writeString(file, "Quarvel", numbered('q', outcome.runs), "1");
        } catch (const ProfileError&) {
            ++outcome.refusals;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(between(0, 30)));
    }
    stop = true;
    outside.join();
    outcome.failures = halfFiles < 0 ? 1 : halfFiles + (isWholeOutsideVersion(test::readBytes(file)) ? 0 : 1);
    outcome.leftovers = leftoversBeside(file);
    return outcome;
}

// On a 256 kB file system of its own (needs root and a mount namespace, in a child): values grow until
// the disk is full; every write either gives the reference or leaves the file as it was.
Outcome fullDisk(int count) {
    Outcome outcome;
    const test::TempDir dir;
    const test::TempDir scratch;
    const fs::path results = scratch / "results";
    const int code = exitCodeOf(startChild([&] {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=256k") != 0)
            return 2;
        const fs::path file = dir.write("fs9.cfg", generatedProfile(60'000));
        ProfileStore store(dir.path(), 0);
        Outcome inChild;
        for (; inChild.runs < count; ++inChild.runs) {
            const std::string before = test::readBytes(file);
            const std::string value(static_cast<std::size_t>(between(1, 120'000)), 'x');
            const std::string after = afterSet(before, "Big" + std::to_string(inChild.runs % 3), value);
            bool refused = false;
            try {
                store.writeString(file, "Area.7", "Big" + std::to_string(inChild.runs % 3), value);
            } catch (const ProfileError&) {
                refused = true;
                ++inChild.refusals;
            }
            inChild.failures += test::readBytes(file) != (refused ? before : after) ? 1 : 0;
            inChild.leftovers += leftoversBeside(file);
        }
        const std::string summary = std::to_string(inChild.failures) + " " +
                                    std::to_string(inChild.refusals) + " " +
                                    std::to_string(inChild.leftovers);
        scratch.write("results", summary);
        return 0;
    }));
    if (code == 2) {
        outcome.note = "skipped: needs root and a mount namespace";
        return outcome;
    }
    outcome.runs = count;
    std::sscanf(test::readBytes(results).c_str(), "%d %d %d", &outcome.failures, &outcome.refusals,
                &outcome.leftovers);
    return outcome;
}

struct Scenario {
    const char* name;
    std::function<Outcome(int)> run;
    int shortCount;
    int longCount;
    bool refusalsAllowed; // where the disk fills up or another program keeps the file busy
};

const std::vector<Scenario>& scenarios() {
    static const std::vector<Scenario> all = {
        {"kills", kills, 10, 1000, false},
        // Writers in a tight loop wait their turns in the kernel's queue, and none is refused.
        {"writers2", [](int count) { return writers(2, count); }, 10, 500, false},
        {"writers4", [](int count) { return writers(4, count); }, 40, 500, false},
        {"in-place", inPlace, 10, 500, true},
        {"full-disk", fullDisk, 20, 200, true},
    };
    return all;
}

bool report(const Scenario& scenario, int count) {
    const auto start = std::chrono::steady_clock::now();
    const Outcome outcome = scenario.run(count);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-10s %5d runs: %d wrong files, %d refused in words, %d temporary files left%s%s (%.1f s)\n",
                scenario.name, outcome.runs, outcome.failures, outcome.refusals, outcome.leftovers,
                outcome.note.empty() ? "" : "; ", outcome.note.c_str(), seconds);
    std::fflush(stdout);
    return outcome.failures == 0 && outcome.leftovers == 0 &&
           (scenario.refusalsAllowed || outcome.refusals == 0);
}

} // namespace
} // namespace quarvel

int main(int argc, char** argv) {
    using namespace quarvel;
    const std::string mode = argc > 1 ? argv[1] : "";
    bool passed = true;
    if ((mode == "short" || mode == "long") && argc == 2) {
        for (const Scenario& scenario : scenarios())
            passed = report(scenario, mode == "short" ? scenario.shortCount : scenario.longCount) && passed;
        return passed ? 0 : 1;
    }
    for (const Scenario& scenario : scenarios()) {
        if (argc == 3 && mode == scenario.name)
            return report(scenario, std::atoi(argv[2])) ? 0 : 1;
    }
    std::fprintf(stderr,
                 "usage: quarvel-stress short|long|kills N|writers2 N|writers4 N|in-place N|full-disk N\n");
    return 2;
}
