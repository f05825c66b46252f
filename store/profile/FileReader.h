#pragma once

#include "platform/os/FileBytes.h"
#include "store/profile/FileStamp.h"

#include <cstddef>
#include <filesystem>
#include <functional>
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

    // For tests: called after each pass over the bytes, before the file's stamp is taken again, so that a
    // test can change the file while it is being read; an empty function removes it.
    static void setReadHook(std::function<void()> hook);
};

} // namespace quarvel
