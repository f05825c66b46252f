#include "platform/PosixLauncher.h"

#include "platform/TextEncoding.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <string_view>

extern char** environ; // NOLINT(readability-redundant-declaration): POSIX declares it nowhere in C++

namespace quarvel::platform {
namespace {

bool isExecutableFile(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && access(path.c_str(), X_OK) == 0;
}

Result<std::string> findExecutable(const std::string& program) {
    if (program.empty())
        return Failure{ENOENT, "no program to start"};
    if (program.find('/') != std::string::npos)
        return program;
    const char* searchPath = std::getenv("PATH");
    std::string_view folders = searchPath != nullptr ? searchPath : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const std::size_t end = folders.find(':');
        const std::string_view folder = folders.substr(0, end);
        const std::string candidate =
            (folder.empty() ? std::string(".") : std::string(folder)) + "/" + program;
        if (isExecutableFile(candidate))
            return candidate;
        if (end == std::string_view::npos)
            break;
        folders.remove_prefix(end + 1);
    }
    return Failure{ENOENT, "starting " + program + ": not found in PATH"};
}

// Only calls that are safe between fork and exec from here on: the parent may have other threads.
[[noreturn]] void reportAndExit(int pipeEnd, int errorNumber) {
    [[maybe_unused]] const ssize_t written = write(pipeEnd, &errorNumber, sizeof errorNumber);
    _exit(127);
}

[[noreturn]] void runDetached(int pipeEnd, const char* executable, char* const* argv, const char* directory) {
    setsid();
    const pid_t grandchild = fork();
    if (grandchild < 0)
        reportAndExit(pipeEnd, errno);
    if (grandchild > 0)
        _exit(0);
    if (directory != nullptr && chdir(directory) != 0)
        reportAndExit(pipeEnd, errno);
    execve(executable, argv, environ);
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

bool hasWebScheme(const std::string& address) {
    std::string scheme;
    for (const char c : address.substr(0, address.find(':')))
        scheme.push_back(static_cast<char>(foldCase(static_cast<unsigned char>(c))));
    return (scheme == "http" || scheme == "https") && address.find(':') != std::string::npos;
}

} // namespace

Result<void> PosixLauncher::startDetached(const std::string& program,
                                          const std::vector<std::string>& arguments,
                                          const std::filesystem::path& workingDirectory) {
    const Result<std::string> executable = findExecutable(program);
    if (!executable)
        return executable.failure();
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const char* directory = workingDirectory.empty() ? nullptr : workingDirectory.c_str();

    std::array<int, 2> pipeEnds{};
    if (pipe2(pipeEnds.data(), O_CLOEXEC) != 0)
        return Failure::fromErrno(errno, "starting " + program);
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        runDetached(pipeEnds[1], executable.value().c_str(), argv.data(), directory);
    }
    const int forkError = errno;
    close(pipeEnds[1]);
    if (child < 0) {
        close(pipeEnds[0]);
        return Failure::fromErrno(forkError, "starting " + program);
    }
    waitForExit(child);
    const int startError = errorFromPipe(pipeEnds[0]);
    close(pipeEnds[0]);
    if (startError != 0)
        return Failure::fromErrno(startError,
                                  "starting " + program +
                                      (directory != nullptr ? " in " + workingDirectory.string() : ""));
    return {};
}

Result<void> PosixLauncher::openWebAddress(const std::string& address) {
    if (!hasWebScheme(address))
        return Failure{EINVAL, "\"" + address + "\" is not a web address"};
    return startDetached("xdg-open", {address}, {});
}

} // namespace quarvel::platform
