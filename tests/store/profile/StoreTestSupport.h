#pragma once

#include "store/profile/ProfileStore.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace quarvel::test {

// A fresh folder for each test, and a store whose Windows directory it is. No other program writes the
// test's files while the store does, so its writes need not wait for them to settle (ProfileTurnsTest
// tests that wait).
class StoreTest : public ::testing::Test {
protected:
    TempDir dir;
    ProfileStore store{dir.path(), 0};
};

// Exit code of a child that could not give up root rights: the test must be skipped.
inline constexpr int cannotDropPrivileges = 77;

// Runs body in a forked child and returns its exit code: for tests that change what the process sees.
int runInChild(const std::function<int()>& body);

// Runs body in a forked child without root rights (as 'nobody' when started as root) and returns its
// exit code. Root ignores permission bits, so permission failures can only be seen this way.
int runUnprivileged(const std::function<int()>& body);

// Opens a test folder to every user, so that an unprivileged child can work in it.
void openToEveryone(const std::filesystem::path& folder);

// Names of the entries of a folder, sorted.
std::vector<std::string> folderEntries(const std::filesystem::path& folder);

// Inode and modification time: equal before and after means the file was not written.
struct FileIdentity {
    unsigned long long inode = 0;
    long long modified = 0;
    bool operator==(const FileIdentity&) const = default;
};
FileIdentity identityOf(const std::filesystem::path& file);

} // namespace quarvel::test
