#pragma once

#include "platform/Launcher.h"

namespace quarvel::platform {

// Starts programs as their own session, detached from Quarvel (they outlive it and are never its
// zombies), and opens web addresses with xdg-open.
class PosixLauncher final : public Launcher {
public:
    Result<void> startDetached(const std::string& program, const std::vector<std::string>& arguments,
                               const std::filesystem::path& workingDirectory,
                               const std::vector<EnvironmentVariable>& environment) override;
    Result<void> openWebAddress(const std::string& address) override;
};

} // namespace quarvel::platform
