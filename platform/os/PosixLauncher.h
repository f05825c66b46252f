#pragma once

#include "platform/os/Launcher.h"

namespace quarvel::platform {

// Starts programs as their own session, detached from Quarvel (they outlive it and are never its
// zombies), and opens web addresses with xdg-open. A watched program is watched by a process of its own
// session, which afterwards passes its error output on until it ends.
class PosixLauncher final : public Launcher {
public:
    Result<void> startDetached(const std::string& program, const std::vector<std::string>& arguments,
                               const std::filesystem::path& workingDirectory,
                               const std::vector<EnvironmentVariable>& environment) override;
    Result<std::optional<ProgramEnd>> startWatched(const std::string& program,
                                                   const std::vector<std::string>& arguments,
                                                   const std::filesystem::path& workingDirectory,
                                                   const std::vector<EnvironmentVariable>& environment,
                                                   std::chrono::milliseconds watchTime) override;
    Result<void> openWebAddress(const std::string& address) override;
};

} // namespace quarvel::platform
