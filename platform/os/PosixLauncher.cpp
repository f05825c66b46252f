#include "platform/os/PosixLauncher.h"

#include "platform/os/TextEncoding.h"
#include "platform/os/UniqueFd.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <ctime>
#include <string_view>

extern char** environ; // NOLINT(readability-redundant-declaration): POSIX declares it nowhere in C++

namespace quarvel::platform {
namespace {

// What Quarvel hears from a start: why the program could not run, or how it ended while it was watched.
// Written in one piece no longer than PIPE_BUF, so it arrives whole.
constexpr std::size_t kErrorTailBytes = 2048;
struct StartReport {
    int errorNumber = 0; // chdir or exec failed
    int ended = 0;       // 1: the program ended while it was watched
    int waitStatus = 0;
    std::size_t tailLength = 0;
    std::array<char, kErrorTailBytes> tail{};
};
static_assert(sizeof(StartReport) <= PIPE_BUF);

// What the program is started with; everything is built before the fork, since the children may not
// allocate.
struct StartRequest {
    const char* executable;
    char* const* argv;
    char* const* envp;
    const char* directory;
    std::chrono::milliseconds watchTime;
};

// Only calls that are safe between fork and exec from here on: the parent may have other threads.
void sendReport(int pipeEnd, const StartReport& report) {
    [[maybe_unused]] const ssize_t written = write(pipeEnd, &report, sizeof report);
}

[[noreturn]] void reportAndExit(int pipeEnd, int errorNumber) {
    StartReport report;
    report.errorNumber = errorNumber;
    sendReport(pipeEnd, report);
    _exit(127);
}

[[noreturn]] void execProgram(const StartRequest& request, int reportEnd) {
    if (request.directory != nullptr && chdir(request.directory) != 0)
        reportAndExit(reportEnd, errno);
    execve(request.executable, request.argv, request.envp);
    reportAndExit(reportEnd, errno);
}

long long monotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

// Keeps the last bytes of what the program wrote.
void keepTail(StartReport& report, const char* bytes, std::size_t count) {
    if (count >= kErrorTailBytes) {
        std::memcpy(report.tail.data(), bytes + (count - kErrorTailBytes), kErrorTailBytes);
        report.tailLength = kErrorTailBytes;
        return;
    }
    const std::size_t overflow =
        report.tailLength + count > kErrorTailBytes ? report.tailLength + count - kErrorTailBytes : 0;
    std::memmove(report.tail.data(), report.tail.data() + overflow, report.tailLength - overflow);
    std::memcpy(report.tail.data() + report.tailLength - overflow, bytes, count);
    report.tailLength += count - overflow;
}

// Reads one piece of the program's error output and passes it on to our own; false at its end.
bool relayOnce(int errorOutput, StartReport* report) {
    std::array<char, 4096> buffer{};
    const ssize_t count = read(errorOutput, buffer.data(), buffer.size());
    if (count < 0)
        return errno == EINTR;
    if (count == 0)
        return false;
    [[maybe_unused]] const ssize_t written =
        write(STDERR_FILENO, buffer.data(), static_cast<std::size_t>(count));
    if (report != nullptr)
        keepTail(*report, buffer.data(), static_cast<std::size_t>(count));
    return true;
}

// Waits up to the given time for the error output to hold something; false when the time ran out.
bool waitForOutput(int errorOutput, long long milliseconds) {
    pollfd watched{errorOutput, POLLIN, 0};
    return poll(&watched, 1, static_cast<int>(milliseconds)) > 0;
}

// Watches the program for the request's time, tells Quarvel how it ended or that it still runs, then passes
// its error output on until the program closes it, so that it never writes into a pipe nobody reads.
[[noreturn]] void watchProgram(pid_t program, int errorOutput, int reportEnd,
                               std::chrono::milliseconds watchTime) {
    StartReport report;
    bool outputOpen = true;
    const long long deadline = monotonicMilliseconds() + watchTime.count();
    for (long long left = watchTime.count(); left > 0; left = deadline - monotonicMilliseconds()) {
        if (waitpid(program, &report.waitStatus, WNOHANG) == program) {
            report.ended = 1;
            break;
        }
        const long long step = left < 50 ? left : 50;
        if (!outputOpen)
            poll(nullptr, 0, static_cast<int>(step));
        else if (waitForOutput(errorOutput, step))
            outputOpen = relayOnce(errorOutput, &report);
    }
    while (outputOpen && report.ended == 1 && waitForOutput(errorOutput, 0))
        outputOpen = relayOnce(errorOutput, &report);
    sendReport(reportEnd, report);
    close(reportEnd);
    while (outputOpen && relayOnce(errorOutput, nullptr)) {
    }
    if (report.ended == 0)
        waitpid(program, nullptr, 0);
    _exit(0);
}

// The program runs in a session of its own, as the child of a process that ends at once, so that it
// outlives Quarvel and is never its zombie. A watched program gets a watcher of its own between the two.
[[noreturn]] void runDetached(const StartRequest& request, int reportEnd) {
    setsid();
    const pid_t detached = fork();
    if (detached < 0)
        reportAndExit(reportEnd, errno);
    if (detached > 0)
        _exit(0);
    if (request.watchTime.count() <= 0)
        execProgram(request, reportEnd);

    std::array<int, 2> outputEnds{};
    if (pipe2(outputEnds.data(), O_CLOEXEC) != 0)
        reportAndExit(reportEnd, errno);
    const pid_t program = fork();
    if (program < 0)
        reportAndExit(reportEnd, errno);
    if (program == 0) {
        if (dup2(outputEnds[1], STDERR_FILENO) < 0)
            reportAndExit(reportEnd, errno);
        execProgram(request, reportEnd);
    }
    close(outputEnds[1]);
    // The watcher outlives a closed terminal quietly; the program keeps the signals it was started with.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, nullptr);
    watchProgram(program, outputEnds[0], reportEnd, request.watchTime);
}

void waitForExit(pid_t child) {
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
}

// The report the start sent, or nothing when the pipe closed without a word: the program runs.
std::optional<StartReport> reportFromPipe(int pipeEnd) {
    StartReport report;
    ssize_t count = 0;
    do {
        count = read(pipeEnd, &report, sizeof report);
    } while (count < 0 && errno == EINTR);
    if (count != static_cast<ssize_t>(sizeof report))
        return std::nullopt;
    return report;
}

ProgramEnd programEndOf(const StartReport& report) {
    ProgramEnd end;
    if (WIFEXITED(report.waitStatus))
        end.exitStatus = WEXITSTATUS(report.waitStatus);
    else if (WIFSIGNALED(report.waitStatus))
        end.signal = WTERMSIG(report.waitStatus);
    end.errorOutput.assign(report.tail.data(), report.tailLength);
    return end;
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
    const Result<std::optional<ProgramEnd>> started =
        startWatched(program, arguments, workingDirectory, environment, std::chrono::milliseconds(0));
    if (!started)
        return started.failure();
    return {};
}

Result<std::optional<ProgramEnd>>
PosixLauncher::startWatched(const std::string& program, const std::vector<std::string>& arguments,
                            const std::filesystem::path& workingDirectory,
                            const std::vector<EnvironmentVariable>& environment,
                            std::chrono::milliseconds watchTime) {
    const Result<std::string> executable = findProgram(program);
    if (!executable)
        return executable.failure();
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    const std::vector<char*> argv = nullTerminated(words);
    std::vector<std::string> variables = environmentWith(environment);
    const std::vector<char*> envp = nullTerminated(variables);
    const StartRequest request{executable.value().c_str(), argv.data(), envp.data(),
                               workingDirectory.empty() ? nullptr : workingDirectory.c_str(), watchTime};

    std::array<int, 2> pipeEnds{};
    if (pipe2(pipeEnds.data(), O_CLOEXEC) != 0)
        return Failure::fromErrno(errno, "starting " + program);
    UniqueFd readEnd(pipeEnds[0]);
    UniqueFd writeEnd(pipeEnds[1]);
    const pid_t child = fork();
    if (child == 0) {
        readEnd.close();
        runDetached(request, writeEnd.get());
    }
    const int forkError = errno;
    writeEnd.close();
    if (child < 0)
        return Failure::fromErrno(forkError, "starting " + program);
    waitForExit(child);
    const std::optional<StartReport> report = reportFromPipe(readEnd.get());
    if (report && report->errorNumber != 0)
        return Failure::fromErrno(
            report->errorNumber,
            "starting " + program + (request.directory != nullptr ? " in " + workingDirectory.string() : ""));
    if (!report || report->ended == 0)
        return std::optional<ProgramEnd>();
    return std::optional<ProgramEnd>(programEndOf(*report));
}

Result<void> PosixLauncher::openWebAddress(const std::string& address) {
    if (!hasWebScheme(address))
        return Failure{EINVAL, "\"" + address + "\" is not a web address"};
    return startDetached("xdg-open", {address}, {}, {});
}

} // namespace quarvel::platform
