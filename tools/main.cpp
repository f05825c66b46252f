#include "platform/WinePrefix.h"
#include "store/ProfileStore.h"
#include "tools/IniTool.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    quarvel::ProfileStore store(quarvel::platform::WinePrefix::fromEnvironment().windowsDirectory());
    return quarvel::IniTool(store, std::cout, std::cerr).run(arguments);
}
