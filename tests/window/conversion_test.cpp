#include "window/conversion.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace vorlane {

// Lets a failed comparison show the texts and the warning.
void PrintTo(const FrameConversion& result, std::ostream* out) {
    *out << '{' << result.time.hours << ", " << result.time.minutes << ", " << result.time.secFrames
         << "; warning " << static_cast<int>(result.warning) << '}';
}
void PrintTo(const TimeConversion& result, std::ostream* out) {
    *out << '{' << result.frameText << "; warning " << static_cast<int>(result.warning) << '}';
}

namespace {

const TimeTexts Zero{"0", "00", "00.00"};

TEST(ConvertFrameText, GivesTheTimeTextsOrZeroWithAWarning) {
    struct Row {
        const char* text;
        bool dropFrame;
        FrameConversion expected;
    };
    const Row rows[] = {
        {"1800", false, {{"0", "01", "00.00"}}},
        {"1800", true, {{"0", "01", "00.02"}}},
        {"2591999", false, {{"23", "59", "59.29"}}},
        {"2591999", true, {{"24", "01", "26.13"}}},
        {"17982", true, {{"0", "10", "00.00"}}},
        {"1000000", true, {{"9", "16", "06.22"}}},
        // Not a number: 0 without a warning.
        {"", false, {Zero}},
        {"abc", true, {Zero}},
        {"1,200", false, {Zero}},
        {"1 2", false, {Zero}},
        // Trimmed, then read and rounded half to even.
        {" 30 ", false, {{"0", "00", "01.00"}}},
        {"\t30\t", false, {{"0", "00", "01.00"}}},
        {"2.5", false, {{"0", "00", "00.02"}}},
        {"1e3", false, {{"0", "00", "33.10"}}},
        {"-0", false, {Zero}},
        {"-0.4", false, {Zero}},
        {"2591998.5", false, {{"23", "59", "59.28"}}},
        {"2591999.5", false, {Zero, Warning::FramesTooLarge}},
        {"2592000", false, {Zero, Warning::FramesTooLarge}},
        {"2147483647", false, {Zero, Warning::FramesTooLarge}},
        {"2147483648", false, {Zero, Warning::FramesTooLarge}},
        {"1e400", true, {Zero, Warning::FramesTooLarge}},
        {"-1", false, {Zero, Warning::FramesTooSmall}},
        {"-2147483649", false, {Zero, Warning::FramesTooSmall}},
        {"-1e400", true, {Zero, Warning::FramesTooSmall}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(convertFrameText(row.text, row.dropFrame), row.expected)
            << '"' << row.text << '"' << (row.dropFrame ? " drop" : "");
    }
}

TEST(ConvertTimeTexts, GivesTheFrameTextOrZeroWithAWarning) {
    struct Row {
        const char* hours;
        const char* minutes;
        const char* secFrames;
        bool dropFrame;
        TimeConversion expected;
    };
    const Row rows[] = {
        {"24", "0", "0", false, {"2592000"}},
        {"24", "0", "0", true, {"2589408"}},
        {"0", "1", "0", true, {"1798"}},
        {"0", "1", "0.01", true, {"1799"}},
        {"0", "0", "12.3", false, {"390"}},
        {"0", "0", "12.03", false, {"363"}},
        {"0", "75", "0.02", true, {"134866"}},
        // Read leniently, trimmed, rounded half to even.
        {"1.5", "0", "0", false, {"216000"}},
        {"2.5", "0", "0", false, {"216000"}},
        {"24.5", "0", "0", false, {"2592000"}},
        {" 1 ", " 2 ", " 3.04 ", false, {"111694"}},
        {"abc", "", "", false, {"0"}},
        {"0", "0", "-0", false, {"0"}},
        {"0", "1193046", "28.07", false, {"2147483647"}},
        // Hours above 24, and values or a frame number beyond 32 bits or the float range.
        {"25", "0", "0", false, {"0", Warning::TimeTooLarge}},
        {"24.6", "0", "0", false, {"0", Warning::TimeTooLarge}},
        {"99999999999", "0", "0", false, {"0", Warning::TimeTooLarge}},
        {"0", "1193046", "28.08", false, {"0", Warning::TimeTooLarge}},
        {"0", "1194241", "0", true, {"0", Warning::TimeTooLarge}},
        {"0", "99999999999", "0", false, {"0", Warning::TimeTooLarge}},
        {"0", "0", "1e39", false, {"0", Warning::TimeTooLarge}},
        {"0", "0", "1e400", false, {"0", Warning::TimeTooLarge}},
        // Negative fields.
        {"-1", "0", "0", false, {"0", Warning::TimeTooSmall}},
        {"-99999999999", "0", "0", false, {"0", Warning::TimeTooSmall}},
        {"0", "-1", "0", true, {"0", Warning::TimeTooSmall}},
        {"0", "0", "-0.5", false, {"0", Warning::TimeTooSmall}},
        // The first refused field, in box order, names the warning.
        {"25", "-1", "-1", false, {"0", Warning::TimeTooLarge}},
        {"-1", "1e400", "0", false, {"0", Warning::TimeTooSmall}},
        {"0", "-1", "1e400", false, {"0", Warning::TimeTooSmall}},
        {"0", "1e400", "-1", false, {"0", Warning::TimeTooLarge}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(convertTimeTexts(row.hours, row.minutes, row.secFrames, row.dropFrame),
                  row.expected)
            << '"' << row.hours << "\", \"" << row.minutes << "\", \"" << row.secFrames << '"'
            << (row.dropFrame ? " drop" : "");
    }
}

} // namespace
} // namespace vorlane
