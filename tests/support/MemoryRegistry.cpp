#include "tests/support/MemoryRegistry.h"

#include "platform/os/TextEncoding.h"

#include <sstream>

namespace quarvel::test {
namespace {

std::string folded(const std::string& name) {
    return platform::utf16ToWindows1252(platform::foldCase(platform::windows1252ToUtf16(name)));
}

// base followed by the components of subKey, one backslash between each, empty components dropped.
std::string appended(std::string base, const std::string& subKey) {
    std::istringstream components(subKey);
    std::string component;
    while (std::getline(components, component, '\\')) {
        if (!component.empty())
            base.append("\\").append(folded(component));
    }
    return base;
}

std::string rootName(HKEY root) {
    if (root == HKEY_LOCAL_MACHINE)
        return "HKLM";
    if (root == HKEY_CURRENT_USER)
        return "HKCU";
    return {};
}

} // namespace

MemoryRegistry::MemoryRegistry() {
    m_keys.try_emplace(rootName(HKEY_LOCAL_MACHINE));
    m_keys.try_emplace(rootName(HKEY_CURRENT_USER));
}

void MemoryRegistry::addKey(HKEY root, const std::string& path) {
    createPath(appended(rootName(root), path));
}

void MemoryRegistry::putValue(HKEY root, const std::string& path, const std::string& valueName,
                              std::uint32_t type, const std::string& bytes) {
    createPath(appended(rootName(root), path)).values[folded(valueName)] = Value{type, bytes};
}

void MemoryRegistry::putString(HKEY root, const std::string& path, const std::string& valueName,
                               const std::string& text) {
    putValue(root, path, valueName, platform::kRegString, text + '\0');
}

void MemoryRegistry::refuseAccess(HKEY root, const std::string& path) {
    createPath(appended(rootName(root), path)).refused = true;
}

const std::string* MemoryRegistry::valueBytes(HKEY root, const std::string& path,
                                              const std::string& valueName) const {
    const auto key = m_keys.find(appended(rootName(root), path));
    if (key == m_keys.end())
        return nullptr;
    const auto value = key->second.values.find(folded(valueName));
    return value == key->second.values.end() ? nullptr : &value->second.bytes;
}

RegistryStatus MemoryRegistry::openKey(HKEY parent, const std::string& subKey, std::uint32_t /*options*/,
                                       std::uint32_t access, HKEY& result) {
    std::ostringstream call;
    call << "openKey " << subKey << " access=" << std::hex << access;
    m_calls.push_back(call.str());
    const std::string path = fullPath(parent, subKey);
    if (path.empty())
        return kRegistryInvalidHandle;
    const auto key = m_keys.find(path);
    if (key == m_keys.end())
        return kRegistryNotFound;
    if (key->second.refused)
        return kRegistryAccessDenied;
    result = handOut(path);
    return kRegistrySuccess;
}

RegistryStatus MemoryRegistry::createKey(HKEY parent, const std::string& subKey, const char* /*className*/,
                                         std::uint32_t /*options*/, std::uint32_t /*access*/, HKEY& result) {
    m_calls.push_back("createKey " + subKey);
    const std::string path = fullPath(parent, subKey);
    if (path.empty())
        return kRegistryInvalidHandle;
    if (createPath(path).refused)
        return kRegistryAccessDenied;
    result = handOut(path);
    return kRegistrySuccess;
}

RegistryStatus MemoryRegistry::queryValue(HKEY key, const std::string& valueName, std::uint32_t* type,
                                          std::uint8_t* data, std::uint32_t& size) {
    m_calls.push_back("queryValue " + valueName +
                      (data == nullptr ? " size" : " buffer=" + std::to_string(size)));
    Key* open = keyOf(key);
    if (open == nullptr)
        return kRegistryInvalidHandle;
    const auto value = open->values.find(folded(valueName));
    if (value == open->values.end())
        return kRegistryNotFound;
    return answerValueQuery(value->second.type, value->second.bytes, type, data, size);
}

RegistryStatus MemoryRegistry::setValue(HKEY key, const std::string& valueName, std::uint32_t type,
                                        const std::uint8_t* data, std::uint32_t size) {
    m_calls.push_back("setValue " + valueName);
    Key* open = keyOf(key);
    if (open == nullptr)
        return kRegistryInvalidHandle;
    open->values[folded(valueName)] = Value{type, std::string(reinterpret_cast<const char*>(data), size)};
    return kRegistrySuccess;
}

RegistryStatus MemoryRegistry::closeKey(HKEY key) {
    m_calls.push_back("closeKey " + std::to_string(static_cast<std::uint32_t>(key)));
    if (m_closeStatus != kRegistrySuccess)
        return m_closeStatus;
    return m_handles.erase(static_cast<std::uint32_t>(key)) == 1 ? kRegistrySuccess : kRegistryInvalidHandle;
}

std::string MemoryRegistry::fullPath(HKEY parent, const std::string& subKey) const {
    std::string base = rootName(parent);
    if (base.empty()) {
        const auto open = m_handles.find(static_cast<std::uint32_t>(parent));
        if (open == m_handles.end())
            return {};
        base = open->second;
    }
    return appended(base, subKey);
}

MemoryRegistry::Key& MemoryRegistry::createPath(const std::string& path) {
    for (std::size_t separator = path.find('\\'); separator != std::string::npos;
         separator = path.find('\\', separator + 1))
        m_keys.try_emplace(path.substr(0, separator));
    return m_keys[path];
}

HKEY MemoryRegistry::handOut(const std::string& path) {
    const std::uint32_t handle = m_nextHandle++;
    m_handles[handle] = path;
    return HKEY{handle};
}

MemoryRegistry::Key* MemoryRegistry::keyOf(HKEY handle) {
    const auto open = m_handles.find(static_cast<std::uint32_t>(handle));
    if (open == m_handles.end())
        return nullptr;
    const auto key = m_keys.find(open->second);
    return key == m_keys.end() ? nullptr : &key->second;
}

} // namespace quarvel::test
