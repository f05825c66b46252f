// The profile store against the plain file operations it is built on, on a generated 1 MB file.
#include "bench/FloorRatioReporter.h"
#include "bench/GeneratedProfile.h"
#include "store/ProfileStore.h"

#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel::bench {
namespace {

const GeneratedProfile* generated = nullptr;

const std::string& middleSection() {
    return generated->sectionNames()[GeneratedProfile::sectionCount / 2];
}

void check(bool succeeded, const char* what) {
    if (!succeeded)
        throw std::runtime_error(std::string(what) + " failed: " + std::strerror(errno));
}

// The floor of every read: the whole file into memory, nothing else.
void readFileFloor(benchmark::State& state) {
    while (state.KeepRunning()) {
        const int fd = ::open(generated->file().c_str(), O_RDONLY | O_CLOEXEC);
        struct stat status {};
        check(fd >= 0 && ::fstat(fd, &status) == 0, "open");
        std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
        std::size_t filled = 0;
        for (ssize_t count = 1; filled < bytes.size() && count > 0; filled += static_cast<std::size_t>(count))
            count = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        ::close(fd);
        benchmark::DoNotOptimize(bytes.data());
    }
}

// The floor of every write: the same bytes to a new file, flushed, renamed over the old, folder flushed.
void durableRewriteFloor(benchmark::State& state) {
    const std::filesystem::path temporary = generated->folder() / ".generated.cfg.new";
    const std::string& bytes = generated->bytes();
    while (state.KeepRunning()) {
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        check(fd >= 0, "open");
        check(::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()), "write");
        check(::fsync(fd) == 0 && ::close(fd) == 0, "fsync");
        check(::rename(temporary.c_str(), generated->file().c_str()) == 0, "rename");
        const int folder = ::open(generated->folder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        check(folder >= 0 && ::fsync(folder) == 0 && ::close(folder) == 0, "folder fsync");
    }
}

void sectionNamesCold(benchmark::State& state) {
    while (state.KeepRunning()) {
        const ProfileStore store(generated->folder());
        benchmark::DoNotOptimize(store.sectionNames(generated->file()));
    }
}

void sectionNamesWarm(benchmark::State& state) {
    const ProfileStore store(generated->folder());
    store.sectionNames(generated->file());
    while (state.KeepRunning())
        benchmark::DoNotOptimize(store.sectionNames(generated->file()));
}

void oneSectionFirst(benchmark::State& state) {
    while (state.KeepRunning()) {
        const ProfileStore store(generated->folder());
        benchmark::DoNotOptimize(store.sectionLines(generated->file(), middleSection()));
    }
}

void oneSectionRepeated(benchmark::State& state) {
    const ProfileStore store(generated->folder());
    store.sectionLines(generated->file(), middleSection());
    while (state.KeepRunning())
        benchmark::DoNotOptimize(store.sectionLines(generated->file(), middleSection()));
}

// The search pattern, one store call per section: each call looks at the file on disk again.
void everySectionByCalls(benchmark::State& state) {
    const ProfileStore store(generated->folder());
    store.sectionNames(generated->file());
    while (state.KeepRunning()) {
        for (const std::string& name : store.sectionNames(generated->file()))
            benchmark::DoNotOptimize(store.sectionLines(generated->file(), name));
    }
}

void searchEverySection(const ProfileStore& store) {
    const ProfileFile file = store.read(generated->file());
    for (std::string_view name : file.sectionNames())
        benchmark::DoNotOptimize(file.sectionLines(name));
}

// The search pattern on one version of the file, as the search reads it.
void everySectionFromSnapshot(benchmark::State& state) {
    const ProfileStore store(generated->folder());
    store.read(generated->file());
    while (state.KeepRunning())
        searchEverySection(store);
}

void everySectionFromSnapshotCold(benchmark::State& state) {
    while (state.KeepRunning())
        searchEverySection(ProfileStore(generated->folder()));
}

void oneKeyThousandTimes(benchmark::State& state) {
    const ProfileStore store(generated->folder());
    while (state.KeepRunning()) {
        for (int i = 0; i < 1000; ++i)
            benchmark::DoNotOptimize(store.getString(generated->file(), middleSection(), "Key7", ""));
    }
}

void durableKeyWrite(benchmark::State& state) {
    ProfileStore store(generated->folder());
    bool flip = false;
    while (state.KeepRunning()) {
        store.writeString(generated->file(), middleSection(), "Key7", flip ? "ValueAAAAAA" : "ValueBBBBBB");
        flip = !flip;
    }
}

struct Case {
    const char* name;
    void (*run)(benchmark::State&);
    const char* floor;
    double limit;
};

// In this order: reads first, while the file is settled and can be kept parsed, then the writes.
const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"ReadFileFloor", readFileFloor, nullptr, 0},
        {"SectionNames/cold", sectionNamesCold, "ReadFileFloor", 0},
        {"SectionNames/warm", sectionNamesWarm, "ReadFileFloor", 0},
        {"OneSection/first", oneSectionFirst, "ReadFileFloor", 0},
        {"OneSection/repeated", oneSectionRepeated, "ReadFileFloor", 0},
        {"EverySection/snapshot", everySectionFromSnapshot, "ReadFileFloor", 5},
        {"EverySection/snapshotCold", everySectionFromSnapshotCold, "ReadFileFloor", 0},
        {"EverySection/calls", everySectionByCalls, "ReadFileFloor", 0},
        {"OneKey/1000times", oneKeyThousandTimes, "ReadFileFloor", 0},
        {"DurableRewriteFloor", durableRewriteFloor, nullptr, 0},
        {"DurableKeyWrite", durableKeyWrite, "DurableRewriteFloor", 2},
    };
    return all;
}

} // namespace
} // namespace quarvel::bench

int main(int argc, char** argv) {
    using namespace quarvel::bench;
    benchmark::Initialize(&argc, argv);
    const GeneratedProfile profile;
    generated = &profile;
    std::cout << "File: " << profile.bytes().size() << " bytes, " << GeneratedProfile::sectionCount
              << " sections of " << GeneratedProfile::keysPerSection << " keys, CRLF, in " << profile.folder()
              << "\nWaiting for it to settle, so that the store may keep it parsed...\n";
    profile.waitUntilSettled();

    std::vector<FloorRatioReporter::Comparison> comparisons;
    for (const Case& entry : cases()) {
        // The library keeps what it registers for the whole run.
        benchmark::RegisterBenchmark(entry.name, entry.run) // NOLINT(clang-analyzer-cplusplus.NewDeleteLeaks)
            ->UseRealTime()
            ->Unit(benchmark::kMicrosecond);
        if (entry.floor != nullptr)
            comparisons.push_back({entry.name, entry.floor, entry.limit});
    }
    FloorRatioReporter reporter(::isatty(STDOUT_FILENO) != 0 ? benchmark::ConsoleReporter::OO_Defaults
                                                             : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios(std::cout, comparisons);
    benchmark::Shutdown();
    return 0;
}
