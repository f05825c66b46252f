#pragma once

#include <linux/fs.h>
#include <sys/ioctl.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

namespace quarvel::test {

// Makes a file or folder unwritable for the test's user, root included, and writable again when it goes.
// Root ignores permission bits, but not the immutable attribute.
class WriteProtection {
public:
    explicit WriteProtection(const std::filesystem::path& path)
        : m_path(path), m_permissions(std::filesystem::status(path).permissions()) {
        if (::geteuid() != 0) {
            std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                                   std::filesystem::perms::owner_exec);
            m_active = true;
        } else {
            m_active = setImmutable(true);
        }
    }
    ~WriteProtection() {
        if (m_active && ::geteuid() == 0)
            setImmutable(false);
        else if (m_active)
            std::filesystem::permissions(m_path, m_permissions);
    }
    WriteProtection(const WriteProtection&) = delete;
    WriteProtection& operator=(const WriteProtection&) = delete;

    bool active() const { return m_active; }

private:
    bool setImmutable(bool on) const {
        const int fd = ::open(m_path.c_str(), O_RDONLY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }

    std::filesystem::path m_path;
    std::filesystem::perms m_permissions;
    bool m_active = false;
};

} // namespace quarvel::test
