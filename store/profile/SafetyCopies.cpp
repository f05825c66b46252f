#include "store/profile/SafetyCopies.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <utility>
#include <vector>

namespace quarvel {

namespace {

// "2026-12-08_01-23-45.678": sorts as the times do.
constexpr std::size_t kTimeLength = 23;

std::string timeText() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%S", &local);
    std::snprintf(text + length, sizeof text - length, ".%03d", static_cast<int>(millis));
    return text;
}

bool isCopyOf(const std::string& name, const std::string& fileName) {
    return name.size() == fileName.size() + 1 + kTimeLength && name.starts_with(fileName + ".");
}

} // namespace

SafetyCopies::SafetyCopies(std::filesystem::path folder) : m_folder(std::move(folder)) {}

std::filesystem::path SafetyCopies::defaultFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && *state == '/')
        return std::filesystem::path(state) / "quarvel" / "copies";
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0')
        return std::filesystem::path(home) / ".local" / "state" / "quarvel" / "copies";
    return {};
}

void SafetyCopies::keepFirst(const std::filesystem::path& file, std::string_view bytes) {
    if (!m_copied.insert(file).second)
        return;
    try {
        if (m_folder.empty())
            throw std::runtime_error("neither XDG_STATE_HOME nor HOME names a folder for them");
        write(file, bytes);
        prune(file.filename().string());
    } catch (const std::exception& failure) {
        if (!m_failed)
            m_failure = failure.what();
        m_failed = true;
    }
}

std::optional<std::string> SafetyCopies::takeFailure() {
    return std::exchange(m_failure, std::nullopt);
}

void SafetyCopies::write(const std::filesystem::path& file, std::string_view bytes) const {
    std::filesystem::create_directories(m_folder);
    const std::filesystem::path copy = m_folder / (file.filename().string() + "." + timeText());
    errno = 0;
    std::ofstream out(copy, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    // The stream keeps no reason of its own; the system's is the last one it met.
    if (!out)
        throw std::system_error(errno != 0 ? errno : EIO, std::generic_category(),
                                "could not write " + copy.string());
}

void SafetyCopies::prune(const std::string& fileName) const {
    std::vector<std::filesystem::path> copies;
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(m_folder)) {
        if (isCopyOf(entry.path().filename().string(), fileName))
            copies.push_back(entry.path());
    }
    if (copies.size() <= kKept)
        return;
    std::sort(copies.begin(), copies.end());
    for (std::size_t i = 0; i + kKept < copies.size(); ++i)
        std::filesystem::remove(copies[i]);
}

} // namespace quarvel
