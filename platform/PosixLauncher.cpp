#include "platform/PosixLauncher.h"

#include "platform/TextEncoding.h"
#include "platform/UniqueFd.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <string_view>

extern char** environ; // NOLINT(readability-redundant-declaration): POSIX declares it nowhere in C++

namespace quarvel::platform {
namespace {

// Only calls that are safe between fork and exec from here on: the parent may have other threads.
[[noreturn]] void reportAndExit(int pipeEnd, int errorNumber) {
    [[maybe_unused]] const ssize_t written = write(pipeEnd, &errorNumber, sizeof errorNumber);
    _exit(127);
}

[[noreturn]] void runDetached(int pipeEnd, const char* executable, char* const* argv, char* const* envp,
                              const char* directory) {
    setsid();
    const pid_t grandchild = fork();
    if (grandchild < 0)
        reportAndExit(pipeEnd, errno);
    if (grandchild > 0)
        _exit(0);
    if (directory != nullptr && chdir(directory) != 0)
        reportAndExit(pipeEnd, errno);
    execve(executable, argv, envp);
    reportAndExit(pipeEnd, errno);
}

void waitForExit(pid_t child) {
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
}

// The error number the detached program reported before it could run, or 0 when it runs: the pipe closes
// without a word when exec succeeds.
int errorFromPipe(int pipeEnd) {
    int errorNumber = 0;
    ssize_t count = 0;
    do {
        count = read(pipeEnd, &errorNumber, sizeof errorNumber);
    } while (count < 0 && errno == EINTR);
    return count == static_cast<ssize_t>(sizeof errorNumber) ? errorNumber : 0;
}

bool setsVariable(std::string_view entry, const std::vector<EnvironmentVariable>& changes) {
    const std::string_view name = entry.substr(0, entry.find('='));
    for (const EnvironmentVariable& change : changes) {
        if (change.name == name)
            return true;
    }
    return false;
}

// Quarvel's environment with the changes: "NAME=value" entries, built before the fork, since the child
// may not allocate.
std::vector<std::string> environmentWith(const std::vector<EnvironmentVariable>& changes) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (!setsVariable(*entry, changes))
            entries.emplace_back(*entry);
    }
    for (const EnvironmentVariable& change : changes)
        entries.push_back(change.name + "=" + change.value);
    return entries;
}

// The pointers execve takes, ending in a null pointer; they point into the words, which must outlive them.
std::vector<char*> nullTerminated(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    pointers.reserve(words.size() + 1);
    for (std::string& word : words)
        pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return pointers;
}

bool hasWebScheme(const std::string& address) {
    std::string scheme;
    for (const char c : address.substr(0, address.find(':')))
        scheme.push_back(static_cast<char>(foldCase(static_cast<unsigned char>(c))));
    return (scheme == "http" || scheme == "https") && address.find(':') != std::string::npos;
}

} // namespace

Result<void> PosixLauncher::startDetached(const std::string& program,
                                          const std::vector<std::string>& arguments,
                                          const std::filesystem::path& workingDirectory,
                                          const std::vector<EnvironmentVariable>& environment) {
    const Result<std::string> executable = findProgram(program);
    if (!executable)
        return executable.failure();
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    const std::vector<char*> argv = nullTerminated(words);
    std::vector<std::string> variables = environmentWith(environment);
    const std::vector<char*> envp = nullTerminated(variables);
    const char* directory = workingDirectory.empty() ? nullptr : workingDirectory.c_str();

    std::array<int, 2> pipeEnds{};
    if (pipe2(pipeEnds.data(), O_CLOEXEC) != 0)
        return Failure::fromErrno(errno, "starting " + program);
    UniqueFd readEnd(pipeEnds[0]);
    UniqueFd writeEnd(pipeEnds[1]);
    const pid_t child = fork();
    if (child == 0) {
        readEnd.close();
        runDetached(writeEnd.get(), executable.value().c_str(), argv.data(), envp.data(), directory);
    }
    const int forkError = errno;
    writeEnd.close();
    if (child < 0)
        return Failure::fromErrno(forkError, "starting " + program);
    waitForExit(child);
    const int startError = errorFromPipe(readEnd.get());
    if (startError != 0)
        return Failure::fromErrno(startError,
                                  "starting " + program +
                                      (directory != nullptr ? " in " + workingDirectory.string() : ""));
    return {};
}

Result<void> PosixLauncher::openWebAddress(const std::string& address) {
    if (!hasWebScheme(address))
        return Failure{EINVAL, "\"" + address + "\" is not a web address"};
    return startDetached("xdg-open", {address}, {}, {});
}

} // namespace quarvel::platform
