#include "arithmetic/timecode.h"

#include "arithmetic/checked.h"
#include "arithmetic/numbertext.h"

#include <algorithm>
#include <cmath>

namespace vorlane {
namespace {

// Quotients that are floored are formed in double precision: for any 32-bit operands the
// floored result fits 32 bits again.
std::int32_t floorDiv(double a, double b) {
    return static_cast<std::int32_t>(std::floor(a / b));
}

// The seconds and frames travel as seconds + frames / 100 in single precision, each step
// rounded to single: this is the value that the seconds.frames box shows with two decimals.
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
    Timecode tc;
    tc.hours = floorDiv(frame / static_cast<double>(FramesPerTenMinutesDrop), BlocksPerHour);
    tc.minutes = minuteInBlock + (block % BlocksPerHour) * MinutesPerBlock;
    tc.secFrames = composeSecFrames(floorDiv(label, FramesPerSecond), label % FramesPerSecond);
    return tc;
}

} // namespace

Timecode FramesToTimecode(std::int32_t frameNumber, bool dropFrameCounting) {
    return dropFrameCounting ? dropFrame(frameNumber) : nonDropFrame(frameNumber);
}

std::optional<std::int32_t> TimecodeToFrames(std::int32_t hours, std::int32_t minutes,
                                             float secFrames, bool dropFrameCounting) {
    const double value = secFrames;
    const double wholeSeconds = std::floor(value);
    if (!(wholeSeconds >= -2147483648.0 && wholeSeconds <= 2147483647.0))
        return std::nullopt;
    const auto seconds = static_cast<std::int32_t>(wholeSeconds);
    // value - seconds is exact; the decimals are a frame count of two digits, so 12.3 is
    // 30 frames and a third decimal rounds into the second (ties to even).
    const auto frames = roundToInt32((value - wholeSeconds) * FrameScale);
    if (!frames)
        return std::nullopt;

    const auto hourMinutes = checkedMul(hours, MinutesPerHour);
    if (!hourMinutes)
        return std::nullopt;
    const auto totalMinutes = checkedAdd(*hourMinutes, minutes);
    if (!totalMinutes)
        return std::nullopt;

    std::optional<std::int32_t> frame;
    if (dropFrameCounting) {
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

} // namespace vorlane
