// The timecode arithmetic and the roundings take their floors, quotients and fractions in
// integers and tables. Here they are held to the plain double-precision formulas that they
// replace: std::floor of double quotients, a run-time single-precision division for the frames,
// std::floor and std::fmod for the rounding. Every result must be the same, bit for bit, so the
// inputs are the whole day, both ends of the 32-bit range, the block and minute boundaries and
// pseudo-random values from fixed seeds.

#include "arithmetic/numbertext.h"
#include "arithmetic/timecode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace vorlane {
namespace {

constexpr std::int64_t Int32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t Int32Max = std::numeric_limits<std::int32_t>::max();
constexpr float FloatInf = std::numeric_limits<float>::infinity();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

namespace reference {

std::int32_t floorDiv(double a, double b) {
    return static_cast<std::int32_t>(std::floor(a / b));
}

float composeSecFrames(std::int32_t seconds, std::int32_t frames) {
    const float wholeSeconds = static_cast<float>(seconds);
    const float fraction = static_cast<float>(frames) / static_cast<float>(FrameScale);
    return wholeSeconds + fraction;
}

Timecode nonDropFrame(std::int32_t frame) {
    const std::int32_t inBlock = frame % FramesPerTenMinutes;
    const std::int32_t block = floorDiv(frame, FramesPerTenMinutes);
    const std::int32_t inMinute = inBlock % FramesPerMinute;
    Timecode tc;
    tc.hours = floorDiv(frame / static_cast<double>(FramesPerTenMinutes), BlocksPerHour);
    tc.minutes = floorDiv(inBlock, FramesPerMinute) + (block % BlocksPerHour) * MinutesPerBlock;
    tc.secFrames =
        composeSecFrames(floorDiv(inMinute, FramesPerSecond), inMinute % FramesPerSecond);
    return tc;
}

Timecode dropFrame(std::int32_t frame) {
    const std::int32_t inBlock = frame % FramesPerTenMinutesDrop;
    const std::int32_t block = floorDiv(frame, FramesPerTenMinutesDrop);
    const std::int32_t afterDrop = inBlock - DroppedLabelsPerMinute;
    const std::int32_t minuteInBlock = std::max(floorDiv(afterDrop, FramesPerMinuteDrop), 0);
    const std::int32_t label = afterDrop % FramesPerMinuteDrop + DroppedLabelsPerMinute;
    Timecode tc;
    tc.hours = floorDiv(frame / static_cast<double>(FramesPerTenMinutesDrop), BlocksPerHour);
    tc.minutes = minuteInBlock + (block % BlocksPerHour) * MinutesPerBlock;
    tc.secFrames = composeSecFrames(floorDiv(label, FramesPerSecond), label % FramesPerSecond);
    return tc;
}

Timecode framesToTimecode(std::int32_t frame, bool drop) {
    return drop ? dropFrame(frame) : nonDropFrame(frame);
}

template <typename Int> std::optional<Int> roundToInteger(double value) {
    constexpr double low = static_cast<double>(std::numeric_limits<Int>::min()) - 0.5;
    constexpr double high = static_cast<double>(std::numeric_limits<Int>::max()) + 0.5;
    if (!(value >= low && value < high))
        return std::nullopt;
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    return static_cast<Int>(whole);
}

std::optional<std::int32_t> checkedAdd(std::int32_t a, std::int32_t b) {
    std::int32_t result = 0;
    if (__builtin_add_overflow(a, b, &result))
        return std::nullopt;
    return result;
}

std::optional<std::int32_t> checkedMul(std::int32_t a, std::int32_t b) {
    std::int32_t result = 0;
    if (__builtin_mul_overflow(a, b, &result))
        return std::nullopt;
    return result;
}

std::optional<std::int32_t> timecodeToFrames(std::int32_t hours, std::int32_t minutes,
                                             float secFrames, bool drop) {
    const double value = secFrames;
    const double wholeSeconds = std::floor(value);
    if (!(wholeSeconds >= -2147483648.0 && wholeSeconds <= 2147483647.0))
        return std::nullopt;
    const auto seconds = static_cast<std::int32_t>(wholeSeconds);
    const auto frames = roundToInteger<std::int32_t>((value - wholeSeconds) * FrameScale);
    if (!frames)
        return std::nullopt;
    const auto hourMinutes = checkedMul(hours, MinutesPerHour);
    if (!hourMinutes)
        return std::nullopt;
    const auto totalMinutes = checkedAdd(*hourMinutes, minutes);
    if (!totalMinutes)
        return std::nullopt;
    std::optional<std::int32_t> frame;
    if (drop) {
        const auto blocks = checkedMul(*totalMinutes / MinutesPerBlock, FramesPerTenMinutesDrop);
        const auto rest = checkedMul(*totalMinutes % MinutesPerBlock, FramesPerMinuteDrop);
        if (!blocks || !rest)
            return std::nullopt;
        frame = checkedAdd(*blocks, *rest);
        const auto secondFrames = checkedMul(seconds, FramesPerSecond);
        if (!frame || !secondFrames)
            return std::nullopt;
        frame = checkedAdd(*frame, *secondFrames);
    } else {
        const auto totalSecondsPart = checkedMul(*totalMinutes, SecondsPerMinute);
        if (!totalSecondsPart)
            return std::nullopt;
        const auto totalSeconds = checkedAdd(*totalSecondsPart, seconds);
        if (!totalSeconds)
            return std::nullopt;
        frame = checkedMul(*totalSeconds, FramesPerSecond);
    }
    if (!frame)
        return std::nullopt;
    return checkedAdd(*frame, *frames);
}

} // namespace reference

// Fixed seeds: a failure names an input that the next run meets again.
constexpr std::uint32_t FrameSeed = 0x5eed0001;
constexpr std::uint32_t SecFramesSeed = 0x5eed0002;
constexpr std::uint64_t RoundingSeed = 0x5eed0003;
constexpr int RandomFrames = 300000;
constexpr int RandomSecFrames = 300000;
constexpr int RandomDoubles = 300000;

// Counts the inputs on which a conversion differs from its reference and keeps the first few
// for the message, so that a fault over millions of frames reports briefly.
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

bool sameTimecode(const Timecode& a, const Timecode& b) {
    return a.hours == b.hours && a.minutes == b.minutes &&
           std::bit_cast<std::uint32_t>(a.secFrames) == std::bit_cast<std::uint32_t>(b.secFrames);
}

void compareFrames(Mismatches& mismatches, std::int64_t frame) {
    if (frame < Int32Min || frame > Int32Max)
        return;
    const auto f = static_cast<std::int32_t>(frame);
    for (const bool drop : {false, true}) {
        if (!sameTimecode(FramesToTimecode(f, drop), reference::framesToTimecode(f, drop)))
            mismatches.add(std::to_string(f) + (drop ? " drop" : ""));
    }
}

TEST(FramesToTimecodeAgainstReference, MatchesOnEveryFrameOfTheDayAndBothEnds) {
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
        for (std::int64_t frame = span.first; frame <= span.last; ++frame)
            compareFrames(mismatches, frame);
        EXPECT_EQ(mismatches.count(), 0) << span.what << ":" << mismatches.shown();
    }
}

