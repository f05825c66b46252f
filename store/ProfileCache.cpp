#include "store/ProfileCache.h"

#include "store/FileReader.h"

#include <algorithm>
#include <sys/stat.h>

namespace quarvel {

ProfileCache::ProfileCache(std::int64_t settleTime, std::size_t capacity)
    : m_settleTime(settleTime), m_capacity(capacity) {}

std::shared_ptr<const ProfileDocument> ProfileCache::load(const std::filesystem::path& file) {
    if (auto document = cached(file)) {
        ++m_statistics.hits;
        return document;
    }
    ++m_statistics.reads;
    std::optional<FileContent> content = FileReader::read(file, ProfileDocument::maxSize);
    if (!content)
        return std::make_shared<const ProfileDocument>(std::string_view());
    const FileStamp stamp = content->stamp;
    const bool keepable = content->consistent && stamp.isSettled(FileStamp::nowNanoseconds(), m_settleTime);
    auto document = std::make_shared<const ProfileDocument>(std::move(content->bytes));
    if (keepable)
        keep({file, stamp, document});
    return document;
}

std::shared_ptr<const ProfileDocument> ProfileCache::cached(const std::filesystem::path& file) {
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const Entry& entry) { return entry.file.native() == file.native(); });
    if (found == m_entries.end())
        return nullptr;
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0 || FileStamp::of(status) != found->stamp) {
        // Gone or changed: the read that follows says which, and fails when it must.
        m_entries.erase(found);
        return nullptr;
    }
    std::rotate(m_entries.begin(), found, found + 1);
    return m_entries.front().document;
}

void ProfileCache::keep(Entry entry) {
    if (m_entries.size() >= m_capacity)
        m_entries.pop_back();
    m_entries.insert(m_entries.begin(), std::move(entry));
}

} // namespace quarvel
