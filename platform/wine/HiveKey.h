#pragma once

#include "platform/wine/HiveValue.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quarvel::platform {

// One key of a registry file: its own name, its parent and its values. A key holds only its own name, kept
// by its hive, so that a file of deep keys costs memory in proportion to its size.
class HiveKey {
public:
    // name: spelled as in the file, in storage that outlives the key.
    HiveKey(std::u16string_view name, const HiveKey* parent);

    // Empty for the root.
    std::u16string_view name() const { return m_name; }
    const HiveKey* parent() const { return m_parent; }
    // The names from below the root to this key, separated by one backslash; empty for the root.
    std::u16string path() const;
    const std::vector<HiveValue>& values() const;

    // The value of that name regardless of case (the empty name is the default value), or null.
    const HiveValue* findValue(std::u16string_view name) const;

    // Adds the value, or replaces the one of the same name, as a later line of a file does.
    void setValue(HiveValue value);

private:
    struct Values {
        std::vector<HiveValue> list;
        std::unordered_map<std::u16string, std::size_t> indexByFoldedName; // some keys hold thousands
    };

    std::u16string_view m_name;
    const HiveKey* m_parent;
    std::unique_ptr<Values> m_values; // made with the first value, as most keys have none
};

} // namespace quarvel::platform
