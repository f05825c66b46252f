#pragma once

#include <iosfwd>

namespace quarvel {

// `quarvel-ini where`: prints, one name=value line each, where Quarvel finds Windows, the simulator and its
// files in the current Wine prefix ($WINEPREFIX, or ~/.wine). A value that cannot be found is printed
// empty with the reason on err, and the status is then 1; otherwise 0.
int runWhereCommand(std::ostream& out, std::ostream& err);

} // namespace quarvel
