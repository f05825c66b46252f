#include "store/profile/ProfileCache.h"

#include "store/profile/FileReader.h"

#include <algorithm>

namespace quarvel {

ProfileCache::ProfileCache(std::int64_t settleTime, std::size_t capacity)
    : m_settleTime(settleTime), m_capacity(capacity) {}

std::shared_ptr<const ProfileDocument> ProfileCache::load(const std::filesystem::path& file) {
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const Entry& entry) { return entry.file.native() == file.native(); });
    if (found != m_entries.end()) {
        if (auto document = stillCurrent(*found)) {
            ++m_statistics.hits;
            std::rotate(m_entries.begin(), found, found + 1);
            return document;
        }
        // Gone or changed: the read that follows says which, and fails when it must.
        m_entries.erase(found);
    }
    ++m_statistics.reads;
    std::optional<FileContent> content = FileReader::read(file, ProfileDocument::kMaxSize);
    if (!content)
        return std::make_shared<const ProfileDocument>(std::string_view());
    const FileStamp stamp = content->stamp;
    const bool keepable = content->consistent && stamp.isSettled(FileStamp::nowNanoseconds(), m_settleTime);
    auto document = std::make_shared<const ProfileDocument>(std::move(content->bytes));
    if (keepable)
        keep({file, stamp, document, {}});
    return document;
}

void ProfileCache::keepWritten(const std::filesystem::path& file, FileStamp stamp,
                               platform::FileBytes bytes) {
    std::erase_if(m_entries, [&](const Entry& entry) { return entry.file.native() == file.native(); });
    keep({file, stamp, nullptr, std::move(bytes)});
}

std::shared_ptr<const ProfileDocument> ProfileCache::stillCurrent(Entry& entry) const {
    const std::optional<FileStamp> now = FileStamp::ofFile(entry.file);
    if (!now || *now != entry.stamp)
        return nullptr;
    if (!entry.document)
        entry.document = std::make_shared<const ProfileDocument>(std::move(entry.written));
    if (entry.stamp.isSettled(FileStamp::nowNanoseconds(), m_settleTime))
        return entry.document;
    // Written moments ago: another program's change of the same size within the same tick would leave the
    // stamp as it was, so the bytes decide.
    const std::optional<FileContent> content = FileReader::read(entry.file, ProfileDocument::kMaxSize);
    if (!content || !content->consistent || content->stamp != entry.stamp ||
        content->bytes.view() != entry.document->bytes())
        return nullptr;
    return entry.document;
}

void ProfileCache::keep(Entry entry) {
    if (m_entries.size() >= m_capacity)
        m_entries.pop_back();
    m_entries.insert(m_entries.begin(), std::move(entry));
}

} // namespace quarvel
