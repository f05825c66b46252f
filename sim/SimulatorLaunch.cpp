#include "sim/SimulatorLaunch.h"

#include "platform/wine/PathCase.h"

#include <cstdlib>
#include <system_error>

namespace quarvel::sim {
namespace {

using Reason = LaunchRefusal::Reason;

std::variant<std::string, LaunchRefusal> findWine() {
    if (const char* chosen = std::getenv("WINE"); chosen != nullptr && *chosen != '\0') {
        const platform::Result<std::string> program = platform::findProgram(chosen);
        std::error_code error;
        if (!program || !std::filesystem::exists(program.value(), error))
            return LaunchRefusal{Reason::Missing, chosen};
        return program.value();
    }
    for (const char* name : {"wine", "wine64"}) {
        if (platform::findProgram(name))
            return std::string(name);
    }
    return LaunchRefusal{Reason::WineNotFound, {}};
}

// Adds the file's Windows path after the text to the arguments, or says why no Windows path names it.
std::optional<LaunchRefusal> appendWindowsPath(const platform::WinePrefix& prefix,
                                               const std::filesystem::path& file, const std::string& before,
                                               std::vector<std::string>& arguments) {
    const platform::Result<std::string> windowsPath = prefix.toWindowsPath(file);
    if (!windowsPath)
        return LaunchRefusal{Reason::OutsideDrives, file.string()};
    arguments.push_back(before + windowsPath.value());
    return std::nullopt;
}

} // namespace

std::string LaunchPlan::commandLine() const {
    std::string line;
    for (const std::string& argument : arguments)
        line.append(line.empty() ? "" : " ").append("\"").append(argument).append("\"");
    return line;
}

platform::Result<std::optional<platform::ProgramEnd>> LaunchPlan::start(platform::Launcher& launcher) const {
    platform::Result<std::optional<platform::ProgramEnd>> started =
        launcher.startWatched(program, arguments, workingDirectory, environment, kLaunchWatchTime);
    if (started && started.value() && !started.value()->failed())
        return std::optional<platform::ProgramEnd>();
    return started;
}

std::string lastLines(const std::string& output, std::size_t count) {
    const std::size_t end = output.find_last_not_of("\r\n");
    if (end == std::string::npos || count == 0)
        return {};
    std::size_t searchFrom = end;
    for (std::size_t lines = 0; lines < count; ++lines) {
        const std::size_t newline = output.rfind('\n', searchFrom);
        if (newline == std::string::npos)
            break;
        if (lines + 1 == count || newline == 0)
            return output.substr(newline + 1, end - newline);
        searchFrom = newline - 1;
    }
    return output.substr(0, end + 1);
}

std::variant<LaunchPlan, LaunchRefusal>
planLaunch(const platform::WinePrefix& prefix, const std::filesystem::path& simulatorFolder,
           const std::optional<std::filesystem::path>& configuration) {
    if (simulatorFolder.empty())
        return LaunchRefusal{Reason::FolderUnknown, {}};
    const std::filesystem::path executable = platform::resolveCase(simulatorFolder / "fs9.exe");
    std::error_code error;
    if (!std::filesystem::is_regular_file(executable, error))
        return LaunchRefusal{Reason::Missing, executable.string()};

    LaunchPlan plan;
    if (auto refusal = appendWindowsPath(prefix, executable, "", plan.arguments))
        return *refusal;
    if (configuration) {
        if (auto refusal = appendWindowsPath(prefix, *configuration, "/cfg:", plan.arguments))
            return *refusal;
    }
    std::variant<std::string, LaunchRefusal> wine = findWine();
    if (auto* refusal = std::get_if<LaunchRefusal>(&wine))
        return *refusal;
    plan.program = std::get<std::string>(wine);
    plan.environment = {{"WINEPREFIX", std::filesystem::absolute(prefix.root(), error).string()}};
    plan.workingDirectory = simulatorFolder;
    return plan;
}

} // namespace quarvel::sim
