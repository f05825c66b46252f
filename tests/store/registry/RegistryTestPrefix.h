#pragma once

#include "tests/support/TempDir.h"

#include <filesystem>
#include <string>

namespace quarvel::test {

// A Wine prefix in a temporary folder, with c: and z: in dosdevices as wineboot makes them, for tests to
// fill with registry files, folders and files.
class RegistryTestPrefix {
public:
    RegistryTestPrefix() {
        std::filesystem::create_directories(m_dir / "drive_c" / "windows");
        std::filesystem::create_directories(m_dir / "dosdevices");
        std::filesystem::create_directory_symlink("../drive_c", m_dir / "dosdevices" / "c:");
        std::filesystem::create_directory_symlink("/", m_dir / "dosdevices" / "z:");
    }

    const std::filesystem::path& root() const { return m_dir.path(); }
    std::filesystem::path driveC() const { return m_dir / "drive_c"; }

    // system.reg or user.reg with the given keys and values after Wine's header lines.
    void writeSystemReg(const std::string& body) const {
        m_dir.write("system.reg",
                    "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n" + body);
    }
    void writeUserReg(const std::string& body) const {
        m_dir.write("user.reg",
                    "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n" +
                        body);
    }

    // system.reg with the simulator's "EXE Path", the value written as the registry file escapes it.
    void writeExePath(const std::string& escapedValue,
                      const std::string& keyPath =
                          "Software\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\9.0") const {
        writeSystemReg("[" + keyPath + "] 1717000000\n#time=1dab0c0ffee1234\n\"EXE Path\"=\"" + escapedValue +
                       "\"\n");
    }

    std::filesystem::path write(const std::string& name, const std::string& bytes) const {
        return m_dir.write(name, bytes);
    }

private:
    TempDir m_dir;
};

} // namespace quarvel::test
