#pragma once

// Frame numbers and SMPTE timecodes at 30 frames per second, in non-drop-frame counting and in
// drop-frame counting (SMPTE ST 12-1: labels 00 and 01 are skipped at the start of every minute
// not divisible by ten). Seconds and frames travel together as SecFrames, a single-precision
// value whose integer part is the seconds and whose two decimals are the frames (12.05 is 12
// seconds and 5 frames).

#include <cstdint>
#include <optional>

namespace vorlane {

inline constexpr std::int32_t FramesPerSecond = 30;
inline constexpr std::int32_t SecondsPerMinute = 60;
inline constexpr std::int32_t MinutesPerHour = 60;
inline constexpr std::int32_t MinutesPerBlock = 10;
inline constexpr std::int32_t DroppedLabelsPerMinute = 2;
inline constexpr std::int32_t FrameScale = 100;
/// The largest hours value that the timecode-to-frame command converts.
inline constexpr std::int32_t MaxHours = 24;

inline constexpr std::int32_t BlocksPerHour = MinutesPerHour / MinutesPerBlock;
inline constexpr std::int32_t FramesPerMinute = FramesPerSecond * SecondsPerMinute;
inline constexpr std::int32_t FramesPerTenMinutes = FramesPerMinute * MinutesPerBlock;
// A drop-frame block keeps every label of its first minute and loses two in each of the others.
inline constexpr std::int32_t FramesPerMinuteDrop = FramesPerMinute - DroppedLabelsPerMinute;
inline constexpr std::int32_t FramesPerTenMinutesDrop =
    FramesPerMinute + (MinutesPerBlock - 1) * FramesPerMinuteDrop;
/// The largest frame number that the frame-to-timecode command converts (24 h less one frame).
inline constexpr std::int32_t MaxFrameNumber = MaxHours * MinutesPerHour * FramesPerMinute - 1;

static_assert(BlocksPerHour == 6 && FramesPerMinute == 1800 && FramesPerTenMinutes == 18000);
static_assert(FramesPerMinuteDrop == 1798 && FramesPerTenMinutesDrop == 17982);
static_assert(BlocksPerHour * FramesPerTenMinutes == 108000);
static_assert(BlocksPerHour * FramesPerTenMinutesDrop == 107892);
static_assert(MaxFrameNumber == 2591999);

struct Timecode {
    std::int32_t hours = 0;
    std::int32_t minutes = 0;
    float secFrames = 0.0f;
};

/// The timecode of a frame number. Defined for every 32-bit frame number; for a negative one
/// the fields follow floor and truncating remainders and are not a meaningful timecode.
Timecode FramesToTimecode(std::int32_t frameNumber, bool dropFrame);

/// The frame number of a timecode. Over-full fields add in (frames .30 to .99, seconds or
/// minutes of 60 or more). Nothing when floor(secFrames) or any product or sum leaves the
/// signed 32-bit range.
std::optional<std::int32_t> TimecodeToFrames(std::int32_t hours, std::int32_t minutes,
                                             float secFrames, bool dropFrame);

} // namespace vorlane
