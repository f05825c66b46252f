// quarvel-ini run as a user runs it: arguments in, bytes and an exit code out.
#include "tests/support/SimulatorPrefix.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <utility>
#include <vector>

namespace quarvel {
namespace {

using namespace std::string_literals;

// The texts as the NULL-ended array of pointers that exec wants.
std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    pointers.reserve(texts.size() + 1);
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class IniToolTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::filesystem::path windows = dir / "prefix" / "drive_c" / "windows";

    void SetUp() override { std::filesystem::create_directories(windows); }

    // Standard input is the text given; standard output goes to a file of the test's, or to the file named.
    ToolRun run(const std::vector<std::string>& arguments, const std::string& outPath = {},
                std::string_view input = {}) const {
        std::vector<std::string> commandLine = {QUARVEL_INI_PATH};
        commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
        std::vector<std::string> environment = {"WINEPREFIX=" + (dir / "prefix").string(),
                                                "HOME=" + dir.path().string()};
        std::vector<char*> argv = pointersTo(commandLine);
        std::vector<char*> envp = pointersTo(environment);

        const std::string outFile = outPath.empty() ? (dir / "stdout").string() : outPath;
        const std::string errFile = (dir / "stderr").string();
        const std::string inFile = dir.write("stdin", input).string();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, inFile.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t child = 0;
        const int spawned =
            posix_spawn(&child, QUARVEL_INI_PATH, &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        ToolRun result;
        if (spawned != 0) {
            ADD_FAILURE() << "cannot start " << QUARVEL_INI_PATH;
            return result;
        }
        int status = 0;
        waitpid(child, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = outPath.empty() ? test::readBytes(outFile) : std::string();
        result.err = test::readBytes(errFile);
        return result;
    }

    std::string sample() const {
        return dir
            .write("fs9.cfg", "; FS9 settings\r\n"
                              "[Main]\r\n"
                              "User Objects=Airplane, Helicopter\r\n"
                              "Location = \"Caf\xE9\"\r\n"
                              "[DISPLAY]\r\n"
                              "TEXTURE_BLOCK=8\r\n"
                              "UPPER_FRAMERATE_LIMIT=25\r\n"
                              "[main]\r\n"
                              "ignored=1\r\n")
            .string();
    }
};

TEST_F(IniToolTest, HelpGoesToStandardOutput) {
    const ToolRun help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: quarvel-ini [--prefix DIR] COMMAND")) << help.out;
    EXPECT_EQ(help.err, "");
}

TEST_F(IniToolTest, UsageErrorsExitWithTwoAndOneLine) {
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{},
                                                      {"frobnicate", "x"},
                                                      {"get", "fs9.cfg", "Main"},
                                                      {"sections"},
                                                      {"set", "a", "b", "c"},
                                                      {"search", "fs9.cfg", ""}}) {
        const ToolRun usage = run(arguments);
        EXPECT_EQ(usage.exitCode, 2) << usage.err;
        EXPECT_TRUE(usage.err.starts_with("quarvel-ini: ")) << usage.err;
        EXPECT_EQ(std::count(usage.err.begin(), usage.err.end(), '\n'), 1) << usage.err;
        EXPECT_EQ(usage.out, "");
    }
}

TEST_F(IniToolTest, ReadCommandsPrintOneItemPerLfLine) {
    const std::string file = sample();
    EXPECT_EQ(run({"sections", file}).out, "Main\nDISPLAY\nmain\n");
    EXPECT_EQ(run({"section", file, "MAIN"}).out,
              "User Objects=Airplane, Helicopter\nLocation=\"Caf\xE9\"\n");
    EXPECT_EQ(run({"get", file, "main", "location"}).out, "Caf\xE9\n");
    EXPECT_EQ(run({"section", file, "absent"}).out, "");
}

TEST_F(IniToolTest, LongListingsAreWholeAndAFullOutputIsAnError) {
    std::string bytes;
    std::string names;
    for (int i = 0; i < 40'000; ++i) {
        const std::string name = "Area." + std::to_string(i);
        bytes += "[" + name + "]\r\nLayer=1\r\n";
        names += name + "\n";
    }
    const std::string file = dir.write("scenery.cfg", bytes).string();
    EXPECT_EQ(run({"sections", file}).out, names);

    const ToolRun full = run({"sections", file}, "/dev/full");
    EXPECT_EQ(full.exitCode, 3);
    EXPECT_EQ(full.err, "quarvel-ini: cannot write the output\n");
}

TEST_F(IniToolTest, GetOfAMissingKeyExitsWithOneUnlessADefaultIsGiven) {
    const std::string file = sample();
    const ToolRun missing = run({"get", file, "Main", "nothing"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "quarvel-ini: no key 'nothing' in section 'Main' of '" + file + "'\n");
    const ToolRun defaulted = run({"get", file, "Main", "nothing", "{nohelp}"});
    EXPECT_EQ(defaulted.exitCode, 0);
    EXPECT_EQ(defaulted.out, "{nohelp}\n");
}

TEST_F(IniToolTest, WriteCommandsChangeOnlyWhatTheyName) {
    const std::string file = sample();
    EXPECT_EQ(run({"set", file, "display", "texture_block", "16"}).exitCode, 0);
    EXPECT_EQ(run({"delete", file, "Main", "location"}).exitCode, 0);
    EXPECT_EQ(run({"put-section", file, "Added Section", "Default="}).exitCode, 0);
    EXPECT_EQ(run({"delete", file, "main"}).exitCode, 0);
    EXPECT_EQ(test::readBytes(file), "; FS9 settings\r\n"
                                     "[DISPLAY]\r\n"
                                     "TEXTURE_BLOCK=16\r\n"
                                     "UPPER_FRAMERATE_LIMIT=25\r\n"
                                     "[main]\r\n"
                                     "ignored=1\r\n"
                                     "[Added Section]\r\n"
                                     "Default=\r\n");
    EXPECT_EQ(run({"put-section", file, "main"}).exitCode, 0);
    EXPECT_EQ(run({"section", file, "main"}).out, "");
    // Scripts keep their own history: no copies of the file before its first change, as the window keeps.
    EXPECT_FALSE(std::filesystem::exists(dir / ".local" / "state" / "quarvel"));
}

TEST_F(IniToolTest, MergeSetsEachKeyAsTheSetsOneByOneWould) {
    const std::string input = "; a tweak\r\n"
                              "[display]\r\n"
                              "  TEXTURE_BLOCK = 32 \r\n"
                              "\n"
                              "New Key=holds = too\n"
                              "[ New Section ]\n"
                              "Default=\n"
                              "[Main]\n"
                              "Location=\"Home\"\n"
                              "location=again";
    const std::vector<std::vector<std::string>> sets = {{"display", "TEXTURE_BLOCK", "32"},
                                                        {"display", "New Key", "holds = too"},
                                                        {"New Section", "Default", ""},
                                                        {"Main", "Location", "\"Home\""},
                                                        {"Main", "location", "again"}};
    for (const std::string& shape :
         {test::readBytes(sample()),
          "\xEF\xBB\xBF[Main]\nLocation=x\n[main]\nk=1\n\n[DISPLAY]\nTEXTURE_BLOCK=8"s,
          "; nothing but a comment\r\n"s, "[DISPLAY]\nTEXTURE_BLOCK=8\n\n\n"s}) {
        const std::string merged = dir.write("merged.cfg", shape).string();
        const std::string bySets = dir.write("sets.cfg", shape).string();
        const ToolRun merge = run({"merge", merged}, {}, input);
        EXPECT_EQ(merge.exitCode, 0) << merge.err;
        EXPECT_EQ(merge.out + merge.err, "");
        for (const std::vector<std::string>& set : sets)
            EXPECT_EQ(run({"set", bySets, set[0], set[1], set[2]}).exitCode, 0);
        EXPECT_EQ(test::readBytes(merged), test::readBytes(bySets)) << shape;
        EXPECT_EQ(run({"get", merged, "DISPLAY", "texture_block"}).out, "32\n");
    }
}

TEST_F(IniToolTest, MergeWritesNothingForALineItCannotReadNamingItsNumberOrForNoKey) {
    const std::string file = sample();
    const std::string before = test::readBytes(file);
    for (const auto& [input, line] :
         {std::pair{"[Main]\nk=1\njust words\n", "line 3 "}, std::pair{"k=1\n[Main]\n", "line 1 "},
          std::pair{"[Main]\r\n[Broken\r\nk=1\r\n", "line 2 "}, std::pair{"[Main]\n[]\n", "line 2 "},
          std::pair{"[Main]\nk=1\n = 1\n", "line 3 "}}) {
        const ToolRun merge = run({"merge", file}, {}, input);
        EXPECT_EQ(merge.exitCode, 2) << input;
        EXPECT_TRUE(merge.err.starts_with(std::string("quarvel-ini: ") + line)) << merge.err;
        EXPECT_EQ(std::count(merge.err.begin(), merge.err.end(), '\n'), 1) << merge.err;
        EXPECT_EQ(test::readBytes(file), before);
    }
    const auto unwritten = std::filesystem::last_write_time(file);
    EXPECT_EQ(run({"merge", file}, {}, "; nothing to set\n\n[Main]\n").exitCode, 0);
    EXPECT_EQ(std::filesystem::last_write_time(file), unwritten);
}

TEST_F(IniToolTest, SearchPrintsSectionLineIndexAndLine) {
    const std::string file = sample();
    const ToolRun hit = run({"search", file, "FRAMERATE"});
    EXPECT_EQ(hit.exitCode, 0);
    EXPECT_EQ(hit.out, "DISPLAY\t1\tUPPER_FRAMERATE_LIMIT=25\n");
    EXPECT_EQ(run({"search", file, "Objects=Air"}).out, "Main\t0\tUser Objects=Airplane, Helicopter\n");
    const ToolRun caseMatters = run({"search", file, "framerate"});
    EXPECT_EQ(caseMatters.exitCode, 1);
    EXPECT_EQ(caseMatters.out, "");
    EXPECT_TRUE(caseMatters.err.starts_with("quarvel-ini: ")) << caseMatters.err;
}

TEST_F(IniToolTest, BareFileNameIsInTheWindowsDirectoryOfTheWinePrefix) {
    EXPECT_EQ(run({"set", "fs9help.ini", "Main", "k", "described"}).exitCode, 0);
    EXPECT_EQ(test::readBytes(windows / "fs9help.ini"), "[Main]\r\nk=described\r\n");
    EXPECT_EQ(run({"get", "fs9help.ini", "main", "K"}).out, "described\n");
}

TEST_F(IniToolTest, OutputIsTheFilesBytes) {
    const std::string file = dir.write("bytes.cfg", "[s\xA9]\r\nk=a\0b\x96\r\n"s).string();
    EXPECT_EQ(run({"sections", file}).out, "s\xA9\n");
    EXPECT_EQ(run({"get", file, "S\xA9", "k"}).out, "a\0b\x96\n"s);
}

TEST_F(IniToolTest, FileFailuresExitWithThreeAndTheSystemsReason) {
    const std::string missingFolder = (dir / "no" / "x.cfg").string();
    const ToolRun written = run({"set", missingFolder, "s", "k", "v"});
    EXPECT_EQ(written.exitCode, 3);
    EXPECT_EQ(written.err, "quarvel-ini: cannot write '" + missingFolder + "': No such file or directory\n");
    const ToolRun unread = run({"sections", dir.path().string()});
    EXPECT_EQ(unread.exitCode, 3);
    EXPECT_EQ(unread.err, "quarvel-ini: cannot read '" + dir.path().string() + "': Is a directory\n");
}

TEST_F(IniToolTest, NamesThatCannotBeWrittenAreUsageErrors) {
    const std::string file = sample();
    const ToolRun refused = run({"set", file, "Main", "a=b", "v"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err, "quarvel-ini: a key name cannot hold '=': 'a=b'\n");
}

TEST_F(IniToolTest, ThePrefixOptionComesBeforeWineprefix) {
    const std::filesystem::path other = dir / "other";
    dir.write("other/drive_c/windows/fs9help.ini", "[Main]\r\nKey=from the other prefix\r\n");
    for (const std::vector<std::string>& option : {std::vector<std::string>{"--prefix", other.string()},
                                                   std::vector<std::string>{"--prefix=" + other.string()}}) {
        std::vector<std::string> arguments = option;
        arguments.insert(arguments.end(), {"get", "fs9help.ini", "Main", "Key"});
        EXPECT_EQ(run(arguments).out, "from the other prefix\n");
        arguments = option;
        arguments.emplace_back("where");
        EXPECT_EQ(run(arguments).out.substr(0, 7 + other.string().size()), "prefix=" + other.string());
    }
    const ToolRun missing = run({"--prefix"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("--prefix needs a folder"), std::string::npos);
}

TEST_F(IniToolTest, WhereAllListsEveryPrefixWithTheSimulator) {
    EXPECT_EQ(run({"where", "--all"}).exitCode, 1) << "none yet";
    test::writeSimulatorPrefix(dir / ".wine", "C:\\FS9");
    test::writeSimulatorPrefix(dir / "Games/fs2004", "C:\\Games\\FS9");
    test::writeSimulatorPrefix(dir / ".local/share/wineprefixes/gone", "C:\\FS9", false);
    const ToolRun all = run({"where", "--all"});
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_EQ(all.out, (dir / ".wine").string() + "\t" + (dir / ".wine/drive_c/FS9").string() + "\n" +
                           (dir / "Games/fs2004").string() + "\t" +
                           (dir / "Games/fs2004/drive_c/Games/FS9").string() + "\n");
    EXPECT_EQ(run({"where", "--everything"}).exitCode, 2);
}

} // namespace
} // namespace quarvel
