#include "ui/framework/DialogUnits.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace quarvel {

int mulDiv(int a, int b, int c) {
    if (c == 0)
        return 0;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t magnitude = (std::llabs(product) * 2 + std::llabs(c)) / (2 * std::llabs(c));
    const bool negative = (product < 0) != (c < 0);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

DialogUnits DialogUnits::fromMetrics(int advanceOf52Letters, int fontHeight) {
    return {(advanceOf52Letters / 26 + 1) / 2, fontHeight};
}

DialogUnits DialogUnits::fromFont(const QFont& font) {
    const QFontMetrics metrics(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return fromMetrics(metrics.horizontalAdvance(letters), metrics.height());
}

QRect DialogUnits::toPixels(const QRect& du) const {
    return {toPixelsX(du.x()), toPixelsY(du.y()), toPixelsX(du.width()), toPixelsY(du.height())};
}

} // namespace quarvel
