#include "window/smptetext.h"

#include "arithmetic/numbertext.h"
#include "arithmetic/timecode.h"
#include "window/conversion.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace vorlane {
namespace {

constexpr std::size_t TimecodeFields = 4;
constexpr std::size_t MaxFieldDigits = 2;
constexpr char NonDropSeparator = ':';
constexpr char DropSeparator = ';';

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

struct TimecodeFieldValues {
    std::int32_t hours = 0;
    std::int32_t minutes = 0;
    std::int32_t seconds = 0;
    std::int32_t frames = 0;
    bool dropFrame = false;
};

// The separators between the four fields that editing programs write: ':' throughout in
// non-drop-frame counting, ';' before the frames or throughout in drop-frame counting.
constexpr std::string_view NonDropSeparators = ":::";
constexpr std::array<std::string_view, 2> DropSeparators = {"::;", ";;;"};

// Four fields of one or two digits with one of the separator patterns between them; the values
// are not checked.
std::optional<TimecodeFieldValues> splitTimecode(std::string_view text) {
    std::array<std::int32_t, TimecodeFields> values{};
    std::string separators;
    std::size_t pos = 0;
    for (std::size_t field = 0; field < TimecodeFields; ++field) {
        if (field > 0) {
            if (pos >= text.size() || (text[pos] != NonDropSeparator && text[pos] != DropSeparator))
                return std::nullopt;
            separators += text[pos];
            ++pos;
        }
        std::size_t digits = 0;
        for (; digits < MaxFieldDigits && pos < text.size() && isAsciiDigit(text[pos]); ++digits)
            values[field] = values[field] * 10 + (text[pos++] - '0');
        if (digits == 0)
            return std::nullopt;
    }
    const bool dropFrame =
        std::find(DropSeparators.begin(), DropSeparators.end(), separators) != DropSeparators.end();
    if (pos != text.size() || (!dropFrame && separators != NonDropSeparators))
        return std::nullopt;
    return TimecodeFieldValues{values[0], values[1], values[2], values[3], dropFrame};
}

// A label that a timecode display can show. Drop-frame counting has no labels 00 and 01 at the
// start of a minute not divisible by ten (SMPTE ST 12-1); converting one would silently give a
// frame of the previous minute.
bool isTimecodeLabel(const TimecodeFieldValues& tc) {
    if (tc.minutes >= MinutesPerHour || tc.seconds >= SecondsPerMinute ||
        tc.frames >= FramesPerSecond)
        return false;
    return !(tc.dropFrame && tc.seconds == 0 && tc.frames < DroppedLabelsPerMinute &&
             tc.minutes % MinutesPerBlock != 0);
}

} // namespace

std::optional<std::string> timecodeForCopy(std::string_view hours, std::string_view minutes,
                                           std::string_view secFrames, bool dropFrame) {
    const TimeFrame denoted = frameOfTimeTexts(hours, minutes, secFrames, dropFrame);
    if (denoted.warning != Warning::NoWarning)
        return std::nullopt;
    const Timecode tc = FramesToTimecode(denoted.frame, dropFrame);
    // Large minutes denote frames far beyond the day; their hours fit no timecode display.
    if (tc.hours > MaxHours)
        return std::nullopt;
    // The frame number is not negative, so the seconds lie below 60 and "00.00" shows exactly
    // two digits of seconds, the point and two of frames.
    std::string secondsFrames = formatNumber(tc.secFrames, "00.00");
    std::replace(secondsFrames.begin(), secondsFrames.end(), '.',
                 dropFrame ? DropSeparator : NonDropSeparator);
    return formatNumber(tc.hours, "00") + NonDropSeparator + formatNumber(tc.minutes, "00") +
           NonDropSeparator + secondsFrames;
}

PastedText classifyPaste(std::string_view text) {
    const std::string_view core = trimBlanks(text, PasteBlanks);
    PastedText pasted;
    if (!core.empty() && std::all_of(core.begin(), core.end(), isAsciiDigit)) {
        pasted.kind = PasteKind::FrameNumber;
        pasted.frameText = core;
        return pasted;
    }
    const auto tc = splitTimecode(core);
    if (!tc || !isTimecodeLabel(*tc))
        return pasted;
    pasted.kind = PasteKind::Timecode;
    pasted.time = {formatNumber(tc->hours, "#0"), formatNumber(tc->minutes, "00"),
                   formatNumber(tc->seconds, "00") + '.' + formatNumber(tc->frames, "00")};
    pasted.dropFrame = tc->dropFrame;
    return pasted;
}

} // namespace vorlane