// A floor or a remainder that is off shows first where the dividend crosses a multiple of the
// divisor, so every multiple near zero and near both ends is visited with its neighbours.
TEST(FramesToTimecodeAgainstReference, MatchesAroundEveryBlockMinuteAndSecondBoundary) {
    const std::int64_t divisors[] = {
        FramesPerSecond,         FramesPerMinuteDrop, FramesPerMinute,
        FramesPerTenMinutesDrop, FramesPerTenMinutes, FramesPerTenMinutesDrop * 6,
        FramesPerTenMinutes * 6,
    };
    constexpr std::int64_t Multiples = 3000;
    constexpr std::int64_t Reach = 3;
    for (const std::int64_t divisor : divisors) {
        Mismatches mismatches;
        const std::int64_t lowest = Int32Min / divisor;
        const std::int64_t highest = Int32Max / divisor;
        for (const std::int64_t start : {-Multiples, lowest, highest - Multiples}) {
            for (std::int64_t k = start; k <= start + Multiples; ++k) {
                for (std::int64_t offset = -Reach; offset <= Reach; ++offset)
                    compareFrames(mismatches, k * divisor + offset);
            }
        }
        EXPECT_EQ(mismatches.count(), 0) << "divisor " << divisor << ":" << mismatches.shown();
    }
}

TEST(FramesToTimecodeAgainstReference, MatchesOnRandomFramesOverTheWholeRange) {
    std::mt19937 random(FrameSeed);
    Mismatches mismatches;
    for (int i = 0; i < RandomFrames; ++i)
        compareFrames(mismatches, static_cast<std::int32_t>(random()));
    EXPECT_EQ(mismatches.count(), 0) << mismatches.shown();
}

struct HoursMinutes {
    std::int32_t hours;
    std::int32_t minutes;
};

