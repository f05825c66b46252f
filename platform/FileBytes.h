#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace quarvel::platform {

// A file's bytes in one buffer of their size. The buffer is not cleared before a read fills it: for a
// big file, clearing memory first costs as much as the read itself.
class FileBytes {
public:
    FileBytes() = default;
    // A copy of the bytes.
    explicit FileBytes(std::string_view bytes);
    // Room for size bytes, not yet filled.
    static FileBytes forOverwrite(std::size_t size);

    char* data() { return m_data.get(); }
    std::size_t size() const { return m_size; }
    std::string_view view() const { return {m_data.get(), m_size}; }

    // Keeps only the first size bytes (no more than it holds).
    void shrink(std::size_t size);
    // Adds the bytes at the end, moving everything to a bigger buffer.
    void append(std::string_view more);

private:
    std::unique_ptr<char[]> m_data;
    std::size_t m_size = 0;
};

} // namespace quarvel::platform
