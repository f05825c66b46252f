#include "platform/os/Launcher.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace quarvel::platform {
namespace {

bool isExecutableFile(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && access(path.c_str(), X_OK) == 0;
}

} // namespace

Result<std::string> findProgram(const std::string& program) {
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

Launcher::~Launcher() = default;

} // namespace quarvel::platform
