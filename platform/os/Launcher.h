#pragma once

#include "platform/os/Result.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quarvel::platform {

// A variable a started program finds in its environment, in place of Quarvel's own value.
struct EnvironmentVariable {
    std::string name;
    std::string value;

    bool operator==(const EnvironmentVariable&) const = default;
};

// How a watched program ended while it was watched.
struct ProgramEnd {
    int exitStatus = 0;      // what it returned, when it returned
    int signal = 0;          // the signal that ended it; 0 when it returned
    std::string errorOutput; // the last bytes it wrote to its error output (a few kilobytes at most)

    bool failed() const { return exitStatus != 0 || signal != 0; }
};

// The program a name stands for: the name itself when it holds a slash, else the first executable file of
// that name in the folders of PATH. Fails with ENOENT, naming the program, when there is none.
Result<std::string> findProgram(const std::string& program);

// Starting other programs: the simulator and the user's browser. An interface, so that tests of the
// commands that start them can watch what would be started instead of starting it.
class Launcher {
public:
    virtual ~Launcher();

    // Starts the program with the arguments in the working directory (the current one when empty), with
    // Quarvel's environment changed by the variables given, and does not wait for it. A program name
    // without a slash is looked up in PATH. Fails when the program cannot be started; what it does once
    // started is not watched.
    virtual Result<void> startDetached(const std::string& program, const std::vector<std::string>& arguments,
                                       const std::filesystem::path& workingDirectory,
                                       const std::vector<EnvironmentVariable>& environment) = 0;

    // Starts the program as startDetached does, with its error output through a pipe, and watches it for
    // the time given: how it ended when it ended in that time, nothing when it still runs (its error output
    // then goes on to Quarvel's own). Blocks for as long as it watches.
    virtual Result<std::optional<ProgramEnd>>
    startWatched(const std::string& program, const std::vector<std::string>& arguments,
                 const std::filesystem::path& workingDirectory,
                 const std::vector<EnvironmentVariable>& environment,
                 std::chrono::milliseconds watchTime) = 0;

    // Opens an http: or https: address in the user's browser; any other address is refused.
    virtual Result<void> openWebAddress(const std::string& address) = 0;
};

} // namespace quarvel::platform
