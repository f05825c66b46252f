#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarvel::platform {

// The text of one value of one key in a Wine registry file's text, found without parsing the whole file:
// the key's header line is looked for line by line, and only the key's own lines are parsed. keyPath is
// relative to the file's root, with single backslashes ("Software\Vendor\Program"), compared as Windows
// compares names. The key under Software\Wow6432Node counts too, as a 32-bit program sees it. Nothing
// when the key or value is missing, is no text, or its lines cannot be read.
std::optional<std::u16string> findRegistryText(std::string_view fileText, std::string_view keyPath,
                                               std::u16string_view valueName);

} // namespace quarvel::platform
