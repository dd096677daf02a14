#include "window/conversion.h"

#include "arithmetic/numbertext.h"
#include "arithmetic/timecode.h"

#include <cfloat>
#include <cstdint>

namespace vorlane {
namespace {

// Which way a box value is out of range, so that the warning can say so.
enum class Range { Fits, TooLarge, TooSmall };

struct Rounded {
    std::int32_t value = 0;
    Range range = Range::Fits;
};

// Reads a box text leniently and rounds it to 32 bits; a negative result or one beyond the
// 32-bit range is flagged rather than wrapped.
Rounded readRounded(std::string_view text) {
    const double value = readValue(trimSpaces(text));
    const auto rounded = roundToInt32(value);
    if (!rounded)
        return {0, value > 0 ? Range::TooLarge : Range::TooSmall};
    if (*rounded < 0)
        return {0, Range::TooSmall};
    return {*rounded, Range::Fits};
}

struct TimeFields {
    std::int32_t hours = 0;
    std::int32_t minutes = 0;
    float secFrames = 0.0f;
    Range range = Range::Fits;
};

TimeFields readTimeFields(std::string_view hoursText, std::string_view minutesText,
                          std::string_view secFramesText) {
    const Rounded hours = readRounded(hoursText);
    if (hours.range != Range::Fits)
        return {.range = hours.range};
    if (hours.value > MaxHours)
        return {.range = Range::TooLarge};
    const Rounded minutes = readRounded(minutesText);
    if (minutes.range != Range::Fits)
        return {.range = minutes.range};
    const double secFrames = readValue(trimSpaces(secFramesText));
    if (secFrames < 0.0)
        return {.range = Range::TooSmall};
    // The box value is held in single precision; one beyond the float range could only
    // overflow the frame count anyway.
    if (!(secFrames <= FLT_MAX))
        return {.range = Range::TooLarge};
    return {hours.value, minutes.value, static_cast<float>(secFrames), Range::Fits};
}

} // namespace

FrameConversion convertFrameText(std::string_view text, bool dropFrame) {
    const std::string_view trimmed = trimSpaces(text);
    const Rounded frame = readRounded(isNumeric(trimmed) ? trimmed : "0");
    Warning warning = Warning::NoWarning;
    if (frame.range == Range::TooLarge || frame.value > MaxFrameNumber)
        warning = Warning::FramesTooLarge;
    else if (frame.range == Range::TooSmall)
        warning = Warning::FramesTooSmall;
    const Timecode tc =
        FramesToTimecode(warning == Warning::NoWarning ? frame.value : 0, dropFrame);
    return {{formatNumber(tc.hours, "#0"), formatNumber(tc.minutes, "00"),
             formatNumber(tc.secFrames, "00.00")},
            warning};
}

TimeFrame frameOfTimeTexts(std::string_view hours, std::string_view minutes,
                           std::string_view secFrames, bool dropFrame) {
    const TimeFields fields = readTimeFields(hours, minutes, secFrames);
    if (fields.range == Range::TooSmall)
        return {0, Warning::TimeTooSmall};
    if (fields.range == Range::TooLarge)
        return {0, Warning::TimeTooLarge};
    const auto frame = TimecodeToFrames(fields.hours, fields.minutes, fields.secFrames, dropFrame);
    if (!frame)
        return {0, Warning::TimeTooLarge};
    return {*frame, Warning::NoWarning};
}

TimeConversion convertTimeTexts(std::string_view hours, std::string_view minutes,
                                std::string_view secFrames, bool dropFrame) {
    const TimeFrame result = frameOfTimeTexts(hours, minutes, secFrames, dropFrame);
    return {formatNumber(result.frame, "#####0"), result.warning};
}

} // namespace vorlane
