#pragma once

#include "platform/os/Result.h"
#include "platform/os/UniqueFd.h"

#include <filesystem>
#include <utility>

namespace quarvel::platform {

// A file opened for reading and writing and held against every other opener that locks it (flock), the
// way Windows opens a file without sharing. On a file system without locks it is opened unlocked. Closed
// when the object goes.
class ExclusiveFile {
public:
    // A failure keeps the system's error number: EWOULDBLOCK when another holder has the file.
    static Result<ExclusiveFile> open(const std::filesystem::path& file);

    int descriptor() const { return m_descriptor.get(); }

private:
    explicit ExclusiveFile(UniqueFd descriptor) : m_descriptor(std::move(descriptor)) {}

    UniqueFd m_descriptor;
};

} // namespace quarvel::platform
