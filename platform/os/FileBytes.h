#pragma once

#include <cstddef>
#include <string_view>

namespace quarvel::platform {

// A file's bytes in one buffer of their size. The buffer is not cleared before a read fills it, and a big
// one is a large block (see LargeBlockAllocator): for a big file, clearing memory or taking a fault for
// each small page costs more than the read itself.
class FileBytes {
public:
    FileBytes() = default;
    // A copy of the bytes.
    explicit FileBytes(std::string_view bytes);
    // Room for size bytes, not yet filled. Throws std::bad_alloc when the system has no memory for it.
    static FileBytes forOverwrite(std::size_t size);

    FileBytes(FileBytes&& other) noexcept;
    FileBytes& operator=(FileBytes&& other) noexcept;
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;
    ~FileBytes();

    char* data() { return m_data; }
    std::size_t size() const { return m_size; }
    std::string_view view() const { return {m_data, m_size}; }

    // Keeps only the first size bytes (no more than it holds).
    void shrink(std::size_t size);
    // Adds the bytes at the end; when they do not fit, everything moves to a buffer twice as big.
    void append(std::string_view more);

private:
    void release();

    char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

} // namespace quarvel::platform
