#pragma once

#include "store/profile/FileStamp.h"
#include "store/profile/ProfileDocument.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace quarvel {

// Parsed files, each kept with the stamp of the version it was read from and handed out again only while
// the file on disk still has that stamp. A file changed less than settleTime before it was read is not
// kept: a second change within the same time stamp tick could leave the stamp as it was. Two seconds
// covers the coarsest common granularity (FAT's). The one exception is what the store itself has just
// written: it is kept from the start, and until its stamp has settled it is handed out only when the
// file's bytes are still the ones written, which spares the parse but not the read.
class ProfileCache {
public:
    static constexpr std::int64_t kDefaultSettleTime = 2'000'000'000; // nanoseconds

    explicit ProfileCache(std::int64_t settleTime = kDefaultSettleTime, std::size_t capacity = 8);

    // The file as it is on disk now; an empty document when it does not exist. Throws ProfileError.
    std::shared_ptr<const ProfileDocument> load(const std::filesystem::path& file);
    // The bytes just written to the file, which then had the stamp; parsed when first loaded.
    void keepWritten(const std::filesystem::path& file, FileStamp stamp, platform::FileBytes bytes);

    struct Statistics {
        std::size_t hits = 0;
        std::size_t reads = 0;
    };
    Statistics statistics() const { return m_statistics; }

private:
    struct Entry {
        std::filesystem::path file;
        FileStamp stamp;
        std::shared_ptr<const ProfileDocument> document; // none until a written entry is first loaded
        platform::FileBytes written;                     // the bytes of a written entry, until then
    };

    std::shared_ptr<const ProfileDocument> stillCurrent(Entry& entry) const;
    void keep(Entry entry);

    std::int64_t m_settleTime;
    std::size_t m_capacity;
    std::vector<Entry> m_entries; // most recently used first
    Statistics m_statistics;
};

} // namespace quarvel
