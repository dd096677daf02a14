#include "settings/profiletext.h"

#include "testsupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace vorlane {
namespace {

using test::cp932;

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

TEST(FindProfileValue, ReadsUtf8Files) {
    expectReads({
        {"\xEF\xBB\xBF[位置]\r\nX=1\r\n", "位置", "X", "1"},
        {"[位置]\nX=値\n", "位置", "X", "値"},
        {"\xEF\xBB\xBF[S]\nk=a\x88\n", "S", "k", "a\xEF\xBF\xBD"},
    });
}

TEST(FindProfileValue, CutsLongValuesBetweenCharacters) {
    std::string narrow;
    for (int i = 0; i < 2600; ++i)
        narrow += static_cast<char>('a' + i % 26);
    std::string wide;
    for (int i = 0; i < 1300; ++i)
        wide += "位";
    std::string utf8Wide; // 867 three-byte characters: 2601 bytes
    for (int i = 0; i < 867; ++i)
        utf8Wide += "位";

    const struct {
        std::string bytes;
        std::string expected;
    } rows[] = {
        {"[S]\nk=" + narrow + "\n", narrow.substr(0, MaxValueBytes)},
        {"[S]\nk=\"" + narrow.substr(0, MaxValueBytes) + "\"\n", narrow.substr(0, MaxValueBytes)},
        // std::string on the left: GCC 12 at -O3 takes "literal" + temporary string for an
        // overlapping copy (a false -Wrestrict).
        {cp932("[S]\nk=a" + wide + "\n"), std::string("a") + wide.substr(0, 3 * 1299)},
        {cp932("[S]\nk=" + wide + "\n"), wide.substr(0, 3 * 1299)},
        {"[S]\nk=" + utf8Wide + "\n", utf8Wide.substr(0, 3 * 866)},
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
