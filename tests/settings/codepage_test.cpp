#include "settings/codepage.h"

#include <gtest/gtest.h>

namespace vorlane {
namespace {

constexpr std::string_view Replacement = "\xEF\xBF\xBD";

TEST(DetectEncoding, TellsUtf8FromCodePage932) {
    const struct {
        std::string_view bytes;
        ProfileEncoding expected;
    } rows[] = {
        {"", ProfileEncoding::Cp932},
        {"[a]\r\nb=1\r\n", ProfileEncoding::Cp932},
        {"\xEF\xBB\xBF", ProfileEncoding::Utf8},
        {"\xEF\xBB\xBF[a]\r\nb=\x88\xca\r\n", ProfileEncoding::Utf8}, // a mark wins over bad bytes
        {"[位置]\r\nX=1\r\n", ProfileEncoding::Utf8},
        {"[\x88\xca\x92\x75]\r\nX=1\r\n", ProfileEncoding::Cp932},
        {"\xC0\xAF", ProfileEncoding::Cp932},         // overlong "/"
        {"\xED\xA0\x80", ProfileEncoding::Cp932},     // a surrogate
        {"\xF4\x90\x80\x80", ProfileEncoding::Cp932}, // past U+10FFFF
        {"a\xE4\xBD", ProfileEncoding::Cp932},        // cut short at the end
    };
    for (const auto& row : rows)
        EXPECT_EQ(detectEncoding(row.bytes), row.expected) << testing::PrintToString(row.bytes);
}

TEST(EncodeText, WritesCodePage932AndMarksWhatItLacks) {
    const struct {
        std::string_view utf8;
        std::string_view expected;
    } rows[] = {
        {"X=-1500", "X=-1500"},
        {"位置", "\x88\xca\x92\x75"},
        {"ドロップフレーム", "\x83\x68\x83\x8d\x83\x62\x83\x76\x83\x74\x83\x8c\x81\x5b\x83\x80"},
        {"ｱ", "\xB1"},
        {"a€b", "a?b"},
        {"😀", "?"},
        {"\xFFz", "?z"},
        {"\xE4\xBDz", "??z"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(encodeText(row.utf8, ProfileEncoding::Cp932), row.expected) << row.utf8;
}

TEST(EncodeText, KeepsValidUtf8AndMarksBadBytes) {
    EXPECT_EQ(encodeText("位置😀", ProfileEncoding::Utf8), "位置😀");
    EXPECT_EQ(encodeText("a\xC0\xAFz", ProfileEncoding::Utf8), "a??z");
}

TEST(DecodeText, ReadsCodePage932AndReplacesWhatDoesNotDecode) {
    const std::string r(Replacement);
    const struct {
        std::string_view bytes;
        std::string expected;
    } rows[] = {
        {"\x88\xca\x92\x75", "位置"},
        {"\x83\x5D\x83\x5C", "ゾソ"},
        {"\x80z", r + "z"},
        {"\x85\x40z", r + "z"}, // a well-formed pair without a character: one replacement
        {"a\x81", "a" + r},
        {"\x81\n", r + "\n"},
        {"\xA0\xFD\xFE\xFF", r + r + r + r},
    };
    for (const auto& row : rows)
        EXPECT_EQ(decodeText(row.bytes, ProfileEncoding::Cp932), row.expected)
            << testing::PrintToString(row.bytes);
}

} // namespace
} // namespace vorlane
