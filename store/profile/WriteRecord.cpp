#include "store/profile/WriteRecord.h"

#include "platform/os/UniqueFd.h"
#include "platform/os/WholeFileReader.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {

namespace {

// A record is "<stamp> <hash>\n<target>\n", so a record cut short by a killed writer reads as none.
constexpr std::string_view kRecordSuffix = ".last-write";
constexpr int kHexBase = 16;

// A 64-bit hash of the bytes, in four lanes of eight bytes each so that it runs at the speed of memory on
// a big scenery.cfg. Each step is one-to-one in a lane's state, so a changed byte changes its lane's
// result; it guards against a change by chance, not against one made to collide on purpose.
std::uint64_t hashOf(std::string_view bytes) {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15;
    constexpr std::size_t kLanes = 4;
    constexpr std::size_t kWord = sizeof(std::uint64_t);
    constexpr int kShift = 29;
    const auto mix = [](std::uint64_t state, std::uint64_t word) {
        state = (state ^ word) * kMultiplier;
        return state ^ (state >> kShift);
    };
    std::array<std::uint64_t, kLanes> lanes = {1, 2, 3, 4};
    std::size_t at = 0;
    for (; at + kLanes * kWord <= bytes.size(); at += kLanes * kWord) {
        for (std::size_t lane = 0; lane < kLanes; ++lane) {
            std::uint64_t word = 0;
            std::memcpy(&word, bytes.data() + at + lane * kWord, kWord);
            lanes[lane] = mix(lanes[lane], word);
        }
    }
    std::uint64_t hash = mix(0, bytes.size());
    for (; at < bytes.size(); ++at)
        hash = mix(hash, static_cast<unsigned char>(bytes[at]));
    for (const std::uint64_t lane : lanes)
        hash = mix(hash, lane);
    return hash;
}

std::filesystem::path folderFromEnvironment() {
    for (const char* variable : {"XDG_RUNTIME_DIR", "XDG_CACHE_HOME"}) {
        if (const char* folder = std::getenv(variable); folder != nullptr && *folder == '/')
            return std::filesystem::path(folder) / "quarvel";
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/')
        return std::filesystem::path(home) / ".cache" / "quarvel";
    return {};
}

std::string hexText(std::uint64_t number) {
    std::array<char, 16> digits{};
    const auto end = std::to_chars(digits.begin(), digits.end(), number, kHexBase).ptr;
    return {digits.begin(), end};
}

std::string recordText(const FileStamp& stamp, std::uint64_t hash, const std::string& target) {
    return stamp.text() + ' ' + hexText(hash) + '\n' + target + '\n';
}

std::optional<WriteRecord::Entry> parseRecord(std::string_view text, std::string_view target) {
    const std::size_t lineEnd = text.find('\n');
    if (lineEnd == std::string_view::npos || text.substr(lineEnd + 1) != std::string(target) + '\n')
        return std::nullopt;
    const std::string_view numbers = text.substr(0, lineEnd);
    const std::size_t hashBegin = numbers.rfind(' ') + 1; // 0 when there is no blank: then no stamp either
    WriteRecord::Entry entry;
    const auto [end, error] =
        std::from_chars(numbers.data() + hashBegin, numbers.data() + numbers.size(), entry.hash, kHexBase);
    if (error != std::errc() || end != numbers.data() + numbers.size() || hashBegin == 0)
        return std::nullopt;
    const std::optional<FileStamp> stamp = FileStamp::fromText(numbers.substr(0, hashBegin - 1));
    if (!stamp)
        return std::nullopt;
    entry.stamp = *stamp;
    return entry;
}

} // namespace

WriteRecord::WriteRecord() : m_folder(folderFromEnvironment()) {}

bool WriteRecord::Entry::contradictedBy(const FileContent& content) const {
    return content.stamp == stamp && hashOf(content.bytes.view()) != hash;
}

std::optional<WriteRecord::Place> WriteRecord::placeOf(const std::filesystem::path& target) const {
    if (m_folder.empty())
        return std::nullopt;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(target, error);
    if (error)
        return std::nullopt;
    return Place{m_folder / (hexText(hashOf(absolute.native())) + std::string(kRecordSuffix)),
                 absolute.native()};
}

std::optional<WriteRecord::Entry> WriteRecord::find(const std::filesystem::path& target) const {
    const std::optional<Place> place = placeOf(target);
    if (!place)
        return std::nullopt;
    const platform::Result<platform::FileBytes> text = platform::readFileBytes(place->file);
    return text.ok() ? parseRecord(text.value().view(), place->target) : std::nullopt;
}

void WriteRecord::keep(const std::filesystem::path& target, const FileStamp& stamp,
                       std::string_view bytes) const {
    const std::optional<Place> place = placeOf(target);
    if (!place)
        return;
    const auto openRecord = [&] {
        return platform::UniqueFd(
            ::open(place->file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
    };
    platform::UniqueFd record = openRecord();
    if (!record.valid() && errno == ENOENT) {
        std::error_code error;
        std::filesystem::create_directories(m_folder, error);
        std::filesystem::permissions(m_folder, std::filesystem::perms::owner_all, error);
        record = openRecord();
    }
    if (!record.valid())
        return;
    const std::string text = recordText(stamp, hashOf(bytes), place->target);
    // A record written short reads as none: there is nothing to undo.
    [[maybe_unused]] const ssize_t written = ::write(record.get(), text.data(), text.size());
}

} // namespace quarvel