// Ordinary times and the edges where a product or a sum leaves 32 bits, so that the seconds and
// frames taken from secFrames meet every overflow check.
const HoursMinutes HoursMinutesRows[] = {
    {0, 0},
    {1, 15},
    {24, 0},
    {-1, -1},
    {0, 1193046},
    {0, 1193047},
    {19884, 6},
    {35791394, 8},
    {0, 1194240},
    {0, -1193046},
    {-19884, -6},
    {std::numeric_limits<std::int32_t>::max(), 0},
    {0, std::numeric_limits<std::int32_t>::min()},
};

void compareToFrames(Mismatches& mismatches, float secFrames, const HoursMinutes& hm) {
    for (const bool drop : {false, true}) {
        if (TimecodeToFrames(hm.hours, hm.minutes, secFrames, drop) !=
            reference::timecodeToFrames(hm.hours, hm.minutes, secFrames, drop)) {
            mismatches.add(std::to_string(hm.hours) + " h " + std::to_string(hm.minutes) +
                           " min secFrames bits " +
                           std::to_string(std::bit_cast<std::uint32_t>(secFrames)) +
                           (drop ? " drop" : ""));
        }
    }
}

std::vector<float> specialSecFrames() {
    const float limit = 2147483648.0f;
    std::vector<float> values = {
        0.0f,
        -0.0f,
        std::numeric_limits<float>::quiet_NaN(),
        -std::numeric_limits<float>::quiet_NaN(),
        FloatInf,
        -FloatInf,
        std::numeric_limits<float>::max(),
        std::numeric_limits<float>::lowest(),
        std::numeric_limits<float>::denorm_min(),
        -std::numeric_limits<float>::denorm_min(),
        std::numeric_limits<float>::min(),
        -std::numeric_limits<float>::min(),
        -0x1p-30f,
        -0x1.000002p-30f,
        -0x1p-31f,
        limit,
        -limit,
        std::nextafter(limit, 0.0f),
        std::nextafter(limit, FloatInf),
        std::nextafter(-limit, 0.0f),
        std::nextafter(-limit, -FloatInf),
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

TEST(TimecodeToFramesAgainstReference, MatchesOnSpecialSecFramesAndOverflowEdges) {
    Mismatches mismatches;
    for (const float secFrames : specialSecFrames()) {
        for (const HoursMinutes& hm : HoursMinutesRows)
            compareToFrames(mismatches, secFrames, hm);
    }
    EXPECT_EQ(mismatches.count(), 0) << mismatches.shown();
}

TEST(TimecodeToFramesAgainstReference, MatchesOnRandomSecFrames) {
    std::mt19937 random(SecFramesSeed);
    constexpr std::uint32_t HoursMinutesCount = std::size(HoursMinutesRows);
    Mismatches mismatches;
    for (int i = 0; i < RandomSecFrames; ++i) {
        // Any bit pattern, which is mostly far outside the range, and a box-sized value.
        const float anyBits = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        const float boxSized =
            static_cast<float>(static_cast<std::int32_t>(random() % 400000) - 200000) / 128.0f;
        const HoursMinutes& hm = HoursMinutesRows[random() % HoursMinutesCount];
        compareToFrames(mismatches, anyBits, hm);
        compareToFrames(mismatches, boxSized, hm);
    }
    EXPECT_EQ(mismatches.count(), 0) << mismatches.shown();
}

void compareRounding(Mismatches& mismatches, double value) {
    if (roundToInt32(value) != reference::roundToInteger<std::int32_t>(value) ||
        roundToInt16(value) != reference::roundToInteger<std::int16_t>(value)) {
        mismatches.add("bits " + std::to_string(std::bit_cast<std::uint64_t>(value)));
    }
}

TEST(RoundingAgainstReference, MatchesOnHalvesLimitsAndSpecialValues) {
    Mismatches mismatches;
    for (const double value : {0.0,
                               -0.0,
                               NaN,
                               -NaN,
                               Inf,
                               -Inf,
                               1e300,
                               -1e300,
                               0x1p51,
                               -0x1p51,
                               0x1p52,
                               -0x1p52,
                               0x1p53,
                               -0x1p53,
                               0x1p63,
                               -0x1p63,
                               -0x1p-60,
                               -1e-300,
                               std::numeric_limits<double>::denorm_min(),
                               -std::numeric_limits<double>::denorm_min(),
                               0.49999999999999994,
                               -0.49999999999999994,
                               0.5000000000000001,
                               -0.5000000000000001}) {
        compareRounding(mismatches, value);
    }
    // Both ends of both ranges: the limit itself, the halves beyond it and the doubles beside.
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

TEST(RoundingAgainstReference, MatchesOnRandomDoubles) {
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
