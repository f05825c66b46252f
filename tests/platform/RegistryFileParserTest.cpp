#include "platform/wine/RegistryFileParser.h"
#include "platform/wine/RegistryHive.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace quarvel::platform {
namespace {

Result<RegistryHive> parseText(const std::string& text) {
    return RegistryFileParser(text, "test.reg").parse();
}

RegistryHive parsed(const std::string& body) {
    Result<RegistryHive> hive =
        parseText("WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n" + body);
    EXPECT_TRUE(hive.ok()) << (hive.ok() ? "" : hive.failure().message);
    return hive.ok() ? std::move(hive).value() : RegistryHive();
}

std::u16string textOf(const RegistryHive& hive, std::u16string_view key, std::u16string_view name) {
    const HiveKey* found = hive.findKey(key);
    if (found == nullptr)
        return u"<no key>";
    const HiveValue* value = found->findValue(name);
    if (value == nullptr)
        return u"<no value>";
    return value->text().value_or(u"<not text>");
}

std::vector<std::uint8_t> bytesOf(const RegistryHive& hive, std::u16string_view key,
                                  std::u16string_view name) {
    const HiveKey* found = hive.findKey(key);
    const HiveValue* value = found != nullptr ? found->findValue(name) : nullptr;
    return value != nullptr ? value->data : std::vector<std::uint8_t>{0xDE, 0xAD};
}

TEST(RegistryFileParser, ReadsKeysAsWineWritesThem) {
    const RegistryHive hive =
        parsed("#arch=win64\n"
               "\n"
               "[Software\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\9.0] 1717000000\n"
               "#time=1dab0c0ffee1234\n"
               "#class=\"something\"\n"
               "\"EXE Path\"=\"C:\\\\Program Files\\\\Microsoft Games\\\\Flight Simulator 9\"\n"
               "\n"
               "[Software\\\\Wine] 1717000001\r\n"
               "; a comment\r\n"
               "  @=\"default\"\r\n");
    EXPECT_EQ(textOf(hive, u"Software\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0", u"EXE Path"),
              u"C:\\Program Files\\Microsoft Games\\Flight Simulator 9");
    EXPECT_EQ(textOf(hive, u"Software\\Wine", u""), u"default");
}

TEST(RegistryFileParser, ComparesKeyPathsAndValueNamesRegardlessOfCase) {
    const RegistryHive hive =
        parsed("[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion] 1\n\"CurrentVersion\"=\"6.1\"\n");
    EXPECT_EQ(textOf(hive, u"SOFTWARE\\microsoft\\windows nt\\currentversion", u"currentVERSION"), u"6.1");
    EXPECT_EQ(hive.findKey(u"SOFTWARE\\microsoft")->path(), u"Software\\Microsoft");
}

TEST(RegistryFileParser, KeysNamedOnlyAsParentsExist) {
    const RegistryHive hive = parsed("[A\\\\B\\\\C] 1\n[a\\\\b\\\\D] 1\n[A\\\\E\\\\F] 1\n");
    EXPECT_EQ(hive.keyCount(), 7U);
    EXPECT_NE(hive.findKey(u"A\\B\\D"), nullptr);
    EXPECT_NE(hive.findKey(u"A\\E"), nullptr);
    EXPECT_NE(hive.findKey(u"A"), nullptr);
    EXPECT_NE(hive.findKey(u"a\\b"), nullptr);
    EXPECT_NE(hive.findKey(u""), nullptr);
    EXPECT_EQ(hive.findKey(u"A\\C"), nullptr);
}

TEST(RegistryFileParser, UnescapesStrings) {
    const RegistryHive hive = parsed("[K] 1\n"
                                     "\"backslash\"=\"a\\\\b\"\n"
                                     "\"quote\"=\"say \\\"hi\\\"\"\n"
                                     "\"controls\"=\"1\\n2\\t3\\r\\a\\b\\e\\f\\v\"\n"
                                     "\"short hex\"=\"Jos\\xe9!\"\n"
                                     "\"long hex\"=\"\\x00e9a\"\n"
                                     "\"bare x\"=\"\\xg\"\n"
                                     "\"octal\"=\"\\101\\0010\"\n"
                                     "\"other\"=\"\\q\\[\"\n"
                                     "\"utf8\"=\"\xc3\xa9\xe2\x82\xac\"\n"
                                     "\"na\\\"me\"=\"named\"\n"
                                     "\"empty\"=\"\"\n");
    EXPECT_EQ(textOf(hive, u"K", u"backslash"), u"a\\b");
    EXPECT_EQ(textOf(hive, u"K", u"quote"), u"say \"hi\"");
    EXPECT_EQ(textOf(hive, u"K", u"controls"), u"1\n2\t3\r\a\b\x1b\f\v");
    EXPECT_EQ(textOf(hive, u"K", u"short hex"), u"Jos\u00e9!");
    EXPECT_EQ(textOf(hive, u"K", u"long hex"), u"\u00e9a");
    EXPECT_EQ(textOf(hive, u"K", u"bare x"), u"xg");
    EXPECT_EQ(textOf(hive, u"K", u"octal"), std::u16string(u"A") + char16_t{1} + u"0");
    EXPECT_EQ(textOf(hive, u"K", u"other"), u"q[");
    EXPECT_EQ(textOf(hive, u"K", u"utf8"), u"\u00e9\u20ac");
    EXPECT_EQ(textOf(hive, u"K", u"na\"me"), u"named");
    EXPECT_EQ(textOf(hive, u"K", u"empty"), u"");
}

TEST(RegistryFileParser, KeepsStringsInUtf16WithTheirTerminatingZero) {
    const RegistryHive hive = parsed("[K] 1\n\"s\"=\"A\\xe9\"\n\"m\"=str(7):\"a\\0b\\0\"\n");
    EXPECT_EQ(bytesOf(hive, u"K", u"s"), (std::vector<std::uint8_t>{'A', 0, 0xE9, 0, 0, 0}));
    EXPECT_EQ(bytesOf(hive, u"K", u"m"), (std::vector<std::uint8_t>{'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}));
    EXPECT_EQ(hive.findKey(u"K")->findValue(u"m")->type, kRegMultiString);
}

TEST(RegistryFileParser, ReadsEveryValueForm) {
    const RegistryHive hive = parsed("[K] 1\n"
                                     "\"sz\"=str:\"plain\"\n"
                                     "\"expand\"=str(2):\"%ProgramFiles%\\\\FS9\"\n"
                                     "\"number\"=dword:0000001e\n"
                                     "\"big\"=dword:ffffffff\n"
                                     "\"bytes\"=hex:01,ab,FF\n"
                                     "\"typed\"=hex(1):41,00,42,00\n"
                                     "\"none\"=hex(0):\n"
                                     "\"spaced\"=hex: 1 , 2,3\n");
    const HiveKey& key = *hive.findKey(u"K");
    EXPECT_EQ(key.findValue(u"sz")->type, kRegString);
    EXPECT_EQ(textOf(hive, u"K", u"sz"), u"plain");
    EXPECT_EQ(key.findValue(u"expand")->type, kRegExpandString);
    EXPECT_EQ(textOf(hive, u"K", u"expand"), u"%ProgramFiles%\\FS9");
    EXPECT_EQ(key.findValue(u"number")->dword(), 30U);
    EXPECT_EQ(key.findValue(u"big")->dword(), 0xFFFFFFFFU);
    EXPECT_EQ(key.findValue(u"bytes")->type, kRegBinary);
    EXPECT_EQ(key.findValue(u"bytes")->data, (std::vector<std::uint8_t>{0x01, 0xAB, 0xFF}));
    EXPECT_EQ(key.findValue(u"typed")->type, kRegString);
    EXPECT_EQ(key.findValue(u"typed")->data, (std::vector<std::uint8_t>{'A', 0, 'B', 0}));
    EXPECT_EQ(textOf(hive, u"K", u"typed"), u"AB");
    EXPECT_TRUE(key.findValue(u"none")->data.empty());
    EXPECT_EQ(key.findValue(u"spaced")->data, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_FALSE(key.findValue(u"number")->text().has_value());
    EXPECT_FALSE(key.findValue(u"sz")->dword().has_value());
}

TEST(RegistryFileParser, JoinsHexDataContinuedOverLines) {
    const RegistryHive hive = parsed("[K] 1\n"
                                     "\"long\"=hex(2):25,00,50,00,\\\n"
                                     "  72,00,6f,00,\\\r\n"
                                     "  00,00\n"
                                     "\"after\"=dword:00000001\n");
    EXPECT_EQ(textOf(hive, u"K", u"long"), u"%Pro");
    EXPECT_EQ(hive.findKey(u"K")->findValue(u"after")->dword(), 1U);
}

TEST(RegistryFileParser, LaterLinesAddToAndReplaceEarlierOnes) {
    const RegistryHive hive = parsed("[K] 1\n\"a\"=\"first\"\n\"b\"=\"kept\"\n[k] 2\n\"A\"=\"second\"\n");
    EXPECT_EQ(textOf(hive, u"K", u"a"), u"second");
    EXPECT_EQ(textOf(hive, u"K", u"b"), u"kept");
    EXPECT_EQ(hive.findKey(u"K")->values().size(), 2U);
}

TEST(RegistryFileParser, FindsA32BitProgramsKeyUnderWow6432Node) {
    const RegistryHive hive = parsed("[Software\\\\Wow6432Node\\\\Vendor\\\\App] 1\n\"v\"=\"wow\"\n"
                                     "[Software\\\\Both] 1\n\"v\"=\"plain\"\n"
                                     "[Software\\\\Wow6432Node\\\\Both] 1\n\"v\"=\"wow\"\n"
                                     "[System\\\\Wow6432Node\\\\Other] 1\n");
    EXPECT_EQ(hive.findKey(u"Software\\Vendor\\App"), nullptr);
    EXPECT_EQ(hive.findKeyOf32BitProgram(u"software\\vendor\\app")->path(),
              u"Software\\Wow6432Node\\Vendor\\App");
    EXPECT_EQ(hive.findKeyOf32BitProgram(u"Software\\Both")->path(), u"Software\\Both");
    EXPECT_EQ(hive.findKeyOf32BitProgram(u"System\\Other"), nullptr);
    EXPECT_EQ(hive.findKeyOf32BitProgram(u"Software\\Wow6432Node\\Missing"), nullptr);
}

std::string keyLineOfDepth(std::size_t depth, const std::string& component) {
    std::string line = "[" + component;
    for (std::size_t level = 1; level < depth; ++level)
        line += "\\\\" + component;
    return line + "] 1\n";
}

TEST(RegistryFileParser, ReadsKeysAsDeepAndLongAsWindowsAllows) {
    const std::string name(255, 'n');
    const RegistryHive hive = parsed(keyLineOfDepth(512, "a") + "\"v\"=\"deep\"\n" + keyLineOfDepth(3, name) +
                                     keyLineOfDepth(500, "A") + "[b] 1\n");
    std::u16string deepest = u"a";
    for (int level = 1; level < 512; ++level)
        deepest += u"\\a";
    EXPECT_EQ(textOf(hive, deepest, u"v"), u"deep");
    EXPECT_NE(hive.findKey(std::u16string(255, u'N') + u"\\" + std::u16string(255, u'n')), nullptr);
    EXPECT_EQ(hive.keyCount(), 1U + 512U + 3U + 1U);
}

TEST(RegistryFileParser, LeavesOutKeysBeyondWhatWindowsAllowsWithTheirValues) {
    const std::string head = "WINE REGISTRY Version 2\n[K] 1\n";
    const RegistryHive deep = parseText(head + keyLineOfDepth(600, "a") + "\"v\"=\"1\"\n").value();
    EXPECT_EQ(deep.skippedLines(), 2U);
    EXPECT_EQ(deep.firstSkipped(), "test.reg line 3: a key path deeper than 512 levels");
    EXPECT_EQ(deep.keyCount(), 2U);
    const RegistryHive wide = parseText(head + "[K\\\\" + std::string(256, 'n') + "] 1\n").value();
    EXPECT_EQ(wide.firstSkipped(), "test.reg line 3: a key name longer than 255 characters");
}

struct MalformedCase {
    const char* name;
    std::string text;
    int line;
};

TEST(RegistryFileParser, AFileThatIsNotAWineRegistryFileFails) {
    for (const std::string text : {"", "REGEDIT4\n[K]\n", "WINE REGISTRY Version 1\n"}) {
        const Result<RegistryHive> hive = parseText(text);
        ASSERT_FALSE(hive.ok());
        EXPECT_EQ(hive.failure().errorNumber, 0);
        EXPECT_NE(hive.failure().message.find("test.reg line "), std::string::npos);
    }
}

class MalformedRegistryFile : public testing::TestWithParam<MalformedCase> {};

// As Wine reads it: the line is left out and counted, and the keys and values after it are read.
TEST_P(MalformedRegistryFile, LeavesOutTheLineAndReadsTheRest) {
    const bool continuedToTheEnd = GetParam().text.ends_with("\\\n");
    const Result<RegistryHive> hive =
        parseText(GetParam().text + (continuedToTheEnd ? "" : "[Good]\n\"v\"=\"1\"\n"));
    ASSERT_TRUE(hive.ok()) << hive.failure().message;
    EXPECT_GE(hive.value().skippedLines(), 1U);
    EXPECT_TRUE(
        hive.value().firstSkipped().starts_with("test.reg line " + std::to_string(GetParam().line) + ": "))
        << hive.value().firstSkipped();
    if (!continuedToTheEnd) {
        EXPECT_EQ(textOf(hive.value(), u"Good", u"v"), u"1");
    }
}

const std::string kHead = "WINE REGISTRY Version 2\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedRegistryFile,
    testing::Values(MalformedCase{"ValueBeforeKey", kHead + "\"a\"=\"b\"\n", 2},
                    MalformedCase{"UnclosedKey", kHead + "[K\n", 2},
                    MalformedCase{"TextAfterKey", kHead + "[K] 12 x\n", 2},
                    MalformedCase{"UnclosedString", kHead + "[K]\n\"a\"=\"b\n", 3},
                    MalformedCase{"UnclosedName", kHead + "[K]\n\"a=\"b\"\n", 3},
                    MalformedCase{"NoEquals", kHead + "[K]\n\"a\" \"b\"\n", 3},
                    MalformedCase{"TextAfterString", kHead + "[K]\n\"a\"=\"b\" c\n", 3},
                    MalformedCase{"UnknownForm", kHead + "[K]\n\"a\"=qword:1\n", 3},
                    MalformedCase{"UnknownStringForm", kHead + "[K]\n\"a\"=str(4):\"x\"\n", 3},
                    MalformedCase{"DwordWithoutDigits", kHead + "[K]\n\"a\"=dword:\n", 3},
                    MalformedCase{"DwordTooLarge", kHead + "[K]\n\"a\"=dword:100000000\n", 3},
                    MalformedCase{"DwordWithText", kHead + "[K]\n\"a\"=dword:12zz\n", 3},
                    MalformedCase{"HexByteTooLarge", kHead + "[K]\n\"a\"=hex:100\n", 3},
                    MalformedCase{"HexWithText", kHead + "[K]\n\"a\"=hex:01,zz\n", 3},
                    MalformedCase{"HexTypeUnclosed", kHead + "[K]\n\"a\"=hex(2:00\n", 3},
                    MalformedCase{"HexContinuedPastEnd", kHead + "[K]\n\"a\"=hex:01,\\\n", 3},
                    MalformedCase{"HexContinuationWithText", kHead + "[K]\n\"a\"=hex:01,\\ x\n  02\n", 3},
                    MalformedCase{"BadContinuationLine", kHead + "[K]\n\"a\"=hex:01,\\\n  zz\n", 4},
                    MalformedCase{"UnknownLine", kHead + "[K]\nvalue=1\n", 3},
                    MalformedCase{"UnknownArchitecture", kHead + "#arch=arm\n", 2},
                    MalformedCase{"ZeroByte", kHead + "[K]\n\"a\"=\"b" + std::string(1, '\0') + "\"\n", 3},
                    MalformedCase{"NotUtf8", kHead + "[K]\n\"a\"=\"\xe9t\xe9\"\n", 3},
                    MalformedCase{"BackslashAtEnd", kHead + "[K]\n\"a\"=\"b\\\n", 3}),
    [](const testing::TestParamInfo<MalformedCase>& caseInfo) { return std::string(caseInfo.param.name); });

TEST(RegistryHive, LoadReportsAMissingFileWithTheSystemsReason) {
    const test::TempDir dir;
    const Result<RegistryHive> hive = RegistryHive::load(dir / "system.reg");
    ASSERT_FALSE(hive.ok());
    EXPECT_EQ(hive.failure().errorNumber, ENOENT);
    EXPECT_NE(hive.failure().message.find((dir / "system.reg").string()), std::string::npos);
}

TEST(RegistryHive, LoadReadsTheFile) {
    const test::TempDir dir;
    dir.write("user.reg", "WINE REGISTRY Version 2\r\n\r\n[Software\\\\Quarvel] 1\r\n\"x\"=\"y\"\r\n");
    const Result<RegistryHive> hive = RegistryHive::load(dir / "user.reg");
    ASSERT_TRUE(hive.ok());
    EXPECT_EQ(textOf(hive.value(), u"Software\\Quarvel", u"x"), u"y");
}

} // namespace
} // namespace quarvel::platform
