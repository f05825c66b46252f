#pragma once

#include "platform/HiveKey.h"
#include "platform/Result.h"

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace quarvel::platform {

// The keys of one of Wine's registry files (system.reg for HKEY_LOCAL_MACHINE, user.reg for
// HKEY_CURRENT_USER), read only: the files belong to Wine and Quarvel never writes them.
class RegistryHive {
public:
    // Reads and parses the file; a missing, unreadable or malformed file is a Failure saying which and why.
    static Result<RegistryHive> load(const std::filesystem::path& file);

    // The key at the path (components separated by backslashes) regardless of case, or null. A key that
    // the file names only as a parent of other keys exists too.
    const HiveKey* findKey(std::u16string_view path) const;

    // As findKey; when a Software\... key is missing, the same key under Software\Wow6432Node\..., where a
    // 64-bit prefix keeps the keys of 32-bit programs.
    const HiveKey* findKeyOf32BitProgram(std::u16string_view path) const;

    std::size_t keyCount() const { return m_keys.size(); }

    // Limits Windows puts on keys. They also bound what one key line of a malformed file can cost, as
    // every key, parents included, holds its whole path.
    static constexpr std::size_t kMaxKeyDepth = 512;
    static constexpr std::size_t kMaxKeyNameLength = 255; // UTF-16 units of one component

    // The key at the path, created with its parents when missing; a path deeper than kMaxKeyDepth or with a
    // component longer than kMaxKeyNameLength is a Failure saying which.
    Result<HiveKey*> keyAt(std::u16string_view path);

private:
    std::map<std::u16string, HiveKey> m_keys; // by the path's folded case
};

} // namespace quarvel::platform
