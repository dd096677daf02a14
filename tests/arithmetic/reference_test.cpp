// The timecode arithmetic and the roundings take their floors, quotients and fractions with
// integer and table primitives. Each primitive is held here to the plain form that it replaces,
// bit for bit: floorDiv to std::floor of the double quotient, the frame-fraction table to a
// single-precision division at run time, and the rounding helpers to std::floor and std::fmod.
// The inputs are those the arithmetic gives them: the whole day, both ends of the 32-bit range,
// the block and minute boundaries, box-sized values and pseudo-random values from fixed seeds.
// How the primitives are put together is covered by the worked rows and the round trip over
// the whole day in timecode_test.cpp.

#include "arithmetic/checked.h"
#include "arithmetic/framefraction.h"
#include "arithmetic/timecode.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace vorlane {
namespace {

constexpr std::int64_t Int32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t Int32Max = std::numeric_limits<std::int32_t>::max();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Fixed seeds: a failure names an input that the next run meets again.
constexpr std::uint32_t DividendSeed = 0x5eed0001;
constexpr std::uint32_t SecFramesSeed = 0x5eed0002;
constexpr std::uint64_t RoundingSeed = 0x5eed0003;
constexpr int RandomDividends = 300000;
constexpr int RandomSecFrames = 300000;
constexpr int RandomDoubles = 300000;

// Counts the inputs on which a primitive differs from its plain form and keeps the first few
// for the message, so that a fault over millions of inputs reports briefly.
class Mismatches {
public:
    void add(const std::string& input) {
        if (m_count < MaxShown)
            m_shown += " " + input;
        ++m_count;
    }
    int count() const { return m_count; }
    const std::string& shown() const { return m_shown; }

private:
    static constexpr int MaxShown = 8;
    int m_count = 0;
    std::string m_shown;
};

// Every divisor that the timecode arithmetic floors by.
constexpr std::int32_t Divisors[] = {
    FramesPerSecond,     FramesPerMinuteDrop,     FramesPerMinute,
    FramesPerTenMinutes, FramesPerTenMinutesDrop, BlocksPerHour,
};

void compareFloorDiv(Mismatches& mismatches, std::int64_t dividend) {
    if (dividend < Int32Min || dividend > Int32Max)
        return;
    const auto a = static_cast<std::int32_t>(dividend);
    for (const std::int32_t b : Divisors) {
        const double plain = std::floor(static_cast<double>(a) / static_cast<double>(b));
        if (static_cast<double>(floorDiv(a, b)) != plain)
            mismatches.add(std::to_string(a) + " / " + std::to_string(b));
    }
}

TEST(FloorDivAgainstDoubleQuotient, MatchesOnTheDayAndBothEnds) {
    struct Span {
        const char* what;
        std::int64_t first;
        std::int64_t last;
    };
    const Span spans[] = {
        {"the day", 0, MaxFrameNumber},
        {"the low end", Int32Min, Int32Min + 200000},
        {"the high end", Int32Max - 200000, Int32Max},
        {"around zero", -200000, 0},
    };
    for (const Span& span : spans) {
        Mismatches mismatches;
        for (std::int64_t dividend = span.first; dividend <= span.last; ++dividend)
            compareFloorDiv(mismatches, dividend);
        EXPECT_EQ(mismatches.count(), 0) << span.what << ":" << mismatches.shown();
    }
}

// A floor that is off shows first where the dividend crosses a multiple of the divisor, so
// every multiple near zero and near both ends is visited with its neighbours.
TEST(FloorDivAgainstDoubleQuotient, MatchesAroundEveryMultiple) {
    constexpr std::int64_t Multiples = 3000;
    constexpr std::int64_t Reach = 3;
    for (const std::int64_t divisor : Divisors) {
        Mismatches mismatches;
        const std::int64_t lowest = Int32Min / divisor;
        const std::int64_t highest = Int32Max / divisor;
        for (const std::int64_t start : {-Multiples, lowest, highest - Multiples}) {
            for (std::int64_t k = start; k <= start + Multiples; ++k) {
                for (std::int64_t offset = -Reach; offset <= Reach; ++offset)
                    compareFloorDiv(mismatches, k * divisor + offset);
            }
        }
        EXPECT_EQ(mismatches.count(), 0) << "divisor " << divisor << ":" << mismatches.shown();
    }
}

TEST(FloorDivAgainstDoubleQuotient, MatchesOnRandomDividends) {
    std::mt19937 random(DividendSeed);
    Mismatches mismatches;
    for (int i = 0; i < RandomDividends; ++i)
        compareFloorDiv(mismatches, static_cast<std::int32_t>(random()));
    EXPECT_EQ(mismatches.count(), 0) << mismatches.shown();
}

TEST(FrameFractionAgainstDivision, MatchesForEveryFrameCountALabelLeaves) {
    // volatile keeps the compiler from folding the division: it must run on the processor.
    volatile float scale = static_cast<float>(FrameScale);
    for (std::int32_t frames = LowestFrames; frames < FramesPerSecond; ++frames) {
        const float divided = static_cast<float>(frames) / scale;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(frameFraction(frames)),
                  std::bit_cast<std::uint32_t>(divided))
            << frames;
    }
}

double roundHalfEvenPlain(double value) {
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    return whole;
}

