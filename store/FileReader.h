#pragma once

#include "platform/FileBytes.h"
#include "store/FileStamp.h"

#include <cstddef>
#include <filesystem>
#include <optional>

namespace quarvel {

struct FileContent {
    platform::FileBytes bytes;
    FileStamp stamp;
    // The stamp was the same before and after reading, so the bytes are one version of the file.
    bool consistent = false;
};

// Reads a whole regular file. A file that does not exist gives nothing; any other failure, a file of
// more than maxSize bytes included, throws a ProfileError.
class FileReader {
public:
    static std::optional<FileContent> read(const std::filesystem::path& file, std::size_t maxSize);
};

} // namespace quarvel
