#pragma once

#include "platform/os/Result.h"
#include "platform/wine/RegistryHive.h"
#include "platform/wine/WinePrefix.h"
#include "store/registry/RegistryApi.h"

#include <map>
#include <string>

namespace quarvel {

// The registry of a Wine prefix, read from its system.reg (HKEY_LOCAL_MACHINE) and user.reg
// (HKEY_CURRENT_USER) when first asked. Read only: Quarvel never writes the prefix, so creating keys and
// setting values answer kRegistryAccessDenied. A missing registry file answers kRegistryNotFound, an
// unreadable one kRegistryAccessDenied and a malformed one kRegistryCorrupt; problem() says more.
// A Software\... key that HKEY_LOCAL_MACHINE lacks is looked for under Software\Wow6432Node\..., where a
// 64-bit prefix keeps the keys of 32-bit programs such as the simulator.
class WineRegistry final : public RegistryApi {
public:
    explicit WineRegistry(platform::WinePrefix prefix);

    // Why a registry file could not be read, when one could not; empty otherwise.
    const std::string& problem() const { return m_problem; }

    RegistryStatus openKey(HKEY parent, const std::string& subKey, std::uint32_t options,
                           std::uint32_t access, HKEY& result) override;
    RegistryStatus createKey(HKEY parent, const std::string& subKey, const char* className,
                             std::uint32_t options, std::uint32_t access, HKEY& result) override;
    RegistryStatus queryValue(HKEY key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                              std::uint32_t& size) override;
    RegistryStatus queryValueText(HKEY key, const std::string& valueName, std::u16string& text) override;
    RegistryStatus setValue(HKEY key, const std::string& valueName, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t size) override;
    RegistryStatus closeKey(HKEY key) override;

private:
    struct OpenKey {
        HKEY root = kNullKey;
        std::u16string path;
    };

    // The file behind a root, loaded by the prefix on first use; null with the status when it cannot be
    // read.
    const platform::RegistryHive* hiveOf(HKEY root, RegistryStatus& status);
    // The value of an open key; null with the status when the key or value is not there.
    const platform::HiveValue* findValue(HKEY key, const std::string& valueName, RegistryStatus& status);

    platform::WinePrefix m_prefix;
    std::map<std::uint32_t, OpenKey> m_handles;
    std::uint32_t m_nextHandle = 1;
    std::string m_problem;
};

} // namespace quarvel
