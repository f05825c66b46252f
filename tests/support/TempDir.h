#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quarvel::test {

// A fresh folder for one test, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

    // Writes the bytes as they are (no line-ending translation) and returns the file's path.
    std::filesystem::path write(std::string_view name, std::string_view bytes) const;

private:
    std::filesystem::path m_path;
};

// The whole content of a file, byte for byte.
std::string readBytes(const std::filesystem::path& file);

} // namespace quarvel::test
