// `quarvel-ini where` run as a player runs it, on prefixes made for each test and on the demo prefix.
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

namespace quarvel {
namespace {

namespace fs = std::filesystem;

struct WhereRun {
    int status = -1;
    std::map<std::string, std::string> values;
    std::vector<std::string> order;
    std::string err;
};

WhereRun runWhere(const fs::path& prefix, const test::TempDir& scratch) {
    const fs::path out = scratch / "where.out";
    const fs::path err = scratch / "where.err";
    const std::string command = "env USER=tester WINEPREFIX='" + prefix.string() + "' '" + QUARVEL_INI_PATH +
                                "' where >'" + out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    WhereRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::istringstream lines(test::readBytes(out));
    for (std::string line; std::getline(lines, line);) {
        const std::size_t equals = line.find('=');
        run.order.push_back(line.substr(0, equals));
        run.values[line.substr(0, equals)] =
            equals == std::string::npos ? "<no '='>" : line.substr(equals + 1);
    }
    run.err = test::readBytes(err);
    return run;
}

const std::vector<std::string> kNames = {
    "prefix",      "windows-directory", "appdata",     "version",       "fs9-folder",  "fs9.cfg",
    "scenery.cfg", "devices.cfg",       "display.cfg", "suneffect.cfg", "terrain.cfg", "aircraft-folder"};

// A 64-bit prefix with the simulator installed in odd case and a trailing backslash in "EXE Path".
class WhereCommandTest : public testing::Test {
protected:
    WhereCommandTest() {
        fs::create_directories(m_prefix / "drive_c/windows");
        fs::create_directories(m_prefix / "dosdevices");
        fs::create_directory_symlink("../drive_c", m_prefix / "dosdevices/c:");
        m_dir.write("prefix/user.reg",
                    "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
                    "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1\n"
                    "\"AppData\"=\"C:\\\\users\\\\tester\\\\AppData\\\\Roaming\"\n");
        for (const char* name : {"SCENERY.CFG", "Devices.cfg", "display.cfg", "suneffect.cfg", "terrain.cfg",
                                 "Aircraft/C172/aircraft.cfg"})
            m_dir.write("prefix/drive_c/Program Files (x86)/Microsoft Games/Flight Simulator 9/" +
                            std::string(name),
                        "");
        m_dir.write("prefix/drive_c/users/tester/AppData/Roaming/Microsoft/FS9/fs9.cfg", "[Main]\r\n");
    }

    void writeSystemReg(const std::string& keys) const {
        m_dir.write("prefix/system.reg",
                    "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n" + keys);
    }

