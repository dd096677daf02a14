#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorlane {

/// The three time box texts: hours, minutes, seconds.frames.
struct TimeTexts {
    std::string hours;
    std::string minutes;
    std::string secFrames;

    friend bool operator==(const TimeTexts&, const TimeTexts&) = default;
};

/// Carries over-full time fields upward (30 frames to a second, 60 seconds to a minute, 60
/// minutes to an hour, whatever the counting mode; hours are not limited) and gives the texts
/// in the formats "0", "00" and "00.00". Hours and minutes are read leniently (no leading
/// number reads 0) and rounded; seconds.frames must be a number. Nothing when seconds.frames
/// is not a number or its hundredths do not fit 16 bits (327.675 or more), when a field is
/// negative, or when a field or a carry leaves the signed 32-bit range.
std::optional<TimeTexts> NormalizeTimeTexts(std::string_view hours, std::string_view minutes,
                                            std::string_view secFrames);

} // namespace vorlane
