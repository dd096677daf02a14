#include "settings/initutility.h"

#include "testsupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace vorlane {
namespace {

using test::readBytes;
using test::TempFolder;
using test::writeBytes;

TEST(GetIniString, MissingKeyGivesTheMarkerAndWritesNothing) {
    const TempFolder folder;
    const std::string path = folder.file("v.ini");
    EXPECT_EQ(GetIniString("S", "k", path), "???");
    EXPECT_FALSE(readBytes(path));
    writeBytes(path, "[S]\r\nk=\" 1 \"\r\n");
    EXPECT_EQ(GetIniString("S", "j", path), "???");
    EXPECT_EQ(GetIniString("S", "k", path), " 1 ") << "the raw read does not trim";
    EXPECT_EQ(readBytes(path), "[S]\r\nk=\" 1 \"\r\n");
}

TEST(GetIniValue, ReplacesMissingEmptyAndMarkerValuesByTheTrimmedDefault) {
    const struct {
        std::optional<std::string> file; // nothing: no file
        std::string defaultValue;
        std::string expected;
        std::string fileAfter;
    } rows[] = {
        {std::nullopt, " 7 ", "7", "[S]\r\nk=7\r\n"},
        {"[S]\r\nk=\r\n", "0", "0", "[S]\r\nk=0\r\n"},
        {"[S]\r\nk=???\r\n", "True", "True", "[S]\r\nk=True\r\n"},
        {"[S]\r\nk=\" ??? \"\r\n", "1", "1", "[S]\r\nk=1\r\n"},
        {"[S]\r\nk=\"   \"\r\n", "1", "1", "[S]\r\nk=1\r\n"},
        {"[S]\r\nj=1\r\n", "2", "2", "[S]\r\nj=1\r\nk=2\r\n"},
        {"[S]\r\nk=\" x \"\r\n", "1", "x", "[S]\r\nk=\" x \"\r\n"}, // present: file unchanged
        {"[S]\r\nk=????\r\n", "1", "????", "[S]\r\nk=????\r\n"},
        {"[S]\r\nk=\"\t\"\r\n", "1", "\t", "[S]\r\nk=\"\t\"\r\n"}, // only spaces are trimmed
    };
    for (const auto& row : rows) {
        const TempFolder folder;
        const std::string path = folder.file("v.ini");
        if (row.file)
            writeBytes(path, *row.file);
        EXPECT_EQ(GetIniValue(path, "S", "k", row.defaultValue), row.expected);
        EXPECT_EQ(readBytes(path), row.fileAfter);
    }
}

TEST(PutIniString, WritesEachKindInItsTextForm) {
    const TempFolder folder;
    const std::string path = folder.file("kinds.ini");
    const std::string text = "text";
    PutIniString(path, "S", "literal", "abc");
    PutIniString(path, "S", "string", text);
    PutIniString(path, "S", "view", std::string_view(" as is "));
    PutIniString(path, "S", "negative", std::int32_t{-1500});
    PutIniString(path, "S", "zero", 0);
    PutIniString(path, "S", "lowest", std::numeric_limits<std::int32_t>::min());
    PutIniString(path, "S", "yes", true);
    PutIniString(path, "S", "no", false);
    EXPECT_EQ(readBytes(path), "[S]\r\nliteral=abc\r\nstring=text\r\nview= as is \r\n"
                               "negative=-1500\r\nzero=0\r\nlowest=-2147483648\r\nyes=True\r\n"
                               "no=False\r\n");
}

} // namespace
} // namespace vorlane
