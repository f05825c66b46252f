#include "platform/Launcher.h"

namespace quarvel::platform {

Launcher::~Launcher() = default;

} // namespace quarvel::platform
