#include "arithmetic/timecode.h"

#include "arithmetic/checked.h"

#include <algorithm>
#include <cmath>

namespace vorlane {
namespace {

// floor(a / b) taken on the double-precision quotient, for a positive divisor b. The quotient
// and its floor lie between 0 and a, so the floor fits 32 bits.
std::int32_t floorDiv(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(std::floor(static_cast<double>(a) / static_cast<double>(b)));
}

// The seconds and frames of a label counted from the start of its minute. They travel as
// seconds + frames / 100 in single precision, each step rounded to single: this is the value
// that the seconds.frames box shows with two decimals. The seconds are floored, the frames are
// the truncating remainder, so a negative label gives a negative fraction.
float composeSecFrames(std::int32_t label) {
    const float wholeSeconds = static_cast<float>(floorDiv(label, FramesPerSecond));
    const float frameFraction =
        static_cast<float>(label % FramesPerSecond) / static_cast<float>(FrameScale);
    return wholeSeconds + frameFraction;
}

// The hours are whole groups of six ten-minute blocks: the floor of a floored quotient is the
// floor of the whole quotient, here frame / 108000 (in drop-frame counting frame / 107892).
Timecode nonDropFrame(std::int32_t frame) {
    const std::int32_t inBlock = frame % FramesPerTenMinutes;
    const std::int32_t block = floorDiv(frame, FramesPerTenMinutes);
    const std::int32_t inMinute = inBlock % FramesPerMinute;
    return {floorDiv(block, BlocksPerHour),
            floorDiv(inBlock, FramesPerMinute) + (block % BlocksPerHour) * MinutesPerBlock,
            composeSecFrames(inMinute)};
}

// SMPTE ST 12-1 drop-frame counting: within a ten-minute block the first minute keeps labels
// 0..1799 and each later minute runs 2..1799, so (m - 2) / 1798 finds the minute and the
// remainder, offset by 2 again, the label. The remainder keeps the dividend's sign, which is
// what makes m = 0 and 1 come out as labels 0 and 1 of the block's first minute.
Timecode dropFrame(std::int32_t frame) {
    const std::int32_t inBlock = frame % FramesPerTenMinutesDrop;
    const std::int32_t block = floorDiv(frame, FramesPerTenMinutesDrop);
    const std::int32_t afterDrop = inBlock - DroppedLabelsPerMinute;
    const std::int32_t minuteInBlock = std::max(floorDiv(afterDrop, FramesPerMinuteDrop), 0);
    const std::int32_t label = afterDrop % FramesPerMinuteDrop + DroppedLabelsPerMinute;
    return {floorDiv(block, BlocksPerHour),
            minuteInBlock + (block % BlocksPerHour) * MinutesPerBlock, composeSecFrames(label)};
}

} // namespace

Timecode FramesToTimecode(std::int32_t frameNumber, bool dropFrameCounting) {
    return dropFrameCounting ? dropFrame(frameNumber) : nonDropFrame(frameNumber);
}

std::optional<std::int32_t> TimecodeToFrames(std::int32_t hours, std::int32_t minutes,
                                             float secFrames, bool dropFrameCounting) {
    const double value = secFrames;
    // floor(value) lies in the 32-bit range exactly when value lies in [-2^31, 2^31). NaN fails
    // both comparisons.
    if (!(value >= -2147483648.0 && value < 2147483648.0))
        return std::nullopt;
    const double wholeSeconds = std::floor(value);
    const auto seconds = static_cast<std::int32_t>(wholeSeconds);
    // value - seconds is exact, except for a negative value within 2^-30 of 0, which comes to
    // 100 frames either way. The decimals are a frame count of two digits, so 12.3 is 30 frames
    // and a third decimal rounds into the second (ties to even). The product lies in [0, 100].
    const auto frames =
        static_cast<std::int32_t>(std::nearbyint((value - wholeSeconds) * FrameScale));

    const auto totalMinutes = checkedAdd(checkedMul(hours, MinutesPerHour), minutes);
    if (!totalMinutes)
        return std::nullopt;
    if (dropFrameCounting) {
        const auto blocks = checkedMul(*totalMinutes / MinutesPerBlock, FramesPerTenMinutesDrop);
        const auto rest = checkedMul(*totalMinutes % MinutesPerBlock, FramesPerMinuteDrop);
        const auto secondFrames = checkedMul(seconds, FramesPerSecond);
        return checkedAdd(checkedAdd(checkedAdd(blocks, rest), secondFrames), frames);
    }
    const auto totalSeconds = checkedAdd(checkedMul(*totalMinutes, SecondsPerMinute), seconds);
    return checkedAdd(checkedMul(totalSeconds, FramesPerSecond), frames);
}

} // namespace vorlane
