#include "store/OpenFailureText.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace quarvel {
namespace {

TEST(OpenFailureText, NamesTheCauseAndTheFile) {
    const std::string path = "/home/player/.wine/drive_c/fs9.cfg";
    EXPECT_EQ(openFailureText(ENOENT, path), path + " was not found.");
    EXPECT_EQ(openFailureText(EACCES, path), "Access to " + path + " was denied.");
    EXPECT_EQ(openFailureText(EROFS, path), "Access to " + path + " was denied.");
    EXPECT_EQ(openFailureText(EWOULDBLOCK, path),
              "A sharing violation occurred while accessing " + path + ".");
    EXPECT_EQ(openFailureText(ENOTDIR, path), path + " contains an invalid path.");
    EXPECT_EQ(openFailureText(ENOSPC, path), "Disk full while accessing " + path + ".");
    EXPECT_EQ(openFailureText(ENOLCK, path), "A locking violation occurred while accessing " + path + ".");
}

TEST(OpenFailureText, UnknownCausesAndEmptyPaths) {
    EXPECT_EQ(openFailureText(EPROTO, "x.cfg"), "An unknown error occurred while accessing x.cfg.");
    EXPECT_EQ(openFailureText(ENOENT, ""), "an unnamed file was not found.");
    EXPECT_EQ(openFailureText(0, "x.cfg"), "No error occurred.");
}

} // namespace
} // namespace quarvel
