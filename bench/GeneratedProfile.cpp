#include "bench/GeneratedProfile.h"

#include "store/profile/ProfileCache.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace quarvel::bench {

namespace {

std::string numbered(const char* format, int number) {
    char text[64];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

} // namespace

GeneratedProfile::GeneratedProfile(const Shape& shape) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quarvel-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a folder for the benchmark");
    m_folder = pattern;
    m_file = m_folder / shape.fileName;
    m_sectionNames.reserve(static_cast<std::size_t>(shape.sectionCount));
    for (int section = 0; section < shape.sectionCount; ++section) {
        if (shape.style == Style::NumberedKeys)
            addNumberedKeys(section);
        else
            addSceneryArea(section + 1, section + 1 == shape.sectionCount);
    }
    std::ofstream out(m_file, std::ios::binary);
    out.write(m_bytes.data(), static_cast<std::streamsize>(m_bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + m_file.string());
}

void GeneratedProfile::addNumberedKeys(int section) {
    m_sectionNames.push_back(numbered("Section.%04d", section));
    m_bytes += "[" + m_sectionNames.back() + "]\r\n";
    for (int key = 0; key < numberedKeysPerSection; ++key)
        m_bytes +=
            numbered("Key%d=", key) + numbered("Value%06d\r\n", section * numberedKeysPerSection + key);
}

void GeneratedProfile::addSceneryArea(int section, bool last) {
    m_sectionNames.push_back(numbered("Area.%03d", section));
    m_bytes += "[" + m_sectionNames.back() + "]\r\n";
    m_bytes +=
        last ? std::string("Title=") + lastSectionMark + "\r\n" : numbered("Title=Add-on %d\r\n", section);
    m_bytes += "Texture_ID=1\r\n";
    m_bytes += numbered("Local=Addon Scenery\\Area%06d\r\n", section);
    m_bytes += numbered("Layer=%d\r\n", section);
    m_bytes += "Active=TRUE\r\nRequired=FALSE\r\n\r\n";
}

GeneratedProfile::~GeneratedProfile() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

void GeneratedProfile::waitUntilSettled() const {
    std::this_thread::sleep_for(std::chrono::nanoseconds(ProfileCache::kDefaultSettleTime) +
                                std::chrono::milliseconds(100));
}

} // namespace quarvel::bench