    test::TempDir m_dir;
    fs::path m_prefix = m_dir / "prefix";
    fs::path m_fs9 = m_prefix / "drive_c/Program Files (x86)/Microsoft Games/Flight Simulator 9";
};

TEST_F(WhereCommandTest, PrintsWhereEverythingIs) {
    writeSystemReg("[Software\\\\Wow6432Node\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\9.0] 1\n"
                   "\"EXE Path\"=\"C:\\\\Program Files (x86)\\\\Microsoft Games\\\\Flight Simulator 9\\\\\"\n"
                   "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion] 1\n\"CurrentVersion\"=\"5.1\"\n");
    const WhereRun run = runWhere(m_prefix, m_dir);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.order, kNames);
    EXPECT_EQ(run.values.at("prefix"), m_prefix.string());
    EXPECT_EQ(run.values.at("windows-directory"), (m_prefix / "drive_c/windows").string());
    EXPECT_EQ(run.values.at("appdata"), (m_prefix / "drive_c/users/tester/AppData/Roaming").string());
    EXPECT_EQ(run.values.at("version"), "5.1");
    EXPECT_EQ(run.values.at("fs9-folder"), m_fs9.string());
    EXPECT_EQ(run.values.at("fs9.cfg"),
              (m_prefix / "drive_c/users/tester/AppData/Roaming/Microsoft/FS9/fs9.cfg").string());
    EXPECT_EQ(run.values.at("scenery.cfg"), (m_fs9 / "SCENERY.CFG").string());
    EXPECT_EQ(run.values.at("devices.cfg"), (m_fs9 / "Devices.cfg").string());
    EXPECT_EQ(run.values.at("display.cfg"), (m_fs9 / "display.cfg").string());
    EXPECT_EQ(run.values.at("suneffect.cfg"), (m_fs9 / "suneffect.cfg").string());
    EXPECT_EQ(run.values.at("terrain.cfg"), (m_fs9 / "terrain.cfg").string());
    EXPECT_EQ(run.values.at("aircraft-folder"), (m_fs9 / "Aircraft").string());
}

TEST_F(WhereCommandTest, LeavesTheSimulatorsValuesEmptyWithoutItsKey) {
    writeSystemReg("[Software\\\\Microsoft\\\\DirectX] 1\n\"Version\"=\"4.09.00.0904\"\n");
    const WhereRun run = runWhere(m_prefix, m_dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.order, kNames);
    for (const char* name : {"fs9-folder", "scenery.cfg", "devices.cfg", "display.cfg", "suneffect.cfg",
                             "terrain.cfg", "aircraft-folder"})
        EXPECT_EQ(run.values.at(name), "") << name;
    EXPECT_EQ(run.values.at("version"), "6.1");
    EXPECT_NE(run.values.at("fs9.cfg"), "");
    EXPECT_NE(run.err.find("fs9-folder: Failure opening key: 2\n"), std::string::npos) << run.err;
}

TEST_F(WhereCommandTest, SaysWhichFilesAreMissing) {
    writeSystemReg("[Software\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\9.0] 1\n"
                   "\"EXE Path\"=\"C:\\\\Program Files (x86)\\\\Microsoft Games\\\\Flight Simulator 9\"\n");
    fs::remove(m_fs9 / "terrain.cfg");
    const WhereRun run = runWhere(m_prefix, m_dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.values.at("terrain.cfg"), "");
    EXPECT_EQ(run.values.at("scenery.cfg"), (m_fs9 / "SCENERY.CFG").string());
    EXPECT_EQ(run.err, "terrain.cfg: " + (m_fs9 / "terrain.cfg").string() + ": does not exist\n");
}

TEST_F(WhereCommandTest, LinesOfTheRegistryThatCannotBeReadAreLeftOutAndCounted) {
    writeSystemReg("[Software\\\\Truncat\n\"x\"=\"y\"\n"
                   "[Software\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\9.0] 1\n"
                   "\"EXE Path\"=\"C:\\\\Program Files (x86)\\\\Microsoft Games\\\\Flight Simulator 9\"\n");
    const WhereRun run = runWhere(m_prefix, m_dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.values.at("fs9-folder"), m_fs9.string());
    EXPECT_EQ(run.err, "registry: 2 lines that could not be read were left out, the first: " +
                           (m_prefix / "system.reg").string() + " line 6: no closing ]\n");
}

TEST_F(WhereCommandTest, APlayerWithoutWineGetsReasonsForEverything) {
    const WhereRun run = runWhere(m_dir / "no wine here", m_dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.order, kNames);
    EXPECT_EQ(run.values.at("prefix"), "");
    EXPECT_EQ(run.values.at("fs9-folder"), "");
    EXPECT_NE(run.err.find("prefix: "), std::string::npos);
    EXPECT_NE(run.err.find("appdata: "), std::string::npos);
    EXPECT_NE(run.err.find("fs9-folder: Failure opening key: 2"), std::string::npos) << run.err;
}

TEST(WhereCommandDemo, FindsEverythingInTheDemoPrefix) {
    const test::TempDir scratch;
    const WhereRun run = runWhere(fs::path(QUARVEL_SOURCE_DIR) / "examples" / "prefix", scratch);
    EXPECT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.order, kNames);
    for (const std::string& name : kNames) {
        if (name == "version")
            continue;
        const fs::path path = run.values.at(name);
        EXPECT_TRUE(path.is_absolute()) << name << "=" << path;
        EXPECT_TRUE(fs::exists(path)) << name << "=" << path;
    }
}

} // namespace
} // namespace quarvel
