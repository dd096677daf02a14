#include "settings/profiletext.h"

#include "testsupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace vorlane {
namespace {

using namespace std::string_literals;
using test::concat;
using test::cp932;
using test::utf16be;
using test::utf16le;

// UTF-16 code units without a byte order mark, for bytes that follow a file's start.
std::string utf16leUnits(std::string_view utf8) {
    return test::iconvFromUtf8(utf8, "UTF-16LE");
}

struct ReadRow {
    std::string bytes;
    std::string section;
    std::string key;
    std::optional<std::string> expected;
};

void expectReads(const std::vector<ReadRow>& rows) {
    for (const ReadRow& row : rows)
        EXPECT_EQ(findProfileValue(row.bytes, row.section, row.key), row.expected)
            << testing::PrintToString(row.bytes) << " [" << row.section << "] " << row.key;
}

TEST(FindProfileValue, FollowsTheLineRules) {
    expectReads({
        {"[S]\r\nk=v\r\n", "S", "k", "v"},
        {"[sEc]\nKEY=v\n", "Sec", "key", "v"},
        {" \t[ S ] \t\n \t k \t= \t v w \t\n", "S", "k", "v w"},
        {"[S]\nk=a=b\n", "S", "k", "a=b"},
        {"[S]\nk=\n", "S", "k", ""},
        {"[S]\nk\n", "S", "k", std::nullopt},      // no "=": not a key line
        {"[S]\n;k=v\n", "S", "k", std::nullopt},   // comment
        {"[S]\n  ;k=v\n", "S", "k", std::nullopt}, // comment after blanks
        {"[S]\n#k=v\n", "S", "#k", "v"},           // "#" starts no comment
        {"k=v\n[S]\n", "S", "k", std::nullopt},    // before any section
        {"k=v\n[S]\n", "", "k", std::nullopt},     // ... not even the empty section
        {"[]\nk=v\n", "", "k", "v"},
        {"[S\nk=v\n", "S", "k", "v"}, // a header without "]"
        {"[S]tail\nk=v\n", "S", "k", "v"},
        {"[S]\nk=1\n[S]\nj=2\n", "S", "j", std::nullopt}, // the first section wins
        {"[S]\nk=1\nK=2\n", "S", "k", "1"},               // and its first key
        {"[S]\rk=v\r", "S", "k", "v"},
        {"[S]\nk=v", "S", "k", "v"},
        {"[S]\r\n\r\n\nk=v\r\n", "S", "k", "v"},
        {"[S]\nk=v\n", " S ", "\tk", "v"}, // names asked for are trimmed too
        {"[S]\nk=v\n", "T", "k", std::nullopt},
        {"", "S", "k", std::nullopt},
    });
}

TEST(FindProfileValue, TakesWindowsBlanksAroundNamesAndValues) {
    expectReads({
        {"[S]\r\nX=\x0B"
         "5\x0C\r\n",
         "S", "X", "5"},
        {cp932("[設定]\r\nドロップフレーム=False\x1A"), "設定", "ドロップフレーム", "False"},
        {"\x1A[\x0BS\f]\x1A\n\x0Bk\x1A=\tv w\x1A\n", "S", "k", "v w"},
        {"[S]\nk=v\n", "S\r", "\x1Ak\x0B", "v"},
        {"[S]\nk=\"\x0B"
         "5\x1A\"\n",
         "S", "k",
         "\x0B"
         "5\x1A"}, // quotes keep them
    });
}

TEST(FindProfileValue, RemovesOnePairOfMatchingQuotes) {
    expectReads({
        {"[S]\nk=\"  v  \"\n", "S", "k", "  v  "},
        {"[S]\nk='v'\n", "S", "k", "v"},
        {"[S]\nk=\"v'\n", "S", "k", "\"v'"},
        {"[S]\nk=\"\n", "S", "k", "\""},
        {"[S]\nk=\"\"\n", "S", "k", ""},
        {"[S]\nk=\"\"v\"\"\n", "S", "k", "\"v\""},
        {"[S]\nk= \"v\" \n", "S", "k", "v"},
    });
}

TEST(FindProfileValue, StopsAtAZeroByte) {
    expectReads({{std::string("[S]\nk=ab\0cd\n", 12), "S", "k", "ab"},
                 {"[S]\nk=v\n", "S", std::string("k\0x", 3), "v"}});
}

TEST(FindProfileValue, NeverTakesACodePage932TrailByteForSyntax) {
    expectReads({
        {cp932("[ゾ]\r\nk=v\r\n"), "ゾ", "k", "v"},              // trail byte "]"
        {cp932("[ゾ]x]\r\nk=v\r\n"), "ゾ]x", "k", std::nullopt}, // the name ends at the real "]"
        {cp932("[ゾ]x]\r\nk=v\r\n"), "ゾ", "k", "v"},
        {cp932("[ー]\r\nk=v\r\n"), "ー", "k", "v"},          // trail byte "["
        {cp932("[S]\r\nィ=v\r\n"), "S", "ッ", std::nullopt}, // trail bytes "B" and "b"
        {cp932("[S]\r\nッ=v\r\n"), "S", "ッ", "v"},
        {cp932("[設定]\r\nドロップフレーム=False\r\n"), "設定", "ドロップフレーム", "False"},
        {cp932("[位置]\r\nX=ソ表\r\n"), "位置", "X", "ソ表"},
    });
}

TEST(FindProfileValue, ReadsUtf8AndUtf16Files) {
    const std::string settings = "[位置]\r\nX=5\r\nY=6\r\n[設定]\r\nドロップフレーム=False\r\n";
    expectReads({
        {"\xEF\xBB\xBF[位置]\r\nX=1\r\n", "位置", "X", "1"},
        {"[位置]\nX=値\n", "位置", "X", "値"},
        {"\xEF\xBB\xBF[S]\nk=a\x88\n", "S", "k", "a\xEF\xBF\xBD"},
        // Half-width katakana in code page 932 whose bytes make a two-byte UTF-8 "è".
        {cp932("[Memo]\r\nText=ﾃｨ\r\n"), "Memo", "Text", "ﾃｨ"},
        {utf16le(settings), "位置", "X", "5"},
        {utf16le(settings), "位置", "Y", "6"},
        {utf16le(settings), "設定", "ドロップフレーム", "False"},
        {utf16be(settings), "位置", "X", "5"},
        {utf16be(settings), "設定", "ドロップフレーム", "False"},
        {utf16le("[S]\r\nk=€😀\x0B\r\n"), "s", "K", "€😀"},
        {utf16be("[S]\nk=\"\"\"\n"), "S", "k", "\""},
        {utf16le("[S]\r\nk=1"), "S", "k", "1"},
        {utf16le("[S]\r\nk=1") + "\x00"s, "S", "k", "1"}, // an odd last byte
        {"\xFF\xFE", "S", "k", std::nullopt},
    });
}

TEST(FindProfileValue, CutsLongValuesBetweenCharacters) {
    std::string narrow;
    for (int i = 0; i < 2600; ++i)
        narrow += static_cast<char>('a' + i % 26);
    std::string wide;
    for (int i = 0; i < 1300; ++i)
        wide += "位";
    const std::string utf8Wide = wide.substr(0, 3 * 867); // 867 three-byte characters: 2601 bytes

    const struct {
        std::string bytes;
        std::string expected;
    } rows[] = {
        {concat("[S]\nk=", narrow, "\n"), narrow.substr(0, MaxValueBytes)},
        {concat("[S]\nk=\"", narrow.substr(0, MaxValueBytes), "\"\n"),
         narrow.substr(0, MaxValueBytes)},
        {cp932(concat("[S]\nk=a", wide, "\n")), concat("a", wide.substr(0, 3 * 1299))},
        {cp932(concat("[S]\nk=", wide, "\n")), wide.substr(0, 3 * 1299)},
        {concat("[S]\nk=", utf8Wide, "\n"), utf8Wide.substr(0, 3 * 866)},
    };
    for (const auto& row : rows)
        EXPECT_EQ(findProfileValue(row.bytes, "S", "k"), row.expected);
}

struct WriteRow {
    std::string before;
    std::string section;
    std::string key;
    std::string value;
    std::string after;
};

TEST(WithProfileValue, ChangesOnlyTheLineOfTheKey) {
    const WriteRow rows[] = {
        {"", "S", "k", "v", "[S]\r\nk=v\r\n"},
        {"; c\n[s]\n  A = 1 \n[t]\nA=2\n", "S", "a", "9", "; c\n[s]\nA=9\n[t]\nA=2\n"},
        {"[S]\r\na=1\r\n; note\r\n\r\n[T]\r\n", "s", "b", "2",
         "[S]\r\na=1\r\nb=2\r\n; note\r\n\r\n[T]\r\n"},
        {"[S]\n[T]\n", "S", "k", "v", "[S]\nk=v\r\n[T]\n"},
        {"[S]\na=1", "S", "b", "2", "[S]\na=1\r\nb=2\r\n"},
        {"[S]", "S", "k", "v", "[S]\r\nk=v\r\n"},
        {"[T]\nx=1", "S", "k", "v", "[T]\nx=1\r\n[S]\r\nk=v\r\n"},
        {"[T]\nx=1\n\n", "S", "k", "v", "[T]\nx=1\n\n[S]\r\nk=v\r\n"},
        {"[S]\ra=1\r", "S", "a", "2", "[S]\ra=2\r"},
        {"[S]\ra=1\r", "S", "b", "2", "[S]\ra=1\rb=2\r\n"},
        {"[S]\na=1\n[S]\nb=1\n", "S", "b", "2", "[S]\na=1\nb=2\r\n[S]\nb=1\n"},
        {"[Sec]\nKey=1\n", "SEC", "KEY", "2", "[Sec]\nKey=2\n"},
        {"[S]\nk=1\n", " S\t", " k ", " v ", "[S]\nk= v \n"},
        {"[S]\nk=1\n", "S", "k", std::string("a\0b", 3), "[S]\nk=a\n"},
        {"\xEF\xBB\xBF", "S", "k", "v", "\xEF\xBB\xBF[S]\r\nk=v\r\n"},
        {"[S]\nk=\"quoted\"\n", "S", "k", "", "[S]\nk=\n"},
        {"[S]\n\x0Bk\x1A=\f1\x1A\n; c\x1A", "S", "k", "2", "[S]\nk=2\n; c\x1A"},
        {"[S]\nk=1\n\x1A", "T", "k", "2", "[S]\nk=1\n\x1A\r\n[T]\r\nk=2\r\n"},
    };
    for (const WriteRow& row : rows)
        EXPECT_EQ(withProfileValue(row.before, row.section, row.key, row.value), row.after)
            << testing::PrintToString(row.before);
}

TEST(WithProfileValue, WritesInTheEncodingOfTheFile) {
    const WriteRow rows[] = {
        {"[a]\nb=1\n", "位置", "X", "位", "[a]\nb=1\n" + cp932("[位置]\r\nX=位\r\n")},
        {cp932("[位置]\r\nX=1\r\n"), "位置", "Y", "€2", cp932("[位置]\r\nX=1\r\nY=") + "?2\r\n"},
        {"\xEF\xBB\xBF[位置]\nX=1\n", "設定", "ドロップフレーム", "True",
         "\xEF\xBB\xBF[位置]\nX=1\n[設定]\r\nドロップフレーム=True\r\n"},
        {"[位置]\nX=1\n", "位置", "X", "€", "[位置]\nX=€\n"},
        {cp932("[Memo]\r\nText=ﾃｨ\r\n"), "位置", "X", "0",
         cp932("[Memo]\r\nText=ﾃｨ\r\n[位置]\r\nX=0\r\n")},
        {utf16le("[位置]\r\nX=5\r\n"), "位置", "Y", "6", utf16le("[位置]\r\nX=5\r\nY=6\r\n")},
        {utf16be("[位置]\r\nX=5\r\n"), "設定", "ドロップフレーム", "True",
         utf16be("[位置]\r\nX=5\r\n[設定]\r\nドロップフレーム=True\r\n")},
        {utf16le("[S]\nk=1"), "S", "k", "€😀", utf16le("[S]\nk=€😀")},
        {utf16be(""), "S", "k", "v", utf16be("[S]\r\nk=v\r\n")},
        // Half a surrogate pair alone and an odd last byte stay as they were.
        {utf16le("[S]\r\n") + "\x00\xDC"s + utf16leUnits("\r\nk=1\r\n") + "\x00\xD8"s + "A", "S",
         "j", "2",
         utf16le("[S]\r\n") + "\x00\xDC"s + utf16leUnits("\r\nk=1\r\nj=2\r\n") + "\x00\xD8"s + "A"},
    };
    for (const WriteRow& row : rows)
        EXPECT_EQ(withProfileValue(row.before, row.section, row.key, row.value), row.after)
            << testing::PrintToString(row.before);
}

TEST(WithProfileValue, WrittenValueReadsBackUnderNamesWithTrailBytes) {
    const std::string names[] = {"ゾ", "ソ", "ー", "ッ", "ドロップフレーム", "表示"};
    std::string bytes = cp932("[ィ]\r\nィ=other\r\n");
    for (const std::string& section : names)
        for (const std::string& key : names)
            bytes = withProfileValue(bytes, section, key, section + key);
    for (const std::string& section : names)
        for (const std::string& key : names)
            EXPECT_EQ(findProfileValue(bytes, section, key), section + key);
    EXPECT_EQ(findProfileValue(bytes, "ィ", "ィ"), "other");
}

} // namespace
} // namespace vorlane
