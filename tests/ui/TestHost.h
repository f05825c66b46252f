#pragma once

#include "store/Fs9Locations.h"
#include "tests/support/FakeLauncher.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/support/TempDir.h"
#include "ui/editor/EditorHost.h"

#include <filesystem>
#include <memory>

namespace quarvel::test {

// A Wine prefix of the test's own in a temporary folder, with a registry in memory, shipped help files
// in a folder of their own, and a launcher that only records what it is asked to start. A complete one has
// the simulator installed and an empty fs9.cfg, so that a main window starts without a word; a bare one has
// neither.
class TestHost {
public:
    enum class Installation { Complete, Bare };

    explicit TestHost(Installation installation = Installation::Complete) {
        std::filesystem::create_directories(dir / "prefix" / "drive_c" / "windows");
        std::filesystem::create_directories(shippedHelp());
        auto memory = std::make_unique<MemoryRegistry>();
        registry = memory.get();
        auto recorder = std::make_unique<FakeLauncher>();
        launcher = recorder.get();
        host = std::make_unique<EditorHost>(platform::WinePrefix(dir / "prefix"), std::move(memory),
                                            shippedHelp(), std::move(recorder), copies());
        if (installation == Installation::Complete) {
            installSimulator();
            write(fs9Cfg(), "");
        }
    }

    // Where the main window looks for the user's fs9.cfg.
    std::filesystem::path fs9Cfg() const {
        return userFs9CfgPath(host->prefix(), platform::kDefaultWindowsVersion);
    }

    std::filesystem::path shippedHelp() const { return dir / "shipped-help"; }
    // Where the files are copied before their first change.
    std::filesystem::path copies() const { return dir / "state" / "copies"; }
    std::filesystem::path windowsDirectory() const { return host->prefix().windowsDirectory(); }
    // Where the simulator's folder lies once installSimulator() has run.
    std::filesystem::path simulatorFolder() const { return dir / "prefix" / "drive_c" / "FS9"; }

    // Gives the registry the simulator's key with "EXE Path" naming C:\FS9 (trailing separator included,
    // as some installers write it) and creates that folder.
    void installSimulator() const {
        std::filesystem::create_directories(simulatorFolder());
        registry->putString(HKEY_LOCAL_MACHINE, kFs9RegistryKey, kFs9ExePathValue, "C:\\FS9\\");
    }

    // Writes a file below the prefix; the path is relative to the prefix's root.
    std::filesystem::path write(const std::filesystem::path& file, std::string_view bytes) const {
        return dir.write(std::filesystem::relative(file, dir.path()).string(), bytes);
    }

    TempDir dir;
    MemoryRegistry* registry = nullptr;
    FakeLauncher* launcher = nullptr;
    std::unique_ptr<EditorHost> host;
};

} // namespace quarvel::test
