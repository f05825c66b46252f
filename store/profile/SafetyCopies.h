#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace quarvel {

// Copies of files as they were before this run's first change to each, in a folder of the user's own
// (never beside the file), named after the file and the time: "fs9.cfg.2026-12-08_01-23-45.678". The
// newest kKept copies of each file name stay; older ones are removed.
class SafetyCopies {
public:
    static constexpr std::size_t kKept = 10;

    explicit SafetyCopies(std::filesystem::path folder);

    // $XDG_STATE_HOME/quarvel/copies, or ~/.local/state/quarvel/copies; empty when neither variable is set.
    static std::filesystem::path defaultFolder();

    const std::filesystem::path& folder() const { return m_folder; }

    // Copies the bytes of the file, the first time in this run that it is asked for the file. A copy that
    // cannot be made does not stop the change: the reason is kept for takeFailure().
    void keepFirst(const std::filesystem::path& file, std::string_view bytes);
    // Why the first copy that failed in this run could not be made; once only, nothing after that.
    std::optional<std::string> takeFailure();

private:
    void write(const std::filesystem::path& file, std::string_view bytes) const;
    void prune(const std::string& fileName) const;

    std::filesystem::path m_folder;
    std::set<std::filesystem::path> m_copied;
    std::optional<std::string> m_failure;
    bool m_failed = false;
};

} // namespace quarvel
