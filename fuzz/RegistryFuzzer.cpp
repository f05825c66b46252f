// Reads the fuzzer's bytes as a Wine registry file and checks that whatever comes out holds together: the
// reader never fails on a line (only on the header), every key is found again by its path in any case,
// and the keys cost no more than the bytes that name them.
#include "platform/os/TextEncoding.h"
#include "platform/wine/RegistryFileParser.h"
#include "platform/wine/RegistryHive.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace quarvel::platform {
namespace {

[[noreturn]] void violated(const char* what) {
    std::fprintf(stderr, "registry invariant violated: %s\n", what);
    std::abort();
}

void expect(bool holds, const char* what) {
    if (!holds)
        violated(what);
}

std::u16string upperCased(std::u16string_view text) {
    std::u16string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char16_t unit) { return unit >= u'a' && unit <= u'z' ? unit - u'a' + u'A' : unit; });
    return upper;
}

void checkKey(const RegistryHive& hive, const HiveKey& key) {
    const std::u16string path = key.path();
    expect(hive.findKey(path) == &key, "a key is not found by its own path");
    expect(hive.findKey(upperCased(path)) == &key, "a key is not found by its path in other case");
    expect(key.name().size() <= RegistryHive::kMaxKeyNameLength, "a key name is longer than the limit");
    for (const HiveValue& value : key.values())
        expect(key.findValue(upperCased(value.name)) == &value, "a value is not found by its name");
}

} // namespace
} // namespace quarvel::platform

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarvel::platform;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Result<RegistryHive> parsed = RegistryFileParser(text, "fuzz.reg").parse();
    if (!parsed) {
        expect(!text.starts_with("WINE REGISTRY Version 2\n") &&
                   !text.starts_with("WINE REGISTRY Version 2\r\n"),
               "a file with a good header failed as a whole");
        return 0;
    }
    const RegistryHive& hive = parsed.value();
    // Every key but the root is named by at least one byte of the file.
    expect(hive.keyCount() <= size + 1, "more keys than bytes");
    const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    expect(hive.skippedLines() <= lines, "more lines left out than the file has");
    expect((hive.skippedLines() == 0) == hive.firstSkipped().empty(),
           "a count of left-out lines without a reason");
    expect(hive.findKey(u"") == &hive.keys().front(), "the empty path is not the root");
    for (const HiveKey& key : hive.keys())
        checkKey(hive, key);
    return 0;
}
