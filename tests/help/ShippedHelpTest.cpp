#include "help/KeyHelp.h"
#include "store/FileKind.h"
#include "store/profile/ProfileStore.h"
#include "store/profile/ProfileText.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>

// The help files shipped in res/help, checked against the table of unverified entries kept beside them and
// against the demo installation in examples/prefix.

namespace quarvel {
namespace {

namespace fs = std::filesystem;

const fs::path kHelpFolder = fs::path(QUARVEL_SOURCE_DIR) / "res" / "help";
const fs::path kDemoPrefix = fs::path(QUARVEL_SOURCE_DIR) / "examples" / "prefix";
constexpr std::string_view kUnverifiedMarker = " (unverified)";
// No public facts describe these two kinds yet, so their demo files are made up and carry no help.
const std::set<std::string> kUndescribedKinds{"devices.cfg", "suneffect.cfg"};

struct HelpEntry {
    std::string file;
    std::string section;
    std::string key;
    bool operator<(const HelpEntry& other) const {
        return std::tie(file, section, key) < std::tie(other.file, other.section, other.key);
    }
};

std::ostream& operator<<(std::ostream& out, const HelpEntry& entry) {
    return out << entry.file << " [" << entry.section << "] " << entry.key;
}

std::string lowerCase(std::string text) {
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The rows of unverified-keys.tsv: help file, section and key, separated by tabs; "#" starts a comment.
std::set<HelpEntry> readUnverifiedTable() {
    std::ifstream in(kHelpFolder / "unverified-keys.tsv");
    EXPECT_TRUE(in) << "cannot read " << kHelpFolder / "unverified-keys.tsv";
    std::set<HelpEntry> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line.front() == '#')
            continue;
        std::istringstream fields(line);
        HelpEntry row;
        if (!std::getline(fields, row.file, '\t') || !std::getline(fields, row.section, '\t') ||
            !std::getline(fields, row.key) || row.key.find('\t') != std::string::npos) {
            ADD_FAILURE() << "a row needs three tab-separated fields: " << line;
            continue;
        }
        rows.insert(row);
    }
    return rows;
}

using KeyLineVisitor =
    std::function<void(std::string_view section, std::string_view key, std::string_view value)>;

// Every line of the file that has a key, split as the key list splits it: at the first "=". A line without
// "=" has no key to describe.
void forEachKeyLine(const ProfileFile& file, const KeyLineVisitor& visit) {
    for (const std::string_view section : file.sectionNames()) {
        for (const std::string_view line : file.sectionLines(section)) {
            const std::size_t equals = line.find('=');
            if (equals != std::string_view::npos)
                visit(section, line.substr(0, equals), line.substr(equals + 1));
        }
    }
}

// Calls visit for every key line of every shipped help file, with the description as written.
void forEachShippedEntry(const std::function<void(const HelpEntry&, std::string_view)>& visit) {
    const test::TempDir windows;
    const ProfileStore store(windows.path());
    for (const auto& item : fs::directory_iterator(kHelpFolder)) {
        if (item.path().extension() != ".ini")
            continue;
        const std::string fileName = item.path().filename().string();
        forEachKeyLine(store.read(item.path()),
                       [&](std::string_view section, std::string_view key, std::string_view description) {
                           visit({fileName, std::string(section), std::string(key)}, description);
                       });
    }
}

TEST(ShippedHelp, DescriptionsFitTheHelpColumn) {
    forEachShippedEntry([](const HelpEntry& entry, std::string_view description) {
        EXPECT_LE(description.size(), KeyHelp::kMaxLength) << entry << " would be cut";
    });
}

TEST(ShippedHelp, OnlyTheTabledEntriesAreMarkedUnverified) {
    std::set<HelpEntry> tabled = readUnverifiedTable();
    ASSERT_FALSE(tabled.empty());
    forEachShippedEntry([&tabled](const HelpEntry& entry, std::string_view description) {
        const bool isTabled = tabled.erase(entry) > 0;
        EXPECT_EQ(description.ends_with(kUnverifiedMarker), isTabled)
            << entry
            << (isTabled ? " is tabled as unverified but lacks the marker"
                         : " carries the marker but is not in the table");
    });
    for (const HelpEntry& stale : tabled)
        ADD_FAILURE() << stale << " is in the table but has no help entry";
}

// The help file of each kind of demo file, by the kind's file name in lower case.
std::map<std::string, std::string> helpFilesByName() {
    std::map<std::string, std::string> helpFiles;
    for (const FileKindInfo& kind : kFileKinds) {
        if (!kind.fileName.empty())
            helpFiles.emplace(kind.fileName, kind.helpFile);
    }
    return helpFiles;
}

// A key's pair: its section with each numbered part as "*", so that a family counts once, and its name;
// in lower case, as names match regardless of case.
std::string pairOf(std::string_view section, std::string_view key) {
    static const std::regex kNumberedPart(R"(\.[0-9]+(?=\.|$))");
    std::string pair = "[";
    pair += std::regex_replace(std::string(section), kNumberedPart, ".*");
    pair += "] ";
    pair += profile_text::trimBlanks(key);
    return lowerCase(pair);
}

// The distinct section-family/key pairs of one kind of file, and those of them the shipped help leaves
// without a description.
struct KindCoverage {
    std::set<std::string> pairs;
    std::set<std::string> undescribed;
    double share() const {
        return 1.0 - static_cast<double>(undescribed.size()) / static_cast<double>(pairs.size());
    }
};

// Every configuration file under folder, by the lower-case file name of its kind, looked up in the shipped
// help files only: the test's Windows directory holds no help files of a player.
std::map<std::string, KindCoverage> measureCoverage(const fs::path& folder) {
    const test::TempDir windows;
    ProfileStore store(windows.path());
    const KeyHelp help(store, kHelpFolder);
    const std::map<std::string, std::string> helpFiles = helpFilesByName();
    std::map<std::string, KindCoverage> kinds;
    for (const auto& item : fs::recursive_directory_iterator(folder)) {
        const std::string name = lowerCase(item.path().filename().string());
        if (!item.is_regular_file() || lowerCase(item.path().extension().string()) != ".cfg" ||
            kUndescribedKinds.contains(name))
            continue;
        const auto helpFile = helpFiles.find(name);
        if (helpFile == helpFiles.end()) {
            ADD_FAILURE() << item.path() << " is of no kind this test knows";
            continue;
        }
        KindCoverage& kind = kinds[name];
        forEachKeyLine(store.read(item.path()),
                       [&](std::string_view section, std::string_view key, std::string_view) {
                           const std::string pair = pairOf(section, key);
                           kind.pairs.insert(pair);
                           if (!help.LookupKeyHelp(helpFile->second, section, key))
                               kind.undescribed.insert(pair);
                       });
    }
    EXPECT_EQ(kinds.size(), helpFiles.size() - kUndescribedKinds.size())
        << "a kind is missing under " << folder;
    return kinds;
}

std::string listed(const std::set<std::string>& pairs) {
    std::string list;
    for (const std::string& pair : pairs)
        list += "\n  " + pair;
    return list;
}

// Each kind's share of described keys, on the test's output, for the README's figures.
void report(std::string_view set, const std::map<std::string, KindCoverage>& kinds) {
    for (const auto& [name, kind] : kinds)
        std::cout << set << " " << name << ": " << kind.pairs.size() - kind.undescribed.size() << " of "
                  << kind.pairs.size() << " distinct keys described\n";
}

TEST(ShippedHelp, EveryKeyOfTheDemoInstallationIsDescribed) {
    const std::map<std::string, KindCoverage> kinds = measureCoverage(kDemoPrefix);
    report("demo", kinds);
    for (const auto& [name, kind] : kinds)
        EXPECT_TRUE(kind.undescribed.empty())
            << name << " has keys without help:" << listed(kind.undescribed);
}

// Files as players have them: tweak-guide additions to fs9.cfg, add-on aircraft, the simulator's own files.
TEST(ShippedHelp, NineteenOfTwentyKeysOfRealisticFilesAreDescribed) {
    constexpr double kTarget = 0.95;
    const std::map<std::string, KindCoverage> kinds =
        measureCoverage(fs::path(QUARVEL_SOURCE_DIR) / "tests" / "help" / "data" / "realistic");
    report("realistic", kinds);
    for (const auto& [name, kind] : kinds)
        EXPECT_GE(kind.share(), kTarget) << name << " lacks help for:" << listed(kind.undescribed);
}

} // namespace
} // namespace quarvel
