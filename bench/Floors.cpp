#include "bench/Floors.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel::bench {

void check(bool succeeded, const char* what) {
    if (!succeeded)
        throw std::runtime_error(std::string(what) + " failed: " + std::strerror(errno));
}

std::string readWholeFile(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    check(fd >= 0 && ::fstat(fd, &status) == 0, "open");
    std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
    std::size_t filled = 0;
    for (ssize_t count = 1; filled < bytes.size() && count > 0; filled += static_cast<std::size_t>(count))
        count = ::read(fd, bytes.data() + filled, bytes.size() - filled);
    ::close(fd);
    return bytes;
}

void durableRewrite(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::path temporary = file;
    temporary += ".new";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    check(fd >= 0, "open");
    check(::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()), "write");
    check(::fsync(fd) == 0 && ::close(fd) == 0, "fsync");
    check(::rename(temporary.c_str(), file.c_str()) == 0, "rename");
    const int folder = ::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    check(folder >= 0 && ::fsync(folder) == 0 && ::close(folder) == 0, "folder fsync");
}

} // namespace quarvel::bench
