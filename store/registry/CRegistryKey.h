#pragma once

#include "store/registry/RegistryApi.h"

#include <cstdint>
#include <string>

namespace quarvel {

// Owner of one open registry key, closed when the object goes. Every failing registry call raises a
// RegistryException with the step's text and the call's status.
class CRegistryKey {
public:
    explicit CRegistryKey(RegistryApi& registry);
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;
    virtual ~CRegistryKey();

    // Opens the key with full access. With createIfMissing set, a failed open is not an error: the key is
    // created instead. A key this object already holds is closed first.
    void Open(HKEY parent, const std::string& subKey, bool createIfMissing);
    void Create(HKEY parent, const std::string& subKey, const char* className, std::uint32_t options);

    // The value's data as text up to its first zero byte, whatever its type, read in two steps so that
    // any length fits. With createIfMissing set, a value that cannot be read is written with the default
    // text instead of raising.
    std::string QueryValue(const std::string& valueName, const std::string& defaultText,
                           bool createIfMissing);

    // Writes the text as a REG_SZ value, without a terminating zero byte.
    void SetValue(const std::string& valueName, const std::string& text);

    // True when the key was closed; a failed close keeps the handle for another try.
    bool Close();

    HKEY handle() const { return m_hKey; }

private:
    RegistryApi& m_registry;
    HKEY m_hKey = kNullKey;
};

} // namespace quarvel
