#include "arithmetic/normalize.h"

#include "arithmetic/numbertext.h"
#include "arithmetic/timecode.h"

#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <ostream>
#include <string>

namespace vorlane {

// Lets a failed comparison show the three texts.
void PrintTo(const TimeTexts& texts, std::ostream* out) {
    *out << '{' << texts.hours << ", " << texts.minutes << ", " << texts.secFrames << '}';
}

namespace {

struct Row {
    const char* hours;
    const char* minutes;
    const char* secFrames;
    std::optional<TimeTexts> expected;
};

void expectRows(const Row* begin, const Row* end) {
    for (const Row* row = begin; row != end; ++row) {
        EXPECT_EQ(NormalizeTimeTexts(row->hours, row->minutes, row->secFrames), row->expected)
            << '"' << row->hours << "\", \"" << row->minutes << "\", \"" << row->secFrames << '"';
    }
}

const auto Fails = std::nullopt;

TEST(NormalizeTimeTexts, CarriesOverFullFieldsUpward) {
    const Row rows[] = {
        {"0", "0", "75.45", TimeTexts{"0", "01", "16.15"}},
        {"1", "59", "59.30", TimeTexts{"2", "00", "00.00"}},
        {"23", "59", "59.30", TimeTexts{"24", "00", "00.00"}},
        {"0", "0", "0.3", TimeTexts{"0", "00", "01.00"}},
        {"0", "0", "12.5", TimeTexts{"0", "00", "13.20"}},
        {"0", "0", "12.125", TimeTexts{"0", "00", "12.12"}},
        {"0", "0", "12.999", TimeTexts{"0", "00", "15.10"}},
        {"24", "120", "0", TimeTexts{"26", "00", "00.00"}},
        {"0", "59", "59.29", TimeTexts{"0", "59", "59.29"}},
        {"007", "5", "7.1", TimeTexts{"7", "05", "07.10"}},
        {"", "", "0", TimeTexts{"0", "00", "00.00"}},
        {"0", "0", "60", TimeTexts{"0", "01", "00.00"}},
        {"0", "0", "59.99", TimeTexts{"0", "01", "02.09"}},
        {"0", "0", "1e1", TimeTexts{"0", "00", "10.00"}},
        {"0", "0", " 12.05 ", TimeTexts{"0", "00", "12.05"}},
        {"0", "0", "-0", TimeTexts{"0", "00", "00.00"}},
        // Hours and minutes are read leniently and rounded half to even.
        {"1 2", "abc", "0", TimeTexts{"12", "00", "00.00"}},
        {"1,5", "3x", "0", TimeTexts{"1", "03", "00.00"}},
        {"2.5", "0.5", "0", TimeTexts{"2", "00", "00.00"}},
        {"3.5", "59.5", "0", TimeTexts{"5", "00", "00.00"}},
        {"-0.4", "-0", "0", TimeTexts{"0", "00", "00.00"}},
    };
    expectRows(std::begin(rows), std::end(rows));
}

TEST(NormalizeTimeTexts, HoldsTheHundredthsInSixteenBits) {
    const Row rows[] = {
        {"0", "0", "327.67", TimeTexts{"0", "05", "29.07"}},
        {"0", "0", "327.674999", TimeTexts{"0", "05", "29.07"}},
        {"0", "0", "327.675", Fails},
        {"0", "0", "327.68", Fails},
        {"0", "0", "1e10", Fails},
    };
    expectRows(std::begin(rows), std::end(rows));
}

TEST(NormalizeTimeTexts, FailsOnATextThatIsNotANumberOrANegativeField) {
    const Row rows[] = {
        {"0", "0", "", Fails},     {"0", "0", " ", Fails},     {"0", "0", "12,5", Fails},
        {"0", "0", "1 2", Fails},  {"0", "0", "1e400", Fails}, {"-1", "0", "0", Fails},
        {"0", "-1", "0", Fails},   {"0", "0", "-0.5", Fails},  {"0", "0", "-0.01", Fails},
        {"-1", "120", "0", Fails}, {"0", "-61", "0", Fails},   {"0", "0", "-327.67", Fails},
    };
    expectRows(std::begin(rows), std::end(rows));
}

TEST(NormalizeTimeTexts, FailsWhenAFieldOrACarryLeavesThirtyTwoBits) {
    const Row rows[] = {
        {"2147483647", "59", "59.29", TimeTexts{"2147483647", "59", "59.29"}},
        {"0", "2147483647", "59.29", TimeTexts{"35791394", "07", "59.29"}},
        {"2147483648", "0", "0", Fails},
        {"0", "2147483648", "0", Fails},
        {"1e400", "0", "0", Fails},
        {"0", "1e400", "0", Fails},
        {"2147483647", "60", "0", Fails},
        {"2147483647", "59", "60", Fails},
        {"0", "2147483647", "60", Fails},
    };
    expectRows(std::begin(rows), std::end(rows));
}

TEST(NormalizeTimeTexts, KeepsTheTotalOfEveryTypableSecondsFramesValue) {
    // Every two-decimal value that fits the 16-bit hundredths, as a user would type it.
    for (int hundredths = 0; hundredths <= 32767; ++hundredths) {
        const int typedSeconds = hundredths / 100;
        const int typedFrames = hundredths % 100;
        const std::string typed = std::to_string(typedSeconds) + '.' +
                                  (typedFrames < 10 ? "0" : "") + std::to_string(typedFrames);
        const auto texts = NormalizeTimeTexts("0", "0", typed);
        ASSERT_TRUE(texts.has_value()) << typed;
        ASSERT_EQ(texts->secFrames.size(), 5u) << typed;
        const int seconds = std::stoi(texts->secFrames.substr(0, 2));
        const int frames = std::stoi(texts->secFrames.substr(3, 2));
        const int minutes = std::stoi(texts->minutes);
        ASSERT_EQ(texts->hours, "0") << typed;
        ASSERT_LE(seconds, 59) << typed;
        ASSERT_LE(frames, 29) << typed;
        ASSERT_EQ((minutes * 60 + seconds) * 30 + frames, typedSeconds * 30 + typedFrames) << typed;
    }
}

TEST(NormalizeTimeTexts, ACarriedSkippedLabelConvertsToTheFrameBeforeTheMinute) {
    const auto texts = NormalizeTimeTexts("0", "0", "60");
    ASSERT_TRUE(texts.has_value());
    const auto frame = TimecodeToFrames(
        *roundToInt32(readValue(texts->hours)), *roundToInt32(readValue(texts->minutes)),
        static_cast<float>(*toNumberStrict(texts->secFrames)), true);
    EXPECT_EQ(frame, 1798);
}

} // namespace
} // namespace vorlane
