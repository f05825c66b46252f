#include "platform/WinePrefix.h"
#include "store/ProfileStore.h"
#include "tools/DescriptorOutputBuffer.h"
#include "tools/IniTool.h"

#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    quarvel::DescriptorOutputBuffer outputBuffer(STDOUT_FILENO);
    std::ostream out(&outputBuffer);
    quarvel::ProfileStore store(quarvel::platform::WinePrefix::fromEnvironment().windowsDirectory());
    return quarvel::IniTool(store, out, std::cerr).run(arguments);
}
