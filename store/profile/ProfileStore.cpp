#include "store/profile/ProfileStore.h"

#include "store/profile/AtomicFileWriter.h"
#include "store/profile/FileReader.h"
#include "store/profile/FolderLock.h"
#include "store/profile/ProfileEditor.h"
#include "store/profile/ProfileError.h"
#include "store/profile/SettingsInTurn.h"

#include "platform/os/ExclusiveFile.h"
#include "platform/os/UniqueFd.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <utility>

namespace quarvel {

namespace {

// A write whose file changes under it starts again from the new bytes, this many times at most.
constexpr int kWriteAttempts = 4;

// A file changed recently may be in the middle of being rewritten in place by another program (the
// simulator saving fs9.cfg, an editor saving), which can pause between its pieces; a write waits for it
// to be quiet for the store's quiet time, but at most this long. The quiet time also exceeds the time
// stamp granularity, so that any change after the read shows in the file's stamp.
constexpr std::int64_t kSettleLimit = 2'000'000'000; // nanoseconds

std::optional<FileStamp> stampOf(const std::filesystem::path& file) {
    std::optional<FileStamp> stamp = FileStamp::ofFile(file);
    if (!stamp && errno != ENOENT && errno != ENOTDIR)
        throw ProfileError(ProfileError::Operation::Write, file, errno);
    return stamp;
}

platform::FileBytes joined(std::span<const std::string_view> pieces) {
    std::size_t size = 0;
    for (const std::string_view piece : pieces)
        size += piece.size();
    platform::FileBytes bytes = platform::FileBytes::forOverwrite(size);
    bytes.shrink(0);
    for (const std::string_view piece : pieces)
        bytes.append(piece);
    return bytes;
}

} // namespace

ProfileStore::ProfileStore(std::filesystem::path windowsDirectory, std::int64_t quietTime)
    : m_windowsDirectory(std::move(windowsDirectory)), m_quietTime(quietTime) {}

std::filesystem::path ProfileStore::resolve(const std::filesystem::path& file) const {
    if (file.has_parent_path() || file.is_absolute())
        return file;
    return m_windowsDirectory / file;
}

ProfileFile ProfileStore::read(const std::filesystem::path& file) const {
    return ProfileFile(m_cache.load(resolve(file)));
}

std::vector<std::string> ProfileStore::sectionNames(const std::filesystem::path& file) const {
    const ProfileFile profile = read(file);
    const std::vector<std::string_view> names = profile.sectionNames();
    return {names.begin(), names.end()};
}

std::vector<std::string> ProfileStore::sectionLines(const std::filesystem::path& file,
                                                    std::string_view section) const {
    const ProfileFile profile = read(file);
    const std::span<const std::string_view> lines = profile.sectionLines(section);
    return {lines.begin(), lines.end()};
}

std::optional<std::string> ProfileStore::findString(const std::filesystem::path& file,
                                                    std::string_view section, std::string_view key) const {
    const ProfileFile profile = read(file);
    if (const std::optional<std::string_view> value = profile.value(section, key))
        return std::string(*value);
    return std::nullopt;
}

std::string ProfileStore::getString(const std::filesystem::path& file, std::string_view section,
                                    std::string_view key, std::string_view defaultValue) const {
    return findString(file, section, key).value_or(std::string(defaultValue));
}

void ProfileStore::writeString(const std::filesystem::path& file, std::string_view section,
                               std::string_view key, std::string_view value) {
    change(file, [&](const ProfileEditor& editor) { return editor.setValue(section, key, value); });
}

void ProfileStore::writeStrings(const std::filesystem::path& file, std::span<const Setting> settings) {
    changeDocument(file, [&](const ProfileDocument& document) { return setInTurn(document, settings); });
}

void ProfileStore::deleteKey(const std::filesystem::path& file, std::string_view section,
                             std::string_view key) {
    change(file, [&](const ProfileEditor& editor) { return editor.removeKey(section, key); });
}

void ProfileStore::deleteSection(const std::filesystem::path& file, std::string_view section) {
    change(file, [&](const ProfileEditor& editor) { return editor.removeSection(section); });
}

void ProfileStore::writeSection(const std::filesystem::path& file, std::string_view section,
                                const std::vector<std::string>& lines) {
    change(file, [&](const ProfileEditor& editor) { return editor.replaceSection(section, lines); });
}

std::vector<std::string> ProfileStore::sectionLines(const std::filesystem::path& file,
                                                    const SectionRef& section) const {
    const ProfileFile profile = read(file);
    const std::span<const std::string_view> lines = profile.sectionLines(section);
    return {lines.begin(), lines.end()};
}

void ProfileStore::writeValueAt(const std::filesystem::path& file, const LineRef& line,
                                std::string_view value) {
    change(file, [&](const ProfileEditor& editor) { return editor.setValueAt(line, value); });
}

void ProfileStore::deleteLineAt(const std::filesystem::path& file, const LineRef& line) {
    change(file, [&](const ProfileEditor& editor) { return editor.removeLineAt(line); });
}

void ProfileStore::addKeyTo(const std::filesystem::path& file, const SectionRef& section,
                            std::string_view key, std::string_view value) {
    change(file, [&](const ProfileEditor& editor) { return editor.addKeyTo(section, key, value); });
}

void ProfileStore::deleteSectionAt(const std::filesystem::path& file, const SectionRef& section) {
    change(file, [&](const ProfileEditor& editor) { return editor.removeSectionAt(section); });
}

void ProfileStore::appendSection(const std::filesystem::path& file, std::string_view section,
                                 const std::vector<std::string>& lines) {
    change(file, [&](const ProfileEditor& editor) { return editor.appendSection(section, lines); });
}

void ProfileStore::revert(const std::filesystem::path& file, const RecordedSplice& change) {
    changeDocument(file, [&](const ProfileDocument& document) {
        return std::optional(change.revertingIn(document.bytes()));
    });
}

platform::Result<void> ProfileStore::checkReadable(const std::filesystem::path& file) const {
    const std::filesystem::path target = resolve(file);
    // Not held up by a pipe without a writer: the read that follows says what is wrong with one.
    const platform::UniqueFd descriptor(::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (!descriptor.valid() || ::fstat(descriptor.get(), &status) != 0)
        return platform::Failure::fromErrno(errno, target.string());
    if (S_ISDIR(status.st_mode))
        return platform::Failure::fromErrno(EISDIR, target.string());
    return {};
}

platform::Result<void> ProfileStore::checkWritable(const std::filesystem::path& file) const {
    const std::filesystem::path target = AtomicFileWriter::followLinks(resolve(file));
    if (const auto opened = platform::ExclusiveFile::open(target); !opened.ok())
        return opened.failure();
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return platform::Failure::fromErrno(errno, folder.string());
    return {};
}

void ProfileStore::change(const std::filesystem::path& file, const Edit& edit) {
    changeDocument(file, [&](const ProfileDocument& document) { return edit(ProfileEditor(document)); });
}

void ProfileStore::changeDocument(const std::filesystem::path& file, const DocumentEdit& edit) {
    const std::filesystem::path target = AtomicFileWriter::followLinks(resolve(file));
    m_lastChange.reset();
    const FolderLock folder(target);
    AtomicFileWriter::removeLeftovers(folder, target);
    std::optional<WriteRecord::Entry> recorded = m_writeRecord.find(target);
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        const std::optional<FileStamp> settled = waitUntilSettled(target, recorded);
        std::optional<FileContent> content = FileReader::read(target, ProfileDocument::kMaxSize);
        if (content && !content->consistent)
            continue;
        const std::optional<FileStamp> basis =
            content ? std::optional<FileStamp>(content->stamp) : std::nullopt;
        // Another program may have begun rewriting the file between the wait and the read.
        if (basis != settled)
            continue;
        if (recorded && content && recorded->contradictedBy(*content)) {
            recorded.reset(); // changed since the recorded write: it must settle after all
            continue;
        }
        const ProfileDocument document(content ? std::move(content->bytes) : platform::FileBytes());
        const std::optional<ProfileEditor::Splice> splice = edit(document);
        if (!splice)
            return;
        if (m_copies != nullptr && content)
            m_copies->keepFirst(target, document.bytes());
        const auto pieces = splice->pieces(document.bytes());
        if (const auto written = AtomicFileWriter::replace(folder, target, pieces, basis)) {
            m_ownWrites.insert_or_assign(target.native(), OwnWrite{basis, *written});
            platform::FileBytes bytes = joined(pieces);
            m_writeRecord.keep(target, *written, bytes.view());
            // The next read finds the file as this write left it, without parsing it again.
            m_cache.keepWritten(resolve(file), *written, std::move(bytes));
            if (m_recordChanges)
                m_lastChange = RecordedSplice::of(document.bytes(), *splice);
            return;
        }
    }
    throw ProfileError(ProfileError::Operation::Write, target, EAGAIN,
                       "the file kept changing while it was being written");
}

std::optional<ProfileStore::OwnWrite> ProfileStore::lastOwnWrite(const std::filesystem::path& file) const {
    try {
        const auto own = m_ownWrites.find(AtomicFileWriter::followLinks(resolve(file)).native());
        return own != m_ownWrites.end() ? std::optional(own->second) : std::nullopt;
    } catch (const ProfileError&) {
        // A link that no longer leads anywhere: no write of this store is known to be the file's last, and
        // the next read of the file says what is wrong with it.
        return std::nullopt;
    }
}

std::optional<FileStamp>
ProfileStore::waitUntilSettled(const std::filesystem::path& target,
                               const std::optional<WriteRecord::Entry>& recorded) const {
    const std::int64_t deadline = FileStamp::nowNanoseconds() + kSettleLimit;
    for (;;) {
        const std::optional<FileStamp> stamp = stampOf(target);
        const auto own = m_ownWrites.find(target.native());
        if (!stamp || (own != m_ownWrites.end() && own->second.after == *stamp) ||
            (recorded && recorded->stamp == *stamp))
            return stamp;
        const std::int64_t now = FileStamp::nowNanoseconds();
        if (stamp->isSettled(now, m_quietTime))
            return stamp;
        if (now >= deadline)
            throw ProfileError(ProfileError::Operation::Write, target, EBUSY,
                               "another program keeps changing this file");
        std::this_thread::sleep_for(
            std::chrono::nanoseconds(std::min(stamp->settlesAt(m_quietTime), deadline) - now));
    }
}

} // namespace quarvel
