#include "platform/wine/PrefixDiscovery.h"
#include "platform/wine/PrefixOption.h"
#include "store/profile/ProfileStore.h"
#include "tools/DescriptorOutputBuffer.h"
#include "tools/IniTool.h"

#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    // The prefix option comes before the command, so that no file or value is ever taken for it.
    std::optional<std::string> prefix;
    if (!arguments.empty()) {
        if (const auto option = quarvel::platform::matchPrefixOption(arguments.front())) {
            if (option->valueFollows && arguments.size() < 2) {
                std::cerr << "quarvel-ini: --prefix needs a folder (try 'quarvel-ini --help')\n";
                return quarvel::IniTool::UsageError;
            }
            prefix = option->valueFollows ? arguments[1] : option->value;
            arguments.erase(arguments.begin(), arguments.begin() + (option->valueFollows ? 2 : 1));
        }
    }
    const quarvel::platform::WinePrefix wine = quarvel::platform::choosePrefixFromEnvironment(prefix).prefix;
    quarvel::ProfileStore store(wine.windowsDirectory());
    quarvel::DescriptorOutputBuffer outputBuffer(STDOUT_FILENO);
    std::ostream out(&outputBuffer);
    return quarvel::IniTool(store, wine, std::cin, out, std::cerr).run(arguments);
}