// Both helpers against their plain forms, each within the range its callers check for.
void compareRounding(Mismatches& mismatches, double value) {
    const bool floorMismatch =
        std::fabs(value) <= 0x1p62 && static_cast<double>(floorInRange(value)) != std::floor(value);
    const bool roundMismatch =
        std::fabs(value) <= 0x1p51 &&
        static_cast<double>(roundHalfEvenInRange(value)) != roundHalfEvenPlain(value);
    if (floorMismatch || roundMismatch)
        mismatches.add("bits " + std::to_string(std::bit_cast<std::uint64_t>(value)));
}

// A seconds.frames value as TimecodeToFrames takes it apart: its floor, and the rounding of
// its fraction times 100.
void compareSecFrames(Mismatches& mismatches, float secFrames) {
    const double value = secFrames;
    if (!(value >= -2147483648.0 && value < 2147483648.0))
        return;
    compareRounding(mismatches, value);
    compareRounding(mismatches, (value - std::floor(value)) * FrameScale);
}

std::vector<float> specialSecFrames() {
    const float limit = 2147483648.0f;
    std::vector<float> values = {
        0.0f,
        -0.0f,
        std::numeric_limits<float>::denorm_min(),
        -std::numeric_limits<float>::denorm_min(),
        std::numeric_limits<float>::min(),
        -std::numeric_limits<float>::min(),
        -0x1p-30f,
        -0x1.000002p-30f,
        -0x1p-31f,
        -limit,
        std::nextafter(limit, 0.0f),
        std::nextafter(-limit, 0.0f),
        0x1p24f,
        std::nextafter(0x1p24f, 0.0f),
        131072.29f,
        131071.29f,
        71582788.0f,
        71582792.0f,
    };
    // Every two-decimal text the box can hold, and every eighth, whose hundredfold is a tie,
    // for seconds on both sides of zero and where single precision runs out of decimals.
    for (const float seconds : {0.0f, 1.0f, 12.0f, 59.0f, 60.0f, 131071.0f, 1048575.0f}) {
        for (int hundredths = 0; hundredths < 100; ++hundredths) {
            const double text = seconds + hundredths / 100.0;
            values.push_back(static_cast<float>(text));
            values.push_back(static_cast<float>(-text));
        }
        for (int eighths = 0; eighths < 8; ++eighths) {
            values.push_back(seconds + static_cast<float>(eighths) / 8.0f);
            values.push_back(-(seconds + static_cast<float>(eighths) / 8.0f));
        }
    }
    return values;
}

TEST(RoundingHelpersAgainstFloorAndFmod, MatchOnSecFramesValues) {
    Mismatches mismatches;
    for (const float secFrames : specialSecFrames())
        compareSecFrames(mismatches, secFrames);
    std::mt19937 random(SecFramesSeed);
    for (int i = 0; i < RandomSecFrames; ++i) {
        // Any bit pattern, which is mostly far outside the range, and a box-sized value.
        compareSecFrames(mismatches, std::bit_cast<float>(static_cast<std::uint32_t>(random())));
        compareSecFrames(mismatches,
                         static_cast<float>(static_cast<std::int32_t>(random() % 400000) - 200000) /
                             128.0f);
    }
    EXPECT_EQ(mismatches.count(), 0) << mismatches.shown();
}

TEST(RoundingHelpersAgainstFloorAndFmod, MatchOnHalvesLimitsAndSpecialValues) {
    Mismatches mismatches;
    for (const double value :
         {0.0, -0.0, NaN, Inf, -Inf, 0x1p51, -0x1p51, 0x1p52, -0x1p52, 0x1p62, -0x1p62, -0x1p-60,
          -1e-300, std::numeric_limits<double>::denorm_min(),
          -std::numeric_limits<double>::denorm_min(), 0.49999999999999994, -0.49999999999999994,
          0.5000000000000001, -0.5000000000000001}) {
        compareRounding(mismatches, value);
    }
    // Both ends of the 32-bit and 16-bit ranges that the roundings check for, and beside them.
    for (const double end : {-2147483648.0, 2147483647.0, -32768.0, 32767.0}) {
        for (const double step : {-1.0, -0.5, 0.0, 0.5, 1.0}) {
            const double value = end + step;
            compareRounding(mismatches, value);
            compareRounding(mismatches, std::nextafter(value, -Inf));
            compareRounding(mismatches, std::nextafter(value, Inf));
        }
    }
    for (int k = -70000; k <= 70000; ++k) {
        const double half = k + 0.5;
        compareRounding(mismatches, half);
        compareRounding(mismatches, std::nextafter(half, -Inf));
        compareRounding(mismatches, std::nextafter(half, Inf));
    }
    EXPECT_EQ(mismatches.count(), 0) << mismatches.shown();
}

TEST(RoundingHelpersAgainstFloorAndFmod, MatchOnRandomDoubles) {
    std::mt19937_64 random(RoundingSeed);
    Mismatches mismatches;
    for (int i = 0; i < RandomDoubles; ++i) {
        // Any bit pattern; an integer of the 32-bit range with a random fraction; a value in
        // eighths around the 16-bit range, an eighth of which are ties.
        compareRounding(mismatches, std::bit_cast<double>(random()));
        const auto whole = static_cast<double>(static_cast<std::int32_t>(random()));
        compareRounding(mismatches, whole + std::ldexp(static_cast<double>(random() >> 11), -53));
        const auto eighths = static_cast<std::int64_t>(random() >> 43) - (std::int64_t{1} << 20);
        compareRounding(mismatches, static_cast<double>(eighths) / 8.0);
    }
    EXPECT_EQ(mismatches.count(), 0) << mismatches.shown();
}

} // namespace
} // namespace vorlane
