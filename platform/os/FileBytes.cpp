#include "platform/os/FileBytes.h"

#include "platform/os/LargeBlockAllocator.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace quarvel::platform {

FileBytes::FileBytes(std::string_view bytes) : FileBytes(forOverwrite(bytes.size())) {
    if (!bytes.empty())
        std::memcpy(m_data, bytes.data(), bytes.size());
}

FileBytes FileBytes::forOverwrite(std::size_t size) {
    FileBytes bytes;
    if (size == 0)
        return bytes;
    bytes.m_data = static_cast<char*>(allocateLargeBlock(size));
    bytes.m_size = size;
    bytes.m_capacity = size;
    return bytes;
}

FileBytes::FileBytes(FileBytes&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
      m_capacity(std::exchange(other.m_capacity, 0)) {}

FileBytes& FileBytes::operator=(FileBytes&& other) noexcept {
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_capacity = std::exchange(other.m_capacity, 0);
    }
    return *this;
}

FileBytes::~FileBytes() {
    release();
}

void FileBytes::release() {
    if (m_data != nullptr)
        freeLargeBlock(m_data, m_capacity);
    m_data = nullptr;
    m_size = 0;
    m_capacity = 0;
}

void FileBytes::shrink(std::size_t size) {
    m_size = std::min(size, m_size);
}

void FileBytes::append(std::string_view more) {
    if (more.empty())
        return;
    if (m_capacity - m_size < more.size()) {
        FileBytes bigger = forOverwrite(std::max(2 * m_capacity, m_size + more.size()));
        if (m_size > 0)
            std::memcpy(bigger.m_data, m_data, m_size);
        bigger.m_size = m_size;
        *this = std::move(bigger);
    }
    std::memcpy(m_data + m_size, more.data(), more.size());
    m_size += more.size();
}

} // namespace quarvel::platform
