#include "store/profile/RecordedSplice.h"

#include "store/profile/ProfileConflict.h"

#include <algorithm>

namespace quarvel {

namespace {

// A line longer than this (a file without line breaks) is compared no further from the splice.
constexpr std::size_t kNeighbourLimit = 4096;

// The start of the line before, when the position begins a line, or of the line it lies in.
std::size_t neighbourStart(std::string_view bytes, std::size_t from) {
    const std::size_t lineBreak = from < 2 ? std::string_view::npos : bytes.rfind('\n', from - 2);
    const std::size_t start = lineBreak == std::string_view::npos ? 0 : lineBreak + 1;
    return std::max(start, from > kNeighbourLimit ? from - kNeighbourLimit : 0);
}

// Past the line that begins at the position, or past the rest of the one it lies in.
std::size_t neighbourEnd(std::string_view bytes, std::size_t to) {
    const std::size_t lineBreak = bytes.find('\n', to);
    const std::size_t end = lineBreak == std::string_view::npos ? bytes.size() : lineBreak + 1;
    return std::min(end, to + kNeighbourLimit);
}

} // namespace

RecordedSplice RecordedSplice::of(std::string_view bytes, const ProfileEditor::Splice& splice) {
    RecordedSplice recorded;
    recorded.m_at = neighbourStart(bytes, splice.from);
    recorded.m_before = bytes.substr(recorded.m_at, splice.from - recorded.m_at);
    recorded.m_removed = bytes.substr(splice.from, splice.to - splice.from);
    recorded.m_inserted = splice.text;
    recorded.m_after = bytes.substr(splice.to, neighbourEnd(bytes, splice.to) - splice.to);
    return recorded;
}

ProfileEditor::Splice RecordedSplice::revertingIn(std::string_view bytes) const {
    const std::string expected = m_before + m_inserted + m_after;
    const std::size_t later = bytes.find(expected, std::min(m_at, bytes.size()));
    const std::size_t earlier = bytes.rfind(expected, m_at);
    const auto distance = [this](std::size_t found) {
        return found == std::string_view::npos ? found : found > m_at ? found - m_at : m_at - found;
    };
    const std::size_t found = distance(later) <= distance(earlier) ? later : earlier;
    if (found == std::string_view::npos)
        throw ProfileConflict("the lines of this edit no longer read as Quarvel left them");
    const std::size_t from = found + m_before.size();
    return {from, from + m_inserted.size(), m_removed};
}

} // namespace quarvel
