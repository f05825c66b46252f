#include "platform/wine/PathCase.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace quarvel::platform {
namespace {

namespace fs = std::filesystem;

TEST(PathCase, KeepsAPathThatExistsAsSpelled) {
    const test::TempDir dir;
    dir.write("Flight Simulator 9/scenery.cfg", "");
    dir.write("Flight Simulator 9/SCENERY.CFG", "");
    EXPECT_EQ(resolveCase(dir / "Flight Simulator 9/scenery.cfg"), dir / "Flight Simulator 9/scenery.cfg");
    EXPECT_EQ(resolveCase(dir / "Flight Simulator 9/SCENERY.CFG"), dir / "Flight Simulator 9/SCENERY.CFG");
}

TEST(PathCase, FindsEveryComponentRegardlessOfCase) {
    const test::TempDir dir;
    dir.write("Flight Simulator 9/Aircraft/C172/Aircraft.CFG", "");
    EXPECT_EQ(resolveCase(dir / "flight simulator 9/aircraft/c172/aircraft.cfg"),
              dir / "Flight Simulator 9/Aircraft/C172/Aircraft.CFG");
}

TEST(PathCase, TakesTheFirstInNameOrderWhenSeveralMatch) {
    const test::TempDir dir;
    dir.write("scenery.CFG", "");
    dir.write("Scenery.cfg", "");
    dir.write("SCENERY.cfg", "");
    EXPECT_EQ(resolveCase(dir / "scenery.cfg"), dir / "SCENERY.cfg");
}

TEST(PathCase, LeavesTheRestAsSpelledFromTheFirstComponentThatMatchesNothing) {
    const test::TempDir dir;
    dir.write("Microsoft/readme.txt", "");
    EXPECT_EQ(resolveCase(dir / "MICROSOFT/FS9/fs9.cfg"), dir / "Microsoft/FS9/fs9.cfg");
    EXPECT_EQ(resolveCase(dir / "nothing/Here"), dir / "nothing/Here");
}

TEST(PathCase, DoesNotLookIntoFilesOrGoWrongOnDots) {
    const test::TempDir dir;
    dir.write("file", "");
    EXPECT_EQ(resolveCase(dir / "file/child"), dir / "file/child");
    EXPECT_EQ(resolveCase(dir / "./FILE"), dir / "./file");
    EXPECT_EQ(resolveCase(fs::path()), fs::path());
}

} // namespace
} // namespace quarvel::platform
