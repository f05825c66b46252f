#pragma once

#include "store/registry/RegistryApi.h"

#include <map>
#include <string>
#include <vector>

namespace quarvel::test {

// A registry kept in memory, for tests: set up keys and values, refuse access to keys, make closes fail,
// and read back every call that was made.
class MemoryRegistry final : public RegistryApi {
public:
    MemoryRegistry();

    // Creates the key and its missing parents. root is HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER.
    void addKey(HKEY root, const std::string& path);
    // Sets a value's type and bytes exactly as given, creating the key.
    void putValue(HKEY root, const std::string& path, const std::string& valueName, std::uint32_t type,
                  const std::string& bytes);
    // A REG_SZ value with its terminating zero byte, as Windows stores text.
    void putString(HKEY root, const std::string& path, const std::string& valueName, const std::string& text);
    // Opening or creating the key answers kRegistryAccessDenied from now on.
    void refuseAccess(HKEY root, const std::string& path);
    // Every close answers this status from now on (kRegistrySuccess undoes it); a failed close keeps the
    // key open.
    void answerClosesWith(RegistryStatus status) { m_closeStatus = status; }

    // Every call made so far, one line each: "openKey <path> access=<hex>", "createKey <path>",
    // "queryValue <name> size" or "queryValue <name> buffer=<length>", "setValue <name>", "closeKey
    // <handle>".
    const std::vector<std::string>& calls() const { return m_calls; }
    std::size_t openKeyCount() const { return m_handles.size(); }
    // The bytes of a value, or nothing when the key or value is missing.
    const std::string* valueBytes(HKEY root, const std::string& path, const std::string& valueName) const;

    RegistryStatus openKey(HKEY parent, const std::string& subKey, std::uint32_t options,
                           std::uint32_t access, HKEY& result) override;
    RegistryStatus createKey(HKEY parent, const std::string& subKey, const char* className,
                             std::uint32_t options, std::uint32_t access, HKEY& result) override;
    RegistryStatus queryValue(HKEY key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                              std::uint32_t& size) override;
    RegistryStatus setValue(HKEY key, const std::string& valueName, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t size) override;
    RegistryStatus closeKey(HKEY key) override;

private:
    struct Value {
        std::uint32_t type = platform::kRegNone;
        std::string bytes;
    };
    struct Key {
        std::map<std::string, Value> values; // by folded name
        bool refused = false;
    };

    // The folded full path of a key below a root or an open key; empty when parent is neither.
    std::string fullPath(HKEY parent, const std::string& subKey) const;
    Key& createPath(const std::string& path);
    HKEY handOut(const std::string& path);
    Key* keyOf(HKEY handle);

    std::map<std::string, Key> m_keys;              // by folded full path, "HKLM\..." or "HKCU\..."
    std::map<std::uint32_t, std::string> m_handles; // open handle to folded full path
    std::uint32_t m_nextHandle = 1;
    RegistryStatus m_closeStatus = kRegistrySuccess;
    std::vector<std::string> m_calls;
};

} // namespace quarvel::test
