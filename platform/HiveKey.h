#pragma once

#include "platform/HiveValue.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quarvel::platform {

// One key of a registry file: its path below the file's root and its values.
class HiveKey {
public:
    explicit HiveKey(std::u16string path);

    // Components separated by one backslash, spelled as in the file; empty for the root.
    const std::u16string& path() const { return m_path; }
    const std::vector<HiveValue>& values() const { return m_values; }

    // The value of that name regardless of case (the empty name is the default value), or null.
    const HiveValue* findValue(std::u16string_view name) const;

    // Adds the value, or replaces the one of the same name, as a later line of a file does.
    void setValue(HiveValue value);

private:
    std::u16string m_path;
    std::vector<HiveValue> m_values;
    std::unordered_map<std::u16string, std::size_t> m_indexByFoldedName; // some keys hold thousands of values
};

} // namespace quarvel::platform
