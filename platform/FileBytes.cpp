#include "platform/FileBytes.h"

#include <algorithm>
#include <cstring>

namespace quarvel::platform {

FileBytes::FileBytes(std::string_view bytes) : FileBytes(forOverwrite(bytes.size())) {
    std::memcpy(m_data.get(), bytes.data(), bytes.size());
}

FileBytes FileBytes::forOverwrite(std::size_t size) {
    FileBytes bytes;
    bytes.m_data = std::make_unique_for_overwrite<char[]>(size);
    bytes.m_size = size;
    return bytes;
}

void FileBytes::shrink(std::size_t size) {
    m_size = std::min(size, m_size);
}

void FileBytes::append(std::string_view more) {
    FileBytes bigger = forOverwrite(m_size + more.size());
    std::memcpy(bigger.m_data.get(), m_data.get(), m_size);
    std::memcpy(bigger.m_data.get() + m_size, more.data(), more.size());
    *this = std::move(bigger);
}

} // namespace quarvel::platform
