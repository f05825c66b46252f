#pragma once

#include "platform/os/Launcher.h"
#include "platform/wine/WinePrefix.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quarvel::sim {

// Wine that cannot run the simulator (no 32-bit Wine, a broken prefix) ends within this time.
constexpr std::chrono::milliseconds kLaunchWatchTime{2000};

// How the simulator is started: Wine, given fs9.exe and the /cfg: argument as Windows paths, in the
// simulator's folder, on the prefix Quarvel works on.
struct LaunchPlan {
    std::string program;                // Wine
    std::vector<std::string> arguments; // fs9.exe, then "/cfg:..." when a configuration is named
    std::vector<platform::EnvironmentVariable> environment;
    std::filesystem::path workingDirectory;

    // The simulator's command line as Windows would show it: each argument in double quotes, separated
    // by one blank.
    std::string commandLine() const;

    // Starts it and watches it for kLaunchWatchTime: how it ended when it failed in that time, else nothing.
    platform::Result<std::optional<platform::ProgramEnd>> start(platform::Launcher& launcher) const;
};

// Why the simulator cannot be started; path names the file concerned.
struct LaunchRefusal {
    enum class Reason {
        FolderUnknown, // the registry did not say where the simulator lies
        Missing,       // fs9.exe, or the program $WINE names
        OutsideDrives, // a file no drive of the prefix holds, so no Windows path names it
        WineNotFound,  // no $WINE, and neither wine nor wine64 on PATH
    };
    Reason reason;
    std::string path;
};

// The simulator in simulatorFolder (empty: unknown), started with the configuration file given, or with
// the player's own when there is none. fs9.exe is found whatever the case of its name. Wine is $WINE when
// it is set (a program missing there is not replaced by another), else wine, else wine64 from PATH.
// The last lines of a program's output, at most count of them, without the line end of the last.
std::string lastLines(const std::string& output, std::size_t count);

std::variant<LaunchPlan, LaunchRefusal> planLaunch(const platform::WinePrefix& prefix,
                                                   const std::filesystem::path& simulatorFolder,
                                                   const std::optional<std::filesystem::path>& configuration);

} // namespace quarvel::sim
