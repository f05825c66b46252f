#pragma once

#include <QFont>

namespace quarvel {

// The font every dialog of the program is laid out in, so that its dialog units, and with them the
// dialogs' proportions, are the same throughout.
QFont templateFont();

} // namespace quarvel
