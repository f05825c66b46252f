#include "ui/controls/CellToolTip.h"

namespace quarvel {

namespace {

constexpr int kMaxToolTipChars = 2000;

} // namespace

QString cellToolTip(const QString& text) {
    if (text.isEmpty())
        return {};
    QString shown = text.left(kMaxToolTipChars);
    if (shown.size() < text.size())
        shown += QChar(0x2026);
    // Always rich text, escaped, so that a cell holding markup shows it as typed. A line of up to a
    // section name's or a short description's length stays one line; a longer one wraps at the tooltip's
    // width, also inside words, instead of running off the screen.
    constexpr int kOneLineChars = 80;
    const QString style = shown.size() <= kOneLineChars ? QStringLiteral("pre") : QStringLiteral("pre-wrap");
    return QStringLiteral("<p style=\"white-space:%1\">%2</p>").arg(style, shown.toHtmlEscaped());
}

} // namespace quarvel
