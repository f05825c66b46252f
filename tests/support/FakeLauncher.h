#pragma once

#include "platform/Launcher.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quarvel::test {

// Records what would have been started, and answers with the failure a test gives it, or success.
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

    platform::Result<void>
    startDetached(const std::string& program, const std::vector<std::string>& arguments,
                  const std::filesystem::path& workingDirectory,
                  const std::vector<platform::EnvironmentVariable>& environment) override {
        starts.push_back({program, arguments, workingDirectory, environment});
        return answer();
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
