#include "settings/initutility.h"

#include "profilestrings.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace vorlane {
namespace {

using test::GetIniValue;
using test::readBytes;
using test::TempFolder;
using test::writeBytes;

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

TEST(PutIniStrings, WritesEachKindInItsTextFormInOneWrite) {
    const TempFolder folder;
    const std::string path = folder.file("kinds.ini");
    PutIniStrings(path, {{"S", "text", " as is "},
                         {"S", "negative", iniText(std::int32_t{-1500})},
                         {"S", "zero", iniText(0)},
                         {"S", "lowest", iniText(std::numeric_limits<std::int32_t>::min())},
                         {"S", "yes", iniText(true)},
                         {"S", "no", iniText(false)}});
    EXPECT_EQ(readBytes(path), "[S]\r\ntext= as is \r\nnegative=-1500\r\nzero=0\r\n"
                               "lowest=-2147483648\r\nyes=True\r\nno=False\r\n");
}

} // namespace
} // namespace vorlane
