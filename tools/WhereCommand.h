#pragma once

#include "platform/wine/WinePrefix.h"

#include <filesystem>
#include <iosfwd>

namespace quarvel {

// `quarvel-ini where`: prints, one name=value line each, where Quarvel finds Windows, the simulator and its
// files in the Wine prefix in use. A value that cannot be found is printed empty with the reason on err,
// and the status is then 1; otherwise 0.
int runWhereCommand(const platform::WinePrefix& prefix, std::ostream& out, std::ostream& err);

// `quarvel-ini where --all`: every prefix below the home folder with the simulator, ~/.wine first and then
// those of the prefix managers, one "PREFIX<TAB>SIMULATOR-FOLDER" line each. Status 1, with a line on err,
// when there is none.
int runWhereAllCommand(const std::filesystem::path& home, std::ostream& out, std::ostream& err);

} // namespace quarvel
