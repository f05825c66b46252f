#include "store/registry/CRegistryKey.h"

#include "store/registry/RegistryException.h"

#include <vector>

namespace quarvel {

CRegistryKey::CRegistryKey(RegistryApi& registry) : m_registry(registry) {}

CRegistryKey::~CRegistryKey() {
    if (m_hKey != kNullKey)
        m_registry.closeKey(m_hKey);
}

void CRegistryKey::Open(HKEY parent, const std::string& subKey, bool createIfMissing) {
    if (m_hKey != kNullKey)
        Close();
    HKEY opened = kNullKey;
    const RegistryStatus status = m_registry.openKey(parent, subKey, 0, KEY_ALL_ACCESS, opened);
    if (status == kRegistrySuccess) {
        m_hKey = opened;
        return;
    }
    m_hKey = kNullKey;
    if (!createIfMissing)
        throw RegistryException("Failure opening key", status);
    Create(parent, subKey, nullptr, 0);
}

void CRegistryKey::Create(HKEY parent, const std::string& subKey, const char* className,
                          std::uint32_t options) {
    if (m_hKey != kNullKey)
        Close();
    HKEY created = kNullKey;
    const RegistryStatus status =
        m_registry.createKey(parent, subKey, className, options, KEY_ALL_ACCESS, created);
    if (status != kRegistrySuccess)
        throw RegistryException("Failure creating key", status);
    m_hKey = created;
}

std::string CRegistryKey::QueryValue(const std::string& valueName, const std::string& defaultText,
                                     bool createIfMissing) {
    std::uint32_t type = platform::kRegNone;
    std::uint32_t size = 0;
    RegistryStatus status = m_registry.queryValue(m_hKey, valueName, &type, nullptr, size);
    if (status != kRegistrySuccess) {
        if (!createIfMissing)
            throw RegistryException("Failure query value", status);
        SetValue(valueName, defaultText);
        return defaultText;
    }
    // One zero byte more than the data, so that text stored without its terminating zero is read whole.
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(size) + 1, 0);
    status = m_registry.queryValue(m_hKey, valueName, &type, buffer.data(), size);
    if (status != kRegistrySuccess) {
        if (!createIfMissing)
            throw RegistryException("Failure query value", status);
        SetValue(valueName, defaultText);
    }
    return {reinterpret_cast<const char*>(buffer.data())};
}

void CRegistryKey::SetValue(const std::string& valueName, const std::string& text) {
    const RegistryStatus status = m_registry.setValue(m_hKey, valueName, platform::kRegString,
                                                      reinterpret_cast<const std::uint8_t*>(text.data()),
                                                      static_cast<std::uint32_t>(text.size()));
    if (status != kRegistrySuccess)
        throw RegistryException("Failure creating value", status);
}

bool CRegistryKey::Close() {
    if (m_registry.closeKey(m_hKey) != kRegistrySuccess)
        return false;
    m_hKey = kNullKey;
    return true;
}

} // namespace quarvel
