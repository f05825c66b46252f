#pragma once

#include "platform/os/Launcher.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quarvel::test {

// Records what would have been started, and answers with the failure a test gives it, or success; a watched
// start answers with the ending the test gives it, or that the program runs.
class FakeLauncher : public platform::Launcher {
public:
    struct Start {
        std::string program;
        std::vector<std::string> arguments;
        std::filesystem::path workingDirectory;
        std::vector<platform::EnvironmentVariable> environment;
    };

    std::vector<Start> starts;
    std::vector<std::string> webAddresses;
    std::optional<platform::Failure> failure;
    std::optional<platform::ProgramEnd> ending;

    platform::Result<void>
    startDetached(const std::string& program, const std::vector<std::string>& arguments,
                  const std::filesystem::path& workingDirectory,
                  const std::vector<platform::EnvironmentVariable>& environment) override {
        starts.push_back({program, arguments, workingDirectory, environment});
        return answer();
    }

    platform::Result<std::optional<platform::ProgramEnd>>
    startWatched(const std::string& program, const std::vector<std::string>& arguments,
                 const std::filesystem::path& workingDirectory,
                 const std::vector<platform::EnvironmentVariable>& environment,
                 std::chrono::milliseconds /*watchTime*/) override {
        starts.push_back({program, arguments, workingDirectory, environment});
        if (failure)
            return *failure;
        return ending;
    }

    platform::Result<void> openWebAddress(const std::string& address) override {
        webAddresses.push_back(address);
        return answer();
    }

private:
    platform::Result<void> answer() const {
        if (failure)
            return *failure;
        return {};
    }
};

} // namespace quarvel::test
