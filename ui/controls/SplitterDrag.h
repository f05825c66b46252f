#pragma once

#include "ui/framework/WinRect.h"

#include <optional>

namespace quarvel {

// One drag of the splitter bar, free of the window system: the bar follows the pointer horizontally by its
// distance from the press point, with no limits, and lands where the feedback was last shown.
class SplitterDrag {
public:
    // start: the bar in the owner's client coordinates; pressX: the press point in the bar's own.
    SplitterDrag(const WinRect& start, int pressX) : m_start(start), m_current(start), m_pressX(pressX) {}

    // pointerX in the bar's own coordinates as they were at the press; left of the bar is negative.
    const WinRect& moveTo(int pointerX) {
        m_offset = pointerX - m_pressX;
        m_current = m_start.movedBy(m_offset);
        return m_current;
    }

    const WinRect& start() const { return m_start; }
    const WinRect& current() const { return m_current; }
    int offset() const { return m_offset; }

    // Where the bar goes when the drag ends, or nothing when it ends where it began.
    std::optional<WinRect> landing() const {
        if (m_offset == 0)
            return std::nullopt;
        return m_current;
    }

private:
    WinRect m_start;
    WinRect m_current;
    int m_pressX;
    int m_offset = 0;
};

} // namespace quarvel
