#pragma once

#include "store/profile/FileStamp.h"
#include "store/profile/ProfileCache.h"
#include "store/profile/ProfileEditor.h"
#include "store/profile/ProfileFile.h"
#include "store/profile/RecordedSplice.h"
#include "store/profile/SafetyCopies.h"
#include "store/profile/SectionRef.h"
#include "store/profile/WriteRecord.h"

#include "platform/os/Result.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quarvel {

// Reads and writes INI-style profile files by path, the way the Windows profile functions do, but
// completely (nothing is cut to a buffer size), byte-preserving, crash-safe and quickly on big files.
//
// Every call sees the file as it is on disk at that moment. Reads of a file that does not exist give an
// empty result or the default; other read failures throw ProfileError. Writes start from the file's
// current bytes, replace it atomically and durably, and throw ProfileError, leaving the file as it was,
// when they fail; a name or line that could not be read back as written throws std::invalid_argument.
// Writers in several processes take turns (see FolderLock), and a write waits for a file that another
// program is still writing in place to settle first; a file as a Quarvel write left it (see WriteRecord)
// is written at once. Not for use from several threads at once.
class ProfileStore {
public:
    // A write waits for a file changed less than this long ago (nanoseconds) to settle, as another
    // program may be rewriting it in place; zero where no other program writes the files.
    static constexpr std::int64_t kDefaultQuietTime = 100'000'000;

    // Bare file names (no folder) resolve in this folder: the Windows directory of the Wine prefix.
    explicit ProfileStore(std::filesystem::path windowsDirectory, std::int64_t quietTime = kDefaultQuietTime);

    std::filesystem::path resolve(const std::filesystem::path& file) const;

    // The whole file at once, for many reads of one version (a search through every section).
    ProfileFile read(const std::filesystem::path& file) const;

    // All section names, in file order, duplicates kept.
    std::vector<std::string> sectionNames(const std::filesystem::path& file) const;
    // The lines of the first section of that name (see ProfileFile::sectionLines).
    std::vector<std::string> sectionLines(const std::filesystem::path& file, std::string_view section) const;
    // The value, trimmed and without outer quotes, or nothing when file, section or key is missing.
    std::optional<std::string> findString(const std::filesystem::path& file, std::string_view section,
                                          std::string_view key) const;
    std::string getString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                          std::string_view defaultValue) const;

    // Sets the value of the first such key, keeping the rest of its line; adds the key after the last
    // non-blank line of its section, the section at the end of the file, or the file, as needed.
    void writeString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                     std::string_view value);
    // One key to set, as writeString sets it.
    struct Setting {
        std::string section;
        std::string key;
        std::string value;
    };
    // Sets the keys in turn, as writeString one after another would, in one write.
    void writeStrings(const std::filesystem::path& file, std::span<const Setting> settings);
    // Removes the line of the first such key.
    void deleteKey(const std::filesystem::path& file, std::string_view section, std::string_view key);
    // Removes the first section of that name: its header and every line up to the next header.
    void deleteSection(const std::filesystem::path& file, std::string_view section);
    // Replaces the content of the first section of that name (up to its last non-blank line) with the
    // lines, or adds the section at the end of the file.
    void writeSection(const std::filesystem::path& file, std::string_view section,
                      const std::vector<std::string>& lines);

    // Edits of what the key list and section tree show, where one name may stand for several sections
    // or lines. Each throws ProfileConflict, writing nothing, when the section or line it addresses no
    // longer reads as shown.
    std::vector<std::string> sectionLines(const std::filesystem::path& file, const SectionRef& section) const;
    void writeValueAt(const std::filesystem::path& file, const LineRef& line, std::string_view value);
    void deleteLineAt(const std::filesystem::path& file, const LineRef& line);
    void addKeyTo(const std::filesystem::path& file, const SectionRef& section, std::string_view key,
                  std::string_view value);
    void deleteSectionAt(const std::filesystem::path& file, const SectionRef& section);
    // Adds a section at the end of the file even when one of that name exists.
    void appendSection(const std::filesystem::path& file, std::string_view section,
                       const std::vector<std::string>& lines);

    // Whether the file can be read: it opens for reading and is not a folder.
    platform::Result<void> checkReadable(const std::filesystem::path& file) const;
    // Whether writes to the file can succeed: it opens for reading and writing, no other program holds it
    // locked, and its folder takes the new copy that a write renames into place.
    platform::Result<void> checkWritable(const std::filesystem::path& file) const;

    ProfileCache::Statistics cacheStatistics() const { return m_cache.statistics(); }

    // This store's last write to a file: the stamp of the file it changed (none when it made the file) and
    // the stamp the write left. A view that showed the file as it was before can take the write's stamp as
    // its own, since the edit it asked for is all that changed.
    struct OwnWrite {
        std::optional<FileStamp> before;
        FileStamp after;
    };
    std::optional<OwnWrite> lastOwnWrite(const std::filesystem::path& file) const;

    // From now on each write is recorded, so that it can be taken back: lastChange() is the change the
    // last write call made, none when it wrote nothing or failed.
    void recordChanges() { m_recordChanges = true; }
    const std::optional<RecordedSplice>& lastChange() const { return m_lastChange; }
    // Takes a recorded change back, throwing ProfileConflict, writing nothing, when its bytes and the
    // lines around them no longer read as it left them.
    void revert(const std::filesystem::path& file, const RecordedSplice& change);
    // From now on a file's bytes are copied there before this store first changes it.
    void keepCopiesIn(SafetyCopies& copies) { m_copies = &copies; }

private:
    using Edit = std::function<std::optional<ProfileEditor::Splice>(const ProfileEditor&)>;
    using DocumentEdit = std::function<std::optional<ProfileEditor::Splice>(const ProfileDocument&)>;
    void change(const std::filesystem::path& file, const Edit& edit);
    void changeDocument(const std::filesystem::path& file, const DocumentEdit& edit);
    // The stamp of the settled file, or of the file as this store or the recorded write left it; nothing
    // when there is no file.
    std::optional<FileStamp> waitUntilSettled(const std::filesystem::path& target,
                                              const std::optional<WriteRecord::Entry>& recorded) const;

    std::filesystem::path m_windowsDirectory;
    std::int64_t m_quietTime;
    mutable ProfileCache m_cache;
    // This store's last write to each file: a file that still has the stamp the write left was last
    // written by this store, completely, and need not be given time to settle.
    std::unordered_map<std::string, OwnWrite> m_ownWrites;
    WriteRecord m_writeRecord;
    bool m_recordChanges = false;
    std::optional<RecordedSplice> m_lastChange;
    SafetyCopies* m_copies = nullptr;
};

} // namespace quarvel
