// Every byte that an operation does not change stays as it was, over a corpus of awkward files.
#include "store/profile/ProfileStore.h"
#include "tests/store/profile/StoreTestSupport.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

using ::testing::ElementsAre;
using namespace std::string_literals;

// Each file has a section "Main" holding the only "OLD" of the file in the value of "key" (not on its
// last line), followed at the end by a section "Tail".
struct AwkwardFile {
    const char* name;
    std::string bytes;
    std::string lineBreak; // the file's first line break
};

// Test names and listings show the file's name, not its bytes.
void PrintTo(const AwkwardFile& file, std::ostream* out) {
    *out << file.name;
}

std::vector<AwkwardFile> corpus() {
    const std::string longValue(200'000, 'x');
    return {
        {"Crlf", "; made by hand\r\n[Main]\r\nkey=OLD\r\nother=1\r\n\r\n[Tail]\r\nz=9\r\n", "\r\n"},
        {"Lf", "; made by hand\n[Main]\nkey=OLD\nother=1\n\n[Tail]\nz=9\n", "\n"},
        {"Mixed", "[Main]\r\nkey=OLD\nother=1\r\n\n[Tail]\nz=9\r\n", "\r\n"},
        {"MixedLfFirst", "[Main]\nkey=OLD\r\nother=1\n[Tail]\r\nz=9\n", "\n"},
        {"CarriageReturnOnly", "[Main]\rkey=OLD\rother=1\r[Tail]\rz=9\r", "\r"},
        {"Cp1252", "[Main]\r\nkey=OLD\r\ntitle=Caf\xE9 \xA9 \x96 \xE0\xE8\r\n[Tail]\r\nz=\xE9\r\n", "\r\n"},
        {"NulBytes", "[Main]\r\nkey=OLD\r\nbin=a\0b\r\n\0\r\n[Tail]\r\nz=\0\r\n"s, "\r\n"},
        {"NoFinalLineBreak", "[Main]\r\nkey=OLD\r\nother=1\r\n[Tail]\r\nz=9", "\r\n"},
        {"ByteOrderMark", "\xEF\xBB\xBF[Main]\r\nkey=OLD\r\nother=1\r\n[Tail]\r\nz=9\r\n", "\r\n"},
        {"Tabs", "[Main]\r\n\tkey\t\t=\t OLD\t\r\n\tother =\t1\r\n[Tail]\r\nz\t=9\r\n", "\r\n"},
        {"VeryLongLines",
         "[Main]\r\nkey=OLD\r\nlong=" + longValue + "\r\n;" + longValue + "\r\n[Tail]\r\nz=" + longValue +
             "\r\n",
         "\r\n"},
    };
}

class ProfileBytePreservationTest : public test::StoreTest,
                                    public ::testing::WithParamInterface<AwkwardFile> {
protected:
    const AwkwardFile& awkward = GetParam();
    std::filesystem::path file = dir.write("awkward.cfg", awkward.bytes);

    bool endsWithLineBreak() const { return awkward.bytes.ends_with('\n') || awkward.bytes.ends_with('\r'); }

    // The bytes from the start of the line holding the text to the start of the next line.
    std::pair<std::size_t, std::size_t> lineAround(std::string_view text) const {
        const std::string& bytes = awkward.bytes;
        const std::size_t at = bytes.find(text);
        const std::size_t begin = bytes.find_last_of("\r\n", at) + 1;
        std::size_t end = bytes.find_first_of("\r\n", at);
        end += bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        return {begin, end};
    }
};

TEST_P(ProfileBytePreservationTest, ChangingAValueChangesOnlyItsBytes) {
    store.writeString(file, "main", "KEY", "NEW");
    std::string expected = awkward.bytes;
    expected.replace(expected.find("OLD"), 3, "NEW");
    EXPECT_EQ(test::readBytes(file), expected);
}

TEST_P(ProfileBytePreservationTest, WritingTheSameValueLeavesTheFileUntouched) {
    const test::FileIdentity before = test::identityOf(file);
    store.writeString(file, "Main", "key", "OLD");
    store.deleteKey(file, "Main", "absent");
    store.deleteSection(file, "Absent");
    EXPECT_EQ(test::identityOf(file), before);
    EXPECT_EQ(test::readBytes(file), awkward.bytes);
}

TEST_P(ProfileBytePreservationTest, DeletingAKeyRemovesExactlyItsLine) {
    store.deleteKey(file, "Main", "key");
    const auto [begin, end] = lineAround("OLD");
    EXPECT_EQ(test::readBytes(file), std::string(awkward.bytes).erase(begin, end - begin));
}

TEST_P(ProfileBytePreservationTest, AddingAKeyInsertsOneLineWithTheFilesLineBreak) {
    store.writeString(file, "Main", "added", "1");
    std::string bytes = test::readBytes(file);
    EXPECT_EQ(store.sectionLines(file, "Main").back(), "added=1");
    const std::size_t at = bytes.find("added=1" + awkward.lineBreak);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(bytes.erase(at, 7 + awkward.lineBreak.size()), awkward.bytes);
}

TEST_P(ProfileBytePreservationTest, AddingASectionAppendsItWithTheFilesLineBreak) {
    store.writeString(file, "New", "k", "v");
    const std::string& eol = awkward.lineBreak;
    const std::string expected = endsWithLineBreak() ? awkward.bytes + "[New]" + eol + "k=v" + eol
                                                     : awkward.bytes + eol + "[New]" + eol + "k=v" + eol;
    EXPECT_EQ(test::readBytes(file), expected);
}

TEST_P(ProfileBytePreservationTest, DeletingTheLastSectionKeepsEverythingBeforeIt) {
    store.deleteSection(file, "TAIL");
    std::string expected = awkward.bytes.substr(0, lineAround("[Tail]").first);
    if (!endsWithLineBreak())
        expected.erase(expected.size() - awkward.lineBreak.size());
    EXPECT_EQ(test::readBytes(file), expected);
    EXPECT_THAT(store.sectionNames(file), ElementsAre("Main"));
}

TEST_P(ProfileBytePreservationTest, ReadsSeeTheSameSectionsWhateverTheBytes) {
    const std::vector<std::string> names = store.sectionNames(file);
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.front(), "Main");
    EXPECT_EQ(store.getString(file, "Main", "key", "-"), "OLD");
}

INSTANTIATE_TEST_SUITE_P(Corpus, ProfileBytePreservationTest, ::testing::ValuesIn(corpus()),
                         [](const ::testing::TestParamInfo<AwkwardFile>& entry) { return entry.param.name; });

} // namespace
} // namespace quarvel
