// Searching a document's lines: the byte search in front must find exactly what reading every section's
// lines in file order and looking at each would find.
#include "store/profile/ProfileDocument.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

namespace quarvel {
namespace {

using LinePlace = ProfileDocument::LinePlace;

// The search the byte search must agree with: every line of every section, in file order.
std::optional<LinePlace> searchLineByLine(const ProfileDocument& document, std::string_view text,
                                          LinePlace from) {
    for (std::size_t section = from.section; section < document.sections().size(); ++section) {
        const auto lines = document.sectionLines(document.sections()[section]);
        for (std::size_t line = section == from.section ? from.line : 0; line < lines.size(); ++line) {
            if (lines[line].find(text) != std::string_view::npos)
                return LinePlace{section, line};
        }
    }
    return std::nullopt;
}

::testing::AssertionResult findsAsLineByLine(std::string_view bytes, std::string_view text,
                                             LinePlace from = {}) {
    const ProfileDocument searched(bytes);
    const ProfileDocument reference(bytes);
    const std::optional<LinePlace> found = searched.findText(text, from);
    const std::optional<LinePlace> expected = searchLineByLine(reference, text, from);
    const auto shown = [](const std::optional<LinePlace>& place) {
        return place ? std::to_string(place->section) + ":" + std::to_string(place->line)
                     : std::string("none");
    };
    if (shown(found) == shown(expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "'" << text << "' from " << from.section << ":" << from.line << " found " << shown(found)
           << ", line by line " << shown(expected) << " in:\n"
           << bytes;
}

TEST(ProfileSearchTest, FindsTheLineAsTheSectionReadReturnsIt) {
    const std::string bytes = "Title=before any section\r\n"
                              "[Area.001]\r\n"
                              "; Title=in a comment\r\n"
                              "Local = Scenery\\World\r\n"
                              "[Area.002]\r\n"
                              "Title=Alps\r\n"
                              "[area.001]\r\n"
                              "Title=Alps again\r\n";
    const ProfileDocument document(bytes);
    // Across the "=" of a line written with blanks around it, as the line is returned.
    EXPECT_EQ(document.findText("Local=Scen")->line, 0U);
    // Comments, headers and lines before the first section are no lines; the hit is the next real one.
    EXPECT_EQ(document.findText("Title=")->section, 1U);
    EXPECT_FALSE(document.findText("Area.00").has_value());
    EXPECT_FALSE(document.findText("Local =").has_value());
    EXPECT_FALSE(document.findText("World\r\n[").has_value());
    // Duplicates are searched in their place, and a search goes on after an earlier hit.
    EXPECT_EQ(document.findText("Alps", {1, 1})->section, 2U);
    EXPECT_FALSE(document.findText("Alps", {2, 1}).has_value());
}

// Documents built from the pieces that make the byte search and the lines differ, and texts cut from them.
TEST(ProfileSearchTest, AgreesWithTheLineByLineSearchOnGeneratedDocuments) {
    const std::vector<std::string> pieces = {"[S]",  "[s]",   " [T] ",     "k=v", "k = v", "k =v",
                                             "k= v", "; k=v", "",          "  ",  "x",     "a=b=c",
                                             "=v",   "k=",    "\tk\t=\tv", "v v"};
    const std::vector<std::string> breaks = {"\r\n", "\n", "\r"};
    std::mt19937 random(1234);
    const auto pick = [&random](const auto& from) {
        return from[random() % from.size()];
    };
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        for (int piece = static_cast<int>(random() % 12); piece > 0; --piece)
            bytes += pick(pieces) + pick(breaks);
        if (bytes.empty())
            continue;
        const std::size_t begin = random() % bytes.size();
        const std::string text = bytes.substr(begin, 1 + random() % 5);
        const ProfileDocument document(bytes);
        const LinePlace from{random() % (document.sections().size() + 1), random() % 3};
        ASSERT_TRUE(findsAsLineByLine(bytes, text, from));
        for (const std::string& made : {std::string("k=v"), std::string("k="), std::string("=v")})
            ASSERT_TRUE(findsAsLineByLine(bytes, made, from));
    }
}

} // namespace
} // namespace quarvel
