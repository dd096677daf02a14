#include "arithmetic/timecode.h"

#include "arithmetic/numbertext.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace vorlane {
namespace {

constexpr std::int32_t Int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Int32Min = std::numeric_limits<std::int32_t>::min();

// SecFrames as the seconds.frames box holds it: the text read back and rounded to single.
float boxValue(const std::string& text) {
    return static_cast<float>(readValue(text));
}

struct TimecodeRow {
    std::int32_t frame;
    bool dropFrame;
    std::int32_t hours;
    std::int32_t minutes;
    const char* secFrames;
};

// Every pair converts both ways.
const TimecodeRow TimecodeRows[] = {
    {0, false, 0, 0, "00.00"},
    {0, true, 0, 0, "00.00"},
    {29, false, 0, 0, "00.29"},
    {29, true, 0, 0, "00.29"},
    {30, false, 0, 0, "01.00"},
    {30, true, 0, 0, "01.00"},
    {1799, false, 0, 0, "59.29"},
    {1799, true, 0, 0, "59.29"},
    {1800, false, 0, 1, "00.00"},
    {1800, true, 0, 1, "00.02"},
    {1801, false, 0, 1, "00.01"},
    {1801, true, 0, 1, "00.03"},
    {3597, false, 0, 1, "59.27"},
    {3597, true, 0, 1, "59.29"},
    {3598, false, 0, 1, "59.28"},
    {3598, true, 0, 2, "00.02"},
    {17981, false, 0, 9, "59.11"},
    {17981, true, 0, 9, "59.29"},
    {17982, false, 0, 9, "59.12"},
    {17982, true, 0, 10, "00.00"},
    {17983, false, 0, 9, "59.13"},
    {17983, true, 0, 10, "00.01"},
    {107891, false, 0, 59, "56.11"},
    {107891, true, 0, 59, "59.29"},
    {107892, false, 0, 59, "56.12"},
    {107892, true, 1, 0, "00.00"},
    {1000000, false, 9, 15, "33.10"},
    {1000000, true, 9, 16, "06.22"},
    {2589407, false, 23, 58, "33.17"},
    {2589407, true, 23, 59, "59.29"},
    {2589408, false, 23, 58, "33.18"},
    {2589408, true, 24, 0, "00.00"},
    {2591999, false, 23, 59, "59.29"},
    {2591999, true, 24, 1, "26.13"},
    // The two frames before a drop-frame minute, the frame after 12 s 50 fr, 1 h 15 min.
    {1798, true, 0, 0, "59.28"},
    {410, false, 0, 0, "13.20"},
    {410, true, 0, 0, "13.20"},
    {134866, true, 1, 15, "00.02"},
    {135000, false, 1, 15, "00.00"},
    {107892 * 6, true, 6, 0, "00.00"},
};

TEST(FramesToTimecode, GivesTheTimecodeOfEachFrame) {
    for (const TimecodeRow& row : TimecodeRows) {
        SCOPED_TRACE(testing::Message() << "frame " << row.frame << (row.dropFrame ? " drop" : ""));
        const Timecode tc = FramesToTimecode(row.frame, row.dropFrame);
        EXPECT_EQ(tc.hours, row.hours);
        EXPECT_EQ(tc.minutes, row.minutes);
        EXPECT_EQ(formatNumber(tc.secFrames, "00.00"), row.secFrames);
    }
}

TEST(TimecodeToFrames, GivesTheFrameOfEachTimecode) {
    for (const TimecodeRow& row : TimecodeRows) {
        SCOPED_TRACE(testing::Message() << "frame " << row.frame << (row.dropFrame ? " drop" : ""));
        EXPECT_EQ(TimecodeToFrames(row.hours, row.minutes, boxValue(row.secFrames), row.dropFrame),
                  row.frame);
    }
}

TEST(FramesToTimecode, ComposesSecFramesInSinglePrecisionStepByStep) {
    struct Row {
        std::int32_t frame;
        double secFrames;
    };
    // 1 s 18 fr: single(1) + single(0.18) is 1.1800000667572021, while 1.18 rounded once to
    // single would be 1.1799999475479126.
    const Row rows[] = {
        {1799, 59.290000915527344},
        {29, 0.28999999165534973},
        {48, 1.1800000667572021},
    };
    for (const Row& row : rows) {
        for (const bool drop : {false, true}) {
            EXPECT_EQ(static_cast<double>(FramesToTimecode(row.frame, drop).secFrames),
                      row.secFrames)
                << "frame " << row.frame << (drop ? " drop" : "");
        }
    }
}

// Walks every frame the window converts, through the text the window shows and reads back, and
// checks that the fields are a valid timecode on the way.
std::int32_t firstRoundTripFailure(bool dropFrame) {
    for (std::int32_t frame = 0; frame <= MaxFrameNumber; ++frame) {
        const Timecode tc = FramesToTimecode(frame, dropFrame);
        const std::string text = formatNumber(tc.secFrames, "00.00");
        const bool shape = text.size() == 5 && text[2] == '.';
        const int seconds = (text[0] - '0') * 10 + (text[1] - '0');
        const int frames = (text[3] - '0') * 10 + (text[4] - '0');
        const bool fields = shape && tc.minutes >= 0 && tc.minutes <= 59 && seconds <= 59 &&
                            frames <= 29 && tc.hours == frame / (dropFrame ? 107892 : 108000);
        const bool skippedLabel = dropFrame && seconds == 0 && frames < 2 && tc.minutes % 10 != 0;
        const auto back = TimecodeToFrames(tc.hours, tc.minutes, boxValue(text), dropFrame);
        if (!fields || skippedLabel || back != frame)
            return frame;
    }
    return -1;
}

TEST(TimecodeRoundTrip, EveryFrameComesBackThroughTheShownTextNonDropFrame) {
    EXPECT_EQ(firstRoundTripFailure(false), -1);
}

TEST(TimecodeRoundTrip, EveryFrameComesBackThroughTheShownTextDropFrame) {
    EXPECT_EQ(firstRoundTripFailure(true), -1);
}

struct ToFramesRow {
    std::int32_t hours;
    std::int32_t minutes;
    const char* secFrames;
    bool dropFrame;
    std::optional<std::int32_t> expected;
};

void expectToFrames(const ToFramesRow& row) {
    EXPECT_EQ(TimecodeToFrames(row.hours, row.minutes, boxValue(row.secFrames), row.dropFrame),
              row.expected)
        << row.hours << " h " << row.minutes << " min " << row.secFrames
        << (row.dropFrame ? " drop" : "");
}

TEST(TimecodeToFrames, AddsInOverFullAndSkippedFields) {
    const ToFramesRow rows[] = {
        {0, 1, "0.00", true, 1798},
        {0, 1, "0.01", true, 1799},
        {0, 1, "0.02", true, 1800},
        {0, 10, "0.00", true, 17982},
        {0, 0, "12.50", false, 410},
        {0, 0, "12.50", true, 410},
        {0, 0, "12.3", false, 390},
        {0, 0, "12.3", true, 390},
        {0, 75, "0.02", true, 134866},
        {0, 75, "0.00", false, 135000},
        {24, 0, "0", false, 2592000},
        {24, 0, "0", true, 2589408},
        {0, 60, "0", false, 108000},
        {0, 60, "0", true, 107892},
        {0, 0, "59.99", false, 1869},
        {0, 0, "75.45", false, 2295},
        {0, 0, "12.996", false, 460},
        {0, 0, "0.125", false, 12},
        {0, 0, "0.375", false, 38},
        {0, 0, "0.125", true, 12},
        {0, 0, "131071.29", false, 131071 * 30 + 29},
        // 131072.29 is the single value 131072.296875, whose decimals round to 30 frames.
        {0, 0, "131072.29", false, 131072 * 30 + 30},
    };
    for (const ToFramesRow& row : rows)
        expectToFrames(row);
}

TEST(TimecodeToFrames, FailsWhenTheFrameNumberLeavesThirtyTwoBits) {
    const ToFramesRow rows[] = {
        {0, 1193046, "0", false, 2147482800},
        {0, 1193047, "0", false, std::nullopt},
        {19884, 6, "0", false, 2147482800},
        {19884, 7, "0", false, std::nullopt},
        {0, 1194240, "0", true, 2147482368},
        {0, 1194241, "0", true, std::nullopt},
        {0, 1193046, "28.07", false, 2147483647},
        {0, 1193046, "28.08", false, std::nullopt},
        {0, 1194240, "0", true, 2147482368},
        // hours × 60, then + minutes, then the minutes' frames, each checked.
        {35791395, 0, "0", false, std::nullopt},
        {35791394, 8, "0", true, std::nullopt},
        {Int32Max, 0, "0", true, std::nullopt},
        {0, Int32Max, "0", true, std::nullopt},
        {0, Int32Max, "0", false, std::nullopt},
        {Int32Min, 0, "0", false, std::nullopt},
        {0, Int32Min, "0", true, std::nullopt},
        {0, 0, "71582784", false, 2147483520},
        {0, 0, "71582792", false, std::nullopt},
    };
    for (const ToFramesRow& row : rows)
        expectToFrames(row);
}

TEST(TimecodeToFrames, FailsWhenTheSecondsLeaveThirtyTwoBits) {
    const float rows[] = {
        3e9f,
        -3e9f,
        std::numeric_limits<float>::max(),
        std::numeric_limits<float>::infinity(),
        -std::numeric_limits<float>::infinity(),
        std::numeric_limits<float>::quiet_NaN(),
    };
    for (const float secFrames : rows) {
        for (const bool drop : {false, true})
            EXPECT_EQ(TimecodeToFrames(0, 0, secFrames, drop), std::nullopt) << secFrames;
    }
}

TEST(FramesToTimecode, FollowsFloorAndTruncationForNegativeFrames) {
    const TimecodeRow rows[] = {
        {-1, false, -1, -11, "-01.01"},
        {-1, true, -1, -10, "-01.01"},
        // The minute within the block is floored to -2 and then held at 0.
        {-1800, true, -1, -10, "-01.02"},
    };
    for (const TimecodeRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "frame " << row.frame << (row.dropFrame ? " drop" : ""));
        const Timecode tc = FramesToTimecode(row.frame, row.dropFrame);
        EXPECT_EQ(tc.hours, row.hours);
        EXPECT_EQ(tc.minutes, row.minutes);
        EXPECT_EQ(formatNumber(tc.secFrames, "00.00"), row.secFrames);
    }
}

TEST(FramesToTimecode, HandlesTheWholeThirtyTwoBitRange) {
    struct Row {
        std::int32_t frame;
        bool dropFrame;
        std::int32_t hours;
    };
    const Row rows[] = {
        {Int32Max, false, 19884}, {Int32Max, true, 19904},      {Int32Min, false, -19885},
        {Int32Min, true, -19905}, {Int32Min + 1, true, -19905},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "frame " << row.frame << (row.dropFrame ? " drop" : ""));
        const Timecode tc = FramesToTimecode(row.frame, row.dropFrame);
        EXPECT_EQ(tc.hours, row.hours);
        // The largest frame number still converts back, as every non-negative one does.
        if (row.frame > 0) {
            EXPECT_EQ(TimecodeToFrames(tc.hours, tc.minutes,
                                       boxValue(formatNumber(tc.secFrames, "00.00")),
                                       row.dropFrame),
                      row.frame);
        }
    }
}

} // namespace
} // namespace vorlane
