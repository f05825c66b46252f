#pragma once

#include "store/profile/FileReader.h"
#include "store/profile/FileStamp.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quarvel {

// What the last write of a Quarvel process left in each file, kept for this user outside the player's
// folders ($XDG_RUNTIME_DIR/quarvel, else $XDG_CACHE_HOME/quarvel or ~/.cache/quarvel), so that a writer
// in another process can tell a file that a Quarvel process has just replaced whole, which needs no time
// to settle, from one that another program may still be rewriting in place. It is read and written only
// while the file's folder is locked (see FolderLock), so it describes the last write of the file. It is
// advisory: a record that is missing, damaged or of another version of the file only makes a writer wait.
class WriteRecord {
public:
    // The folder from the environment, as above; no record when none of those variables is set.
    WriteRecord();

    struct Entry {
        FileStamp stamp;
        std::uint64_t hash = 0; // of the bytes written

        // The file has the stamp the write left but other bytes: it was changed again within one tick of
        // the file system's clock, which a stamp does not show.
        bool contradictedBy(const FileContent& content) const;
    };

    // What the last recorded write of target left; nothing when no readable record of it is found.
    std::optional<Entry> find(const std::filesystem::path& target) const;
    // Records that a write left target with that stamp and those bytes. A record that cannot be written
    // costs only the next writer's wait, never a write, so its failure is not the write's.
    void keep(const std::filesystem::path& target, const FileStamp& stamp, std::string_view bytes) const;

private:
    // The file of target's record, and the name of target written in it to tell targets apart.
    struct Place {
        std::filesystem::path file;
        std::string target;
    };
    std::optional<Place> placeOf(const std::filesystem::path& target) const;

    std::filesystem::path m_folder; // empty: no record is kept
};

} // namespace quarvel
