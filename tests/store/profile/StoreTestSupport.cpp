#include "tests/store/profile/StoreTestSupport.h"

#include <algorithm>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quarvel::test {

namespace {

constexpr uid_t nobodyId = 65534;

} // namespace

int runInChild(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0)
        _exit(body());
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status))
        throw std::runtime_error("the child process did not end normally");
    return WEXITSTATUS(status);
}

int runUnprivileged(const std::function<int()>& body) {
    return runInChild([&] {
        if (geteuid() == 0 && (setgid(nobodyId) != 0 || setuid(nobodyId) != 0))
            return cannotDropPrivileges;
        return body();
    });
}

void openToEveryone(const std::filesystem::path& folder) {
    std::filesystem::permissions(folder, std::filesystem::perms::all);
}

std::vector<std::string> folderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

FileIdentity identityOf(const std::filesystem::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0)
        throw std::runtime_error("cannot stat " + file.string());
    return {status.st_ino,
            static_cast<long long>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

} // namespace quarvel::test
