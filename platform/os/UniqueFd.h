#pragma once

namespace quarvel::platform {

// Owns one open file descriptor and closes it when it goes.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    ~UniqueFd();
    UniqueFd(UniqueFd&& other) noexcept : m_fd(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    bool valid() const { return m_fd >= 0; }
    int get() const { return m_fd; }
    int release();
    // Closes now, giving close()'s result (0, or -1 with errno set): a write's last error may come here.
    int close();

private:
    int m_fd = -1;
};

} // namespace quarvel::platform
