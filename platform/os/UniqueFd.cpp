#include "platform/os/UniqueFd.h"

#include <unistd.h>

namespace quarvel::platform {

UniqueFd::~UniqueFd() {
    close();
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        close();
        m_fd = other.release();
    }
    return *this;
}

int UniqueFd::release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

int UniqueFd::close() {
    if (m_fd < 0)
        return 0;
    return ::close(release());
}

} // namespace quarvel::platform
