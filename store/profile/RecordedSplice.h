#pragma once

#include "store/profile/ProfileEditor.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace quarvel {

// One write as it can be taken back later: the bytes it removed and the bytes it put in, between the
// lines around them as the write left them. Other programs may change the file in between; taking the
// write back finds its bytes and their neighbours where the write left them or as near as they moved, so
// that what changed elsewhere (before it too) stays, and refuses when they no longer read so.
class RecordedSplice {
public:
    // The splice as made on these bytes.
    static RecordedSplice of(std::string_view bytes, const ProfileEditor::Splice& splice);

    // The splice that takes the write back in the bytes, or ProfileConflict when its bytes and the
    // lines around them are no longer in the file.
    ProfileEditor::Splice revertingIn(std::string_view bytes) const;

    // Where the bytes put in begin, in the file as the write left it.
    std::size_t position() const { return m_at + m_before.size(); }

private:
    std::size_t m_at = 0; // where the line before begins
    std::string m_before; // the line before the bytes, or the start of theirs
    std::string m_removed;
    std::string m_inserted;
    std::string m_after; // the rest of the line, or the line after
};

} // namespace quarvel
