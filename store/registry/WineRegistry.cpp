#include "store/registry/WineRegistry.h"

#include "platform/os/TextEncoding.h"

#include <cerrno>
#include <utility>

namespace quarvel {
namespace {

RegistryStatus statusOf(const platform::Failure& failure) {
    switch (failure.errorNumber) {
    case ENOENT:
    case ENOTDIR:
        return kRegistryNotFound;
    case EACCES:
    case EPERM:
        return kRegistryAccessDenied;
    default:
        return kRegistryCorrupt;
    }
}

// What the ANSI call of Windows gives for a value: text in the 8-bit code page with every zero it holds,
// other types byte for byte.
std::string ansiBytesOf(const platform::HiveValue& value) {
    if (!platform::isStringType(value.type))
        return {value.data.begin(), value.data.end()};
    std::u16string units;
    for (std::size_t i = 0; i + 1 < value.data.size(); i += 2)
        units.push_back(static_cast<char16_t>(value.data[i] | (value.data[i + 1] << 8)));
    return platform::utf16ToWindows1252(units);
}

} // namespace

WineRegistry::WineRegistry(platform::WinePrefix prefix) : m_prefix(std::move(prefix)) {}

const platform::RegistryHive* WineRegistry::hiveOf(HKEY root, RegistryStatus& status) {
    if (root != HKEY_LOCAL_MACHINE && root != HKEY_CURRENT_USER) {
        status = kRegistryInvalidHandle;
        return nullptr;
    }
    const platform::Result<platform::RegistryHive>& hive =
        root == HKEY_LOCAL_MACHINE ? m_prefix.loadSystemRegistry() : m_prefix.loadUserRegistry();
    if (!hive) {
        m_problem = hive.failure().message;
        status = statusOf(hive.failure());
        return nullptr;
    }
    status = kRegistrySuccess;
    return &hive.value();
}

RegistryStatus WineRegistry::openKey(HKEY parent, const std::string& subKey, std::uint32_t /*options*/,
                                     std::uint32_t /*access*/, HKEY& result) {
    OpenKey base{parent, {}};
    if (const auto open = m_handles.find(static_cast<std::uint32_t>(parent)); open != m_handles.end())
        base = open->second;
    RegistryStatus status = kRegistrySuccess;
    const platform::RegistryHive* hive = hiveOf(base.root, status);
    if (hive == nullptr)
        return status;
    const std::u16string path = base.path + u'\\' + platform::windows1252ToUtf16(subKey);
    const platform::HiveKey* key =
        base.root == HKEY_LOCAL_MACHINE ? hive->findKeyOf32BitProgram(path) : hive->findKey(path);
    if (key == nullptr)
        return kRegistryNotFound;
    const std::uint32_t handle = m_nextHandle++;
    m_handles[handle] = OpenKey{base.root, key->path()};
    result = HKEY{handle};
    return kRegistrySuccess;
}

RegistryStatus WineRegistry::createKey(HKEY /*parent*/, const std::string& /*subKey*/,
                                       const char* /*className*/, std::uint32_t /*options*/,
                                       std::uint32_t /*access*/, HKEY& /*result*/) {
    return kRegistryAccessDenied;
}

const platform::HiveValue* WineRegistry::findValue(HKEY key, const std::string& valueName,
                                                   RegistryStatus& status) {
    const auto open = m_handles.find(static_cast<std::uint32_t>(key));
    if (open == m_handles.end()) {
        status = kRegistryInvalidHandle;
        return nullptr;
    }
    status = kRegistrySuccess;
    const platform::RegistryHive* hive = hiveOf(open->second.root, status);
    const platform::HiveKey* hiveKey = hive != nullptr ? hive->findKey(open->second.path) : nullptr;
    const platform::HiveValue* value =
        hiveKey != nullptr ? hiveKey->findValue(platform::windows1252ToUtf16(valueName)) : nullptr;
    if (value == nullptr && status == kRegistrySuccess)
        status = kRegistryNotFound;
    return value;
}

RegistryStatus WineRegistry::queryValue(HKEY key, const std::string& valueName, std::uint32_t* type,
                                        std::uint8_t* data, std::uint32_t& size) {
    RegistryStatus status = kRegistrySuccess;
    const platform::HiveValue* value = findValue(key, valueName, status);
    if (value == nullptr)
        return status;
    return answerValueQuery(value->type, ansiBytesOf(*value), type, data, size);
}

RegistryStatus WineRegistry::queryValueText(HKEY key, const std::string& valueName, std::u16string& text) {
    RegistryStatus status = kRegistrySuccess;
    const platform::HiveValue* value = findValue(key, valueName, status);
    if (value == nullptr)
        return status;
    if (std::optional<std::u16string> held = value->text()) {
        text = held->substr(0, held->find(u'\0'));
        return kRegistrySuccess;
    }
    return RegistryApi::queryValueText(key, valueName, text);
}

RegistryStatus WineRegistry::setValue(HKEY /*key*/, const std::string& /*valueName*/, std::uint32_t /*type*/,
                                      const std::uint8_t* /*data*/, std::uint32_t /*size*/) {
    return kRegistryAccessDenied;
}

RegistryStatus WineRegistry::closeKey(HKEY key) {
    return m_handles.erase(static_cast<std::uint32_t>(key)) == 1 ? kRegistrySuccess : kRegistryInvalidHandle;
}

} // namespace quarvel
