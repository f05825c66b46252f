// What looking for the simulator in the prefix managers' folders adds to start-up: twenty prefixes with a
// 5 MB system.reg each, the simulator's key last in every file and its folder present in one prefix only,
// so that every file is read to its end. The default prefix has no system.reg, so the search runs.
#include "platform/wine/PrefixDiscovery.h"
#include "tests/support/SimulatorPrefix.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

constexpr int kPrefixCount = 20;
constexpr std::size_t kSystemRegBytes = 5'000'000;

class ScratchHome {
public:
    ScratchHome() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quarvel-prefix-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a scratch folder");
        m_home = pattern;
        for (int index = 0; index < kPrefixCount; ++index) {
            const std::string name = "game" + std::to_string(index);
            quarvel::test::writeSimulatorPrefix(m_home / ".local/share/wineprefixes" / name, "C:\\FS9",
                                                index == kPrefixCount / 2, kSystemRegBytes);
        }
    }
    ~ScratchHome() { std::filesystem::remove_all(m_home); }
    ScratchHome(const ScratchHome&) = delete;
    ScratchHome& operator=(const ScratchHome&) = delete;

    const std::filesystem::path& path() const { return m_home; }

private:
    std::filesystem::path m_home;
};

// Made on first use and removed at exit; the first measurement runs after it is written.
const ScratchHome& scratchHome() {
    static const ScratchHome home;
    return home;
}

void choosePrefixAmongTwenty(benchmark::State& state) {
    const std::filesystem::path& home = scratchHome().path();
    state.SetLabel(std::to_string(kPrefixCount) + " prefixes, " + std::to_string(kSystemRegBytes) +
                   "-byte system.reg each; target at most 200 ms");
    while (state.KeepRunning()) {
        const quarvel::platform::PrefixChoice choice =
            quarvel::platform::choosePrefix(std::nullopt, "", home);
        benchmark::DoNotOptimize(choice.prefix.root());
        if (!choice.offers.empty() || choice.prefix.root().filename() != "game10")
            state.SkipWithError("the one prefix with the simulator was not chosen");
    }
}

} // namespace

BENCHMARK(choosePrefixAmongTwenty)->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
