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
// 32-bit range is flagged rather than wrapped. Spaces around the text count for nothing.
Rounded readRounded(std::string_view text) {
    const double value = readValue(text);
    const auto rounded = roundToInt32(value);
    if (!rounded)
        return {0, value > 0 ? Range::TooLarge : Range::TooSmall};
    if (*rounded < 0)
        return {0, Range::TooSmall};
    return {*rounded, Range::Fits};
}

TimeFrame refusedTime(Range range) {
    return {0, range == Range::TooSmall ? Warning::TimeTooSmall : Warning::TimeTooLarge};
}

} // namespace

std::string numberText(std::u16string_view text) {
    constexpr char16_t FirstNonAscii = 0x80;
    constexpr char NotANumberCharacter = '\x80';
    std::string narrow;
    narrow.reserve(text.size());
    for (const char16_t unit : text)
        narrow.push_back(unit < FirstNonAscii ? static_cast<char>(unit) : NotANumberCharacter);
    return narrow;
}

std::u16string boxText(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

FrameConversion convertFrameText(std::string_view text, bool dropFrame) {
    const Rounded frame = readRounded(isNumeric(text) ? text : "0");
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

TimeFrame frameOfTimeTexts(std::string_view hoursText, std::string_view minutesText,
                           std::string_view secFramesText, bool dropFrame) {
    const Rounded hours = readRounded(hoursText);
    if (hours.range != Range::Fits)
        return refusedTime(hours.range);
    if (hours.value > MaxHours)
        return refusedTime(Range::TooLarge);
    const Rounded minutes = readRounded(minutesText);
    if (minutes.range != Range::Fits)
        return refusedTime(minutes.range);
    const double secFrames = readValue(secFramesText);
    if (secFrames < 0.0)
        return refusedTime(Range::TooSmall);
    // The box value is held in single precision; one beyond the float range could only
    // overflow the frame count anyway.
    if (!(secFrames <= FLT_MAX))
        return refusedTime(Range::TooLarge);
    const auto frame =
        TimecodeToFrames(hours.value, minutes.value, static_cast<float>(secFrames), dropFrame);
    if (!frame)
        return refusedTime(Range::TooLarge);
    return {*frame, Warning::NoWarning};
}

TimeConversion convertTimeTexts(std::string_view hours, std::string_view minutes,
                                std::string_view secFrames, bool dropFrame) {
    const TimeFrame result = frameOfTimeTexts(hours, minutes, secFrames, dropFrame);
    return {formatNumber(result.frame, "#####0"), result.warning};
}

} // namespace vorlane
