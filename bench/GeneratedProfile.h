#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quarvel::bench {

// A generated profile file, CRLF, in a temporary folder of its own on the disk of the temporary
// directory, removed with the object.
class GeneratedProfile {
public:
    enum class Style {
        NumberedKeys, // [Section.0000] with Key0=Value000000 ... Key9=...: about 200 bytes a section
        SceneryAreas, // [Area.001] as a scenery.cfg lists add-on scenery: about 115 bytes a section
    };
    struct Shape {
        Style style = Style::NumberedKeys;
        int sectionCount = 5000;
        const char* fileName = "generated.cfg";
    };
    static constexpr int numberedKeysPerSection = 10;
    // The text that only the last section holds, for a search that walks the whole file.
    static constexpr const char* lastSectionMark = "Final add-on";

    explicit GeneratedProfile(const Shape& shape);
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
    void addNumberedKeys(int section);
    void addSceneryArea(int section, bool last);

    std::filesystem::path m_folder;
    std::filesystem::path m_file;
    std::string m_bytes;
    std::vector<std::string> m_sectionNames;
};

} // namespace quarvel::bench
