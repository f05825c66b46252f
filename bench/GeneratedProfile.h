#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quarvel::bench {

// A profile file of the size the benchmarks measure (about 1 MB: 5,000 sections of 10 keys, CRLF) in a
// temporary folder of its own on the disk of the temporary directory, removed with the object.
class GeneratedProfile {
public:
    static constexpr int sectionCount = 5000;
    static constexpr int keysPerSection = 10;

    GeneratedProfile();
    ~GeneratedProfile();
    GeneratedProfile(const GeneratedProfile&) = delete;
    GeneratedProfile& operator=(const GeneratedProfile&) = delete;

    const std::filesystem::path& folder() const { return m_folder; }
    const std::filesystem::path& file() const { return m_file; }
    const std::string& bytes() const { return m_bytes; }
    const std::vector<std::string>& sectionNames() const { return m_sectionNames; }

    // Waits until the file is old enough for the store to keep it parsed between calls.
    void waitUntilSettled() const;

private:
    std::filesystem::path m_folder;
    std::filesystem::path m_file;
    std::string m_bytes;
    std::vector<std::string> m_sectionNames;
};

} // namespace quarvel::bench
