// The profile store against the plain file operations it is built on, on a generated 1 MB file.
#include "bench/CaseRunner.h"
#include "bench/Floors.h"
#include "bench/GeneratedProfile.h"
#include "store/profile/ProfileStore.h"

#include <benchmark/benchmark.h>

#include <iostream>
#include <unistd.h>

namespace quarvel::bench {
namespace {

const GeneratedProfile* generated = nullptr;

const std::string& middleSection() {
    return generated->sectionNames()[generated->sectionNames().size() / 2];
}

// The floor of every read: the whole file into memory, nothing else.
void readFileFloor(benchmark::State& state) {
    while (state.KeepRunning())
        benchmark::DoNotOptimize(readWholeFile(generated->file()).data());
}

// The floor of every write: the same bytes to a new file, flushed, renamed over the old, folder flushed.
void durableRewriteFloor(benchmark::State& state) {
    while (state.KeepRunning())
        durableRewrite(generated->file(), generated->bytes());
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

// A search through every section that finds nothing, on a store that has not read the file yet.
void searchMissCold(benchmark::State& state) {
    while (state.KeepRunning()) {
        const ProfileStore store(generated->folder());
        const ProfileFile file = store.read(generated->file());
        benchmark::DoNotOptimize(file.document().findText("TEXTURE_MAX_LOAD"));
    }
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

// In this order: reads first, while the file is settled and can be kept parsed, then the writes.
const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"ReadFileFloor", readFileFloor, nullptr, 0},
        {"SectionNames/cold", sectionNamesCold, "ReadFileFloor", 5},
        {"SectionNames/warm", sectionNamesWarm, "ReadFileFloor", 0},
        {"OneSection/first", oneSectionFirst, "ReadFileFloor", 0},
        {"OneSection/repeated", oneSectionRepeated, "ReadFileFloor", 0},
        {"EverySection/snapshot", everySectionFromSnapshot, "ReadFileFloor", 5},
        {"EverySection/snapshotCold", everySectionFromSnapshotCold, "ReadFileFloor", 0},
        {"Search/missCold", searchMissCold, "ReadFileFloor", 5},
        {"EverySection/calls", everySectionByCalls, "ReadFileFloor", 0},
        {"OneKey/1000times", oneKeyThousandTimes, "ReadFileFloor", 0},
        {"DurableRewriteFloor", durableRewriteFloor, nullptr, 0, Clock::Wall},
        {"DurableKeyWrite", durableKeyWrite, "DurableRewriteFloor", 2, Clock::Wall},
    };
    return all;
}

} // namespace
} // namespace quarvel::bench

int main(int argc, char** argv) {
    using namespace quarvel::bench;
    benchmark::Initialize(&argc, argv);
    const GeneratedProfile profile({});
    generated = &profile;
    std::cout << "File: " << profile.bytes().size() << " bytes, " << profile.sectionNames().size()
              << " sections of " << GeneratedProfile::numberedKeysPerSection << " keys, CRLF, in "
              << profile.folder() << "\nWaiting for it to settle, so that the store may keep it parsed...\n";
    profile.waitUntilSettled();

    return runCases(cases());
}
