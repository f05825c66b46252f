#include "platform/os/PosixLauncher.h"
#include "tests/platform/ScopedEnvironment.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <sstream>
#include <thread>

namespace quarvel::platform {
namespace {

namespace fs = std::filesystem;

// What a started program wrote, once it has; its programs write to a temporary name and rename, so a file
// that exists is complete. Gives up after a generous time, for a program that never ran.
std::string waitForFile(const fs::path& file) {
    for (int attempt = 0; attempt < 1000 && !fs::exists(file); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return fs::exists(file) ? test::readBytes(file) : "<never written>";
}

// The session a process belongs to, from the fields after its name in /proc/<pid>/stat.
long sessionIn(const std::string& stat) {
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string state;
    long parent = 0;
    long group = 0;
    long session = 0;
    fields >> state >> parent >> group >> session;
    return session;
}

// A variable Quarvel inherited and changes is passed once, with the new value: Wine takes the first entry
// of a name. The environment is read as the program received it, before the shell tidies it.
TEST(PosixLauncher, StartsAProgramWithItsArgumentsEnvironmentAndWorkingDirectory) {
    const test::TempDir dir;
    const test::ScopedEnvironment replaced("WINEPREFIX", "/home/old/.wine");
    const test::ScopedEnvironment kept("QUARVEL_KEPT", "kept");
    const std::string script =
        "{ printf '%s|%s\\n' \"$1\" \"$2\"; printf '%s|%s\\n' \"$QUARVEL_KEPT\" \"$QUARVEL_ADDED\"; "
        "tr '\\0' '\\n' < /proc/$$/environ | grep '^WINEPREFIX='; pwd; } > out.tmp && mv out.tmp out";
    PosixLauncher launcher;
    const Result<void> started =
        launcher.startDetached("sh", {"-c", script, "sh", "/cfg:C:\\users\\a b\\fs9.cfg", "second"},
                               dir.path(), {{"WINEPREFIX", "/home/new/.wine"}, {"QUARVEL_ADDED", "a=b c"}});
    ASSERT_TRUE(started.ok()) << started.failure().message;
    EXPECT_EQ(waitForFile(dir / "out"), "/cfg:C:\\users\\a b\\fs9.cfg|second\nkept|a=b c\n"
                                        "WINEPREFIX=/home/new/.wine\n" +
                                            dir.path().string() + "\n");
}

TEST(PosixLauncher, DetachesTheProgramIntoASessionOfItsOwn) {
    const test::TempDir dir;
    PosixLauncher launcher;
    ASSERT_TRUE(launcher
                    .startDetached("/bin/sh", {"-c", "cat /proc/$$/stat > stat.tmp && mv stat.tmp stat"},
                                   dir.path(), {})
                    .ok());
    const std::string stat = waitForFile(dir / "stat");
    ASSERT_NE(stat, "<never written>");
    EXPECT_NE(sessionIn(stat), static_cast<long>(getsid(0)));
}

TEST(PosixLauncher, SaysWhyAProgramCannotBeStarted) {
    const test::TempDir dir;
    PosixLauncher launcher;
    const Result<void> missing = launcher.startDetached("quarvel-no-such-program", {}, {}, {});
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.failure().errorNumber, ENOENT);
    EXPECT_NE(missing.failure().message.find("quarvel-no-such-program"), std::string::npos);

    const fs::path notExecutable = dir.write("fs9.exe", "MZ");
    const Result<void> refused = launcher.startDetached(notExecutable.string(), {}, {}, {});
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.failure().errorNumber, EACCES);

    const Result<void> noFolder = launcher.startDetached("sh", {"-c", "true"}, dir / "missing", {});
    ASSERT_FALSE(noFolder.ok());
    EXPECT_EQ(noFolder.failure().errorNumber, ENOENT);
    EXPECT_NE(noFolder.failure().message.find("missing"), std::string::npos);
}

// Stand-ins for Wine: one that cannot run anything complains and gives up at once, with a status or a
// signal; one that runs the simulator is still running when the watch ends.
TEST(PosixLauncher, AWatchedProgramThatEndsAtOnceTellsHowAndWhatItLastWroteToItsErrorOutput) {
    using namespace std::chrono_literals;
    PosixLauncher launcher;
    const Result<std::optional<ProgramEnd>> failing = launcher.startWatched(
        "sh", {"-c", "echo 'fixme: stand-in' >&2; echo 'wine: could not load kernel32.dll' >&2; exit 3"}, {},
        {}, 10s);
    ASSERT_TRUE(failing.ok()) << failing.failure().message;
    ASSERT_TRUE(failing.value().has_value());
    EXPECT_EQ(failing.value()->exitStatus, 3);
    EXPECT_EQ(failing.value()->errorOutput, "fixme: stand-in\nwine: could not load kernel32.dll\n");

    const Result<std::optional<ProgramEnd>> killed = launcher.startWatched(
        "sh", {"-c", "head -c 5000 /dev/zero | tr '\\0' x >&2; echo END >&2; kill -9 $$"}, {}, {}, 10s);
    ASSERT_TRUE(killed.ok() && killed.value().has_value());
    EXPECT_EQ(killed.value()->signal, 9);
    EXPECT_EQ(killed.value()->exitStatus, 0);
    EXPECT_EQ(killed.value()->errorOutput, std::string(2044, 'x') + "END\n")
        << "only the last bytes are kept";

    const Result<std::optional<ProgramEnd>> running =
        launcher.startWatched("sh", {"-c", "echo 'fixme: still going' >&2; sleep 2"}, {}, {}, 300ms);
    ASSERT_TRUE(running.ok());
    EXPECT_FALSE(running.value().has_value());
}

TEST(PosixLauncher, OpensWebAddressesWithXdgOpen) {
    const test::TempDir dir;
    const fs::path fake =
        dir.write("bin/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/../asked.tmp\" && "
                                  "mv \"$(dirname \"$0\")/../asked.tmp\" \"$(dirname \"$0\")/../asked\"\n");
    fs::permissions(fake, fs::perms::owner_all);
    const std::string path = (dir / "bin").string() + ":/usr/bin:/bin";
    const test::ScopedEnvironment searchPath("PATH", path.c_str());
    PosixLauncher launcher;
    ASSERT_TRUE(launcher.openWebAddress("https://example.org/xclick/a=1&b=2").ok());
    EXPECT_EQ(waitForFile(dir / "asked"), "https://example.org/xclick/a=1&b=2");
}

TEST(PosixLauncher, RefusesAnythingButAWebAddress) {
    PosixLauncher launcher;
    for (const char* address :
         {"file:///etc/passwd", "/usr/bin/xterm", "javascript:alert(1)", "-h", "https"}) {
        const Result<void> opened = launcher.openWebAddress(address);
        ASSERT_FALSE(opened.ok()) << address;
        EXPECT_EQ(opened.failure().errorNumber, EINVAL);
    }
}

} // namespace
} // namespace quarvel::platform
