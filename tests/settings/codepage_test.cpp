#include "settings/codepage.h"

#include <gtest/gtest.h>

namespace vorlane {
namespace {

constexpr std::string_view Replacement = "\xEF\xBF\xBD";

TEST(DetectEncoding, TellsUtf8FromCodePage932) {
    const struct {
        std::string_view bytes;
        FileEncoding expected;
    } rows[] = {
        {"", FileEncoding::Cp932},
        {"[a]\r\nb=1\r\n", FileEncoding::Cp932},
        {"\xEF\xBB\xBF", FileEncoding::Utf8},
        {"\xEF\xBB\xBF[a]\r\nb=\x88\xca\r\n", FileEncoding::Utf8}, // a mark wins over bad bytes
        {"[位置]\r\nX=1\r\n", FileEncoding::Utf8},
        {"[\x88\xca\x92\x75]\r\nX=1\r\n", FileEncoding::Cp932},
        {"\xC0\xAF", FileEncoding::Cp932},         // overlong "/"
        {"\xED\xA0\x80", FileEncoding::Cp932},     // a surrogate
        {"\xF4\x90\x80\x80", FileEncoding::Cp932}, // past U+10FFFF
        {"a\xE4\xBD", FileEncoding::Cp932},        // cut short at the end
        // Valid UTF-8 of two-byte sequences only: half-width katakana pairs of code page 932.
        {"[Memo]\r\nText=\xC3\xA8\r\n", FileEncoding::Cp932},
        {"\xC3\xA8\xE4\xBD\x8D", FileEncoding::Utf8},
        {"\xF0\x9F\x98\x80", FileEncoding::Utf8},
        {"\xFF\xFE", FileEncoding::Utf16Le},
        {"\xFE\xFF", FileEncoding::Utf16Be},
        {"\xFE\xFE", FileEncoding::Cp932},
        {"a\xFF\xFE", FileEncoding::Cp932}, // a mark counts only at the start
    };
    for (const auto& row : rows)
        EXPECT_EQ(detectEncoding(row.bytes), row.expected) << testing::PrintToString(row.bytes);
}

TEST(FromUtf16, GivesUtf8ThatConvertsBackToTheSameBytes) {
    using namespace std::string_literals;
    const struct {
        std::string littleEndian;
        std::string utf8;
    } rows[] = {
        {"A\0=\0"s, "A="},
        {"\x4D\x4F\x6E\x7F"s, "位置"},
        {"\x3D\xD8\x00\xDE"s, "😀"},
        {"\x00\xD8"s, "\xED\xA0\x80"},                  // half a pair alone, also at the end
        {"\x00\xDCz\0"s, "\xED\xB0\x80z"},              // the low half first
        {"\x3D\xD8\x3D\xD8\x00\xDE"s, "\xED\xA0\xBD😀"}, // a high half, then a pair
        {"\0\0\xFF\xFF"s, "\0\xEF\xBF\xBF"s},
    };
    for (const auto& row : rows) {
        std::string bigEndian = row.littleEndian;
        for (std::size_t i = 0; i + 1 < bigEndian.size(); i += 2)
            std::swap(bigEndian[i], bigEndian[i + 1]);
        EXPECT_EQ(fromUtf16(row.littleEndian, FileEncoding::Utf16Le), row.utf8);
        EXPECT_EQ(fromUtf16(bigEndian, FileEncoding::Utf16Be), row.utf8);
        EXPECT_EQ(fromUtf16(row.littleEndian + "A", FileEncoding::Utf16Le), row.utf8);
        EXPECT_EQ(toUtf16(row.utf8, FileEncoding::Utf16Le), row.littleEndian);
        EXPECT_EQ(toUtf16(row.utf8, FileEncoding::Utf16Be), bigEndian);
    }
    EXPECT_EQ(toUtf16("a\xC0\xAF", FileEncoding::Utf16Le), "a\0?\0?\0"s);
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
