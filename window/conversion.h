#pragma once

// The two conversion commands as pure functions of the box texts: what the frame-to-timecode
// and timecode-to-frame buttons compute, which box values they refuse, and the texts they
// write. The window only reads the boxes, calls one of these, shows the warning and writes
// the result.

#include "arithmetic/normalize.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vorlane {

/// A box's text as the number conversions read it: ASCII stays as it is, and every other UTF-16
/// unit becomes the byte 0x80, which no number, separator or blank accepts.
std::string numberText(std::u16string_view text);

/// An ASCII text (what the conversions write) as a box's UTF-16.
std::u16string boxText(std::string_view ascii);

/// Why a command converted 0 instead of what the boxes hold. The window words the warning.
enum class Warning {
    NoWarning,
    FramesTooLarge, ///< frame number above MaxFrameNumber or beyond 32 bits
    FramesTooSmall, ///< negative frame number
    TimeTooLarge,   ///< hours above MaxHours, or a field or the frame number beyond 32 bits
    TimeTooSmall,   ///< a negative field
};

struct FrameConversion {
    TimeTexts time;
    Warning warning = Warning::NoWarning;

    friend bool operator==(const FrameConversion&, const FrameConversion&) = default;
};

/// A frame number, or 0 with the warning that refused the texts.
struct TimeFrame {
    std::int32_t frame = 0;
    Warning warning = Warning::NoWarning;
};

struct TimeConversion {
    std::string frameText;
    Warning warning = Warning::NoWarning;

    friend bool operator==(const TimeConversion&, const TimeConversion&) = default;
};

/// The time box texts ("#0", "00", "00.00") for a frame box text. The text is trimmed of
/// spaces; one that is not a number counts as 0. The value is rounded half to even; a negative
/// one, one above MaxFrameNumber or one beyond 32 bits converts as 0 with a warning.
FrameConversion convertFrameText(std::string_view frameText, bool dropFrame);

/// The frame number of the three time box texts. Each is trimmed of spaces and read leniently
/// (no leading number reads 0); hours and minutes are rounded half to even, seconds.frames is
/// held in single precision. Hours above MaxHours or beyond 32 bits, minutes beyond 32 bits,
/// seconds.frames above the single-precision range and a frame number beyond 32 bits give 0
/// with TimeTooLarge; a negative field gives 0 with TimeTooSmall. The first refused field, in
/// the order hours, minutes, seconds.frames, decides the warning. Without a warning the frame
/// number is never negative.
TimeFrame frameOfTimeTexts(std::string_view hours, std::string_view minutes,
                           std::string_view secFrames, bool dropFrame);

/// The frame box text ("#####0") for the three time box texts: frameOfTimeTexts, shown.
TimeConversion convertTimeTexts(std::string_view hours, std::string_view minutes,
                                std::string_view secFrames, bool dropFrame);

} // namespace vorlane
