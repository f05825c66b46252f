#include "bench/GeneratedProfile.h"

#include "store/ProfileCache.h"

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
    char text[32];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

} // namespace

GeneratedProfile::GeneratedProfile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quarvel-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a folder for the benchmark");
    m_folder = pattern;
    m_file = m_folder / "generated.cfg";
    for (int section = 0; section < sectionCount; ++section) {
        m_sectionNames.push_back(numbered("Section.%04d", section));
        m_bytes += "[" + m_sectionNames.back() + "]\r\n";
        for (int key = 0; key < keysPerSection; ++key)
            m_bytes += numbered("Key%d=", key) + numbered("Value%06d\r\n", section * keysPerSection + key);
    }
    std::ofstream out(m_file, std::ios::binary);
    out.write(m_bytes.data(), static_cast<std::streamsize>(m_bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + m_file.string());
}

GeneratedProfile::~GeneratedProfile() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

void GeneratedProfile::waitUntilSettled() const {
    std::this_thread::sleep_for(std::chrono::nanoseconds(ProfileCache::defaultSettleTime) +
                                std::chrono::milliseconds(100));
}

} // namespace quarvel::bench
