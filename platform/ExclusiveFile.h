#pragma once

#include "platform/Result.h"

#include <filesystem>

namespace quarvel::platform {

// A file opened for reading and writing and held against every other opener that locks it (flock), the
// way Windows opens a file without sharing. On a file system without locks it is opened unlocked. Closed
// when the object goes.
class ExclusiveFile {
public:
    // A failure keeps the system's error number: EWOULDBLOCK when another holder has the file.
    static Result<ExclusiveFile> open(const std::filesystem::path& file);

    ExclusiveFile(ExclusiveFile&& other) noexcept;
    ExclusiveFile& operator=(ExclusiveFile&& other) noexcept;
    ExclusiveFile(const ExclusiveFile&) = delete;
    ExclusiveFile& operator=(const ExclusiveFile&) = delete;
    ~ExclusiveFile();

    int descriptor() const { return m_descriptor; }

private:
    explicit ExclusiveFile(int descriptor) : m_descriptor(descriptor) {}

    int m_descriptor = -1;
};

} // namespace quarvel::platform
