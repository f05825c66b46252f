#pragma once

#include <QRect>

#include <algorithm>

namespace quarvel {

// A rectangle by its edges, right and bottom exclusive, so that widths and gaps are plain differences and
// may go negative while a pane is squeezed; QRect's inclusive right edge would add a pixel to every sum.
struct WinRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static WinRect fromQRect(const QRect& rect) {
        return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
    }
    // Qt cannot show a negative size, so a squeezed pane is given none.
    QRect toQRect() const { return {left, top, std::max(0, width()), std::max(0, height())}; }

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    WinRect movedBy(int dx) const { return {left + dx, top, right + dx, bottom}; }

    friend bool operator==(const WinRect&, const WinRect&) = default;
};

} // namespace quarvel
