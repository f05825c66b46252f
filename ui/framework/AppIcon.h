#pragma once

#include <QIcon>

namespace quarvel {

// The application icon in every size the program ships; a null icon when none of them could be loaded.
QIcon loadAppIcon();

} // namespace quarvel
