#pragma once

#include "platform/os/Result.h"
#include "platform/wine/HiveKey.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel::platform {

// The keys of one of Wine's registry files (system.reg for HKEY_LOCAL_MACHINE, user.reg for
// HKEY_CURRENT_USER), read only: the files belong to Wine and Quarvel never writes them. Each key holds
// its own name and its parent, so memory stays within a small multiple of the file's size whatever the
// depth of its keys.
class RegistryHive {
public:
    RegistryHive();
    RegistryHive(RegistryHive&&) noexcept = default;
    RegistryHive& operator=(RegistryHive&&) noexcept = default;
    // Keys point at their parents inside the hive, so a hive is moved, never copied.
    RegistryHive(const RegistryHive&) = delete;
    RegistryHive& operator=(const RegistryHive&) = delete;

    // Reads and parses the file; a missing, unreadable or oversized file, or one that is not a Wine registry
    // file at all, is a Failure saying which and why. Lines that cannot be read are skipped, as Wine skips
    // them; skippedLines() counts them.
    static Result<RegistryHive> load(const std::filesystem::path& file);

    // The key at the path (components separated by backslashes) regardless of case, or null. A key that
    // the file names only as a parent of other keys exists too.
    const HiveKey* findKey(std::u16string_view path) const;

    // As findKey; when a Software\... key is missing, the same key under Software\Wow6432Node\..., where a
    // 64-bit prefix keeps the keys of 32-bit programs.
    const HiveKey* findKeyOf32BitProgram(std::u16string_view path) const;

    // Every key, the root first and every key after its parent.
    const std::deque<HiveKey>& keys() const { return m_keys; }
    std::size_t keyCount() const { return m_keys.size(); }

    // Limits Windows puts on keys, which also bound what one key line of a malformed file can cost.
    static constexpr std::size_t kMaxKeyDepth = 512;
    static constexpr std::size_t kMaxKeyNameLength = 255; // UTF-16 units of one component

    // The key at the path, created with its parents when missing; a path deeper than kMaxKeyDepth or with a
    // component longer than kMaxKeyNameLength is a Failure saying which.
    Result<HiveKey*> keyAt(std::u16string_view path);

    // Lines of the file that could not be read and were left out, and where and why the first one was.
    std::size_t skippedLines() const { return m_skippedLines; }
    const std::string& firstSkipped() const { return m_firstSkipped; }
    void noteSkipped(std::string whereAndWhy);

private:
    const HiveKey* findSubKey(const HiveKey& parent, std::u16string_view name) const;
    HiveKey& subKey(HiveKey& parent, std::u16string_view name);
    // The slot that holds the parent's subkey of that name, or the empty slot where it would go.
    std::size_t slotOf(const HiveKey& parent, std::u16string_view name) const;
    void growSlots();
    // A lasting copy of a key's name, packed with the others.
    std::u16string_view keepName(std::u16string_view name);

    std::deque<HiveKey> m_keys; // the root first; a deque keeps every key in place as it grows
    // Subkeys by parent and folded name, open addressing: index in m_keys + 1, 0 for none; a power of two
    // long.
    std::vector<std::uint32_t> m_slots;
    std::vector<std::unique_ptr<char16_t[]>> m_nameBlocks;
    std::size_t m_nameBlockUsed = 0;
    std::size_t m_skippedLines = 0;
    std::string m_firstSkipped;
};

} // namespace quarvel::platform
