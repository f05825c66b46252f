#include "store/ProfileStore.h"

#include "store/AtomicFileWriter.h"
#include "store/FileReader.h"
#include "store/ProfileEditor.h"
#include "store/ProfileError.h"

#include <cerrno>
#include <utility>

namespace quarvel {

namespace {

// A write whose file changes under it starts again from the new bytes, this many times at most.
constexpr int writeAttempts = 4;

} // namespace

ProfileStore::ProfileStore(std::filesystem::path windowsDirectory)
    : m_windowsDirectory(std::move(windowsDirectory)) {}

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

void ProfileStore::change(const std::filesystem::path& file, const Edit& edit) {
    const std::filesystem::path target = AtomicFileWriter::followLinks(resolve(file));
    for (int attempt = 0; attempt < writeAttempts; ++attempt) {
        std::optional<FileContent> content = FileReader::read(target, ProfileDocument::maxSize);
        if (content && !content->consistent)
            continue;
        const std::optional<FileStamp> basis =
            content ? std::optional<FileStamp>(content->stamp) : std::nullopt;
        const ProfileDocument document(content ? std::move(content->bytes) : platform::FileBytes());
        const std::optional<ProfileEditor::Splice> splice = edit(ProfileEditor(document));
        if (!splice || AtomicFileWriter::replace(target, splice->pieces(document.bytes()), basis))
            return;
    }
    throw ProfileError(ProfileError::Operation::Write, target, EAGAIN,
                       "the file kept changing while it was being written");
}

} // namespace quarvel
