#pragma once

#include <QRect>

class QFont;

namespace quarvel {

// a * b / c rounded half away from zero, computed without overflow; 0 when c is 0.
int mulDiv(int a, int b, int c);

// Dialog templates measure in dialog units: a quarter of the font's average letter width across, an eighth
// of its height down. The bases come from the font the dialog actually got, so a substituted font still
// gives controls that fit their text.
struct DialogUnits {
    int baseX = 0;
    int baseY = 0;

    // advanceOf52Letters: the width of "A".."Z" "a".."z" in the font; fontHeight: its full line height.
    static DialogUnits fromMetrics(int advanceOf52Letters, int fontHeight);
    static DialogUnits fromFont(const QFont& font);

    int toPixelsX(int du) const { return mulDiv(du, baseX, 4); }
    int toPixelsY(int du) const { return mulDiv(du, baseY, 8); }
    // Each of left, top, width and height is converted on its own, as templates are.
    QRect toPixels(const QRect& du) const;
};

} // namespace quarvel
