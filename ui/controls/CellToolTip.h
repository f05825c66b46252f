#pragma once

#include <QString>

namespace quarvel {

// The tooltip of a list or tree cell holding the text, which a narrow column may cut short: none for an
// empty cell; text that wraps at the tooltip's width; a text too long to read on one screen ends after its
// first 2,000 characters.
QString cellToolTip(const QString& text);

} // namespace quarvel
