#include "window/smptetext.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace vorlane {

// Lets a failed comparison show the kind and the texts.
void PrintTo(const PastedText& pasted, std::ostream* out) {
    *out << "{kind " << static_cast<int>(pasted.kind) << "; " << pasted.time.hours << ", "
         << pasted.time.minutes << ", " << pasted.time.secFrames
         << (pasted.dropFrame ? " drop" : "") << "; frame \"" << pasted.frameText << "\"}";
}

namespace {

TEST(TimecodeForCopy, GivesTheDenotedFrameInSmpteFormOrNothing) {
    struct Row {
        const char* hours;
        const char* minutes;
        const char* secFrames;
        bool dropFrame;
        std::optional<std::string> expected;
    };
    const Row rows[] = {
        {"0", "01", "00.02", true, "00:01:00;02"},
        {"0", "01", "00.00", false, "00:01:00:00"},
        {"1", "2", "3.04", false, "01:02:03:04"},
        {"23", "59", "59.29", true, "23:59:59;29"},
        // Hours 24: the last frame the frame box converts in drop-frame counting, and the frame
        // after the last in non-drop-frame counting.
        {"24", "01", "26.13", true, "24:01:26;13"},
        {"24", "0", "0", false, "24:00:00:00"},
        {"24", "0", "0", true, "24:00:00;00"},
        // Skipped drop-frame labels come out as the frames they denote, minute 10 keeps its own.
        {"0", "01", "00.00", true, "00:00:59;28"},
        {"0", "01", "00.01", true, "00:00:59;29"},
        {"0", "10", "00.00", true, "00:10:00;00"},
        // Over-full fields carry.
        {"0", "0", "75.45", false, "00:01:16:15"},
        // Frames beyond hour 24, reached only through over-full fields, fit no timecode display.
        {"24", "120", "0", false, std::nullopt},
        {"0", "1193046", "28.07", false, std::nullopt},
        // Read as the timecode-to-frame command reads them: 12.3 is 12 seconds and 30 frames.
        {" 1 ", "2.5", "12.3", false, "01:02:13:00"},
        {"", "", "", true, "00:00:00;00"},
        // Whatever makes that command warn gives nothing.
        {"25", "0", "0", false, std::nullopt},
        {"-1", "0", "0", true, std::nullopt},
        {"0", "-1", "0", false, std::nullopt},
        {"0", "0", "-0.01", false, std::nullopt},
        {"0", "1193046", "28.08", false, std::nullopt},
        {"0", "99999999999", "0", true, std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(timecodeForCopy(row.hours, row.minutes, row.secFrames, row.dropFrame),
                  row.expected)
            << '"' << row.hours << "\", \"" << row.minutes << "\", \"" << row.secFrames << '"'
            << (row.dropFrame ? " drop" : "");
    }
}

PastedText timecode(const char* hours, const char* minutes, const char* secFrames, bool dropFrame) {
    return {PasteKind::Timecode, {hours, minutes, secFrames}, dropFrame, ""};
}
PastedText frameNumber(const char* text) {
    return {PasteKind::FrameNumber, {}, false, text};
}
const PastedText Refused{};

TEST(ClassifyPaste, GivesTheBoxTextsOrRefuses) {
    struct Row {
        const char* text;
        PastedText expected;
    };
    const Row rows[] = {
        {"1:2:3;4", timecode("1", "02", "03.04", true)},
        {"00:01:00;02", timecode("0", "01", "00.02", true)},
        {"00:01:00:00", timecode("0", "01", "00.00", false)},
        {"01;02;03;04", timecode("1", "02", "03.04", true)},
        {"01;02:03:04", Refused},
        {"01:02;03;04", Refused},
        {"01;02;03:04", Refused},
        {"23:59:59;29", timecode("23", "59", "59.29", true)},
        {" \t10:09:08:07\r\n", timecode("10", "09", "08.07", false)},
        // Drop-frame labels 00 and 01 exist only at second 00 of minutes divisible by ten.
        {"00:00:00;00", timecode("0", "00", "00.00", true)},
        {"00:10:00;01", timecode("0", "10", "00.01", true)},
        {"01:50:00;00", timecode("1", "50", "00.00", true)},
        {"00:09:01;00", timecode("0", "09", "01.00", true)},
        {"00:01:00;01", Refused},
        {"00:09:00;00", Refused},
        // Hours above 24 are the command's to refuse.
        {"25:00:00:00", timecode("25", "00", "00.00", false)},
        {"99:59:59;29", timecode("99", "59", "59.29", true)},
        // Fields beyond their range.
        {"00:00:00:30", Refused},
        {"00:00:60:00", Refused},
        {"00:60:00:00", Refused},
        // Digits alone are a frame number, as pasted.
        {"1800", frameNumber("1800")},
        {"\n0001800\r\n", frameNumber("0001800")},
        {"99999999999999999999", frameNumber("99999999999999999999")},
        // Other text.
        {"", Refused},
        {" \r\n", Refused},
        {"-1", Refused},
        {"1 800", Refused},
        {"+1:00:00:00", Refused},
        {"001:00:00:00", Refused},
        {"01:00:00:000", Refused},
        {"01:00:00", Refused},
        {"01:00:00:00:00", Refused},
        {"01::00:00", Refused},
        {"01:00:00:", Refused},
        {"01 :00:00:00", Refused},
        {"01:00:00.00", Refused},
        {"01:00:00,00", Refused},
        {"01:00:00:00x", Refused},
        {"01:00:00:00\n01:00:00:01", Refused},
        {"\xef\xbc\x91:00:00:00", Refused}, // a full-width digit one
    };
    for (const Row& row : rows)
        EXPECT_EQ(classifyPaste(row.text), row.expected) << '"' << row.text << '"';
}

} // namespace
} // namespace vorlane
