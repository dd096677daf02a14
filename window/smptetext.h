#pragma once

// Timecodes in the form that editing programs and edit decision lists write and read:
// HH:MM:SS:FF in non-drop-frame counting, HH:MM:SS;FF in drop-frame counting. What the copy and
// paste items of the boxes' context menu put on and take from the clipboard; the window only
// moves the texts and runs its commands.

#include "arithmetic/normalize.h"

#include <optional>
#include <string>
#include <string_view>

namespace vorlane {

/// The blanks that a pasted text may carry before and after it: space, tab, line feed,
/// vertical tab, form feed and carriage return, so a copied line with its line end pastes.
inline constexpr std::string_view PasteBlanks = " \t\n\v\f\r";

/// The timecode that the three time box texts denote, for the clipboard: their frame number
/// (frameOfTimeTexts) through FramesToTimecode in the given counting, so over-full fields and
/// skipped drop-frame labels come out as the frame they denote. Hours, minutes, seconds and
/// frames have two digits each, ':' between them, and ';' before the frames in drop-frame
/// counting: "00:01:00;02", "00:01:00:00", "24:01:26;13". Nothing when frameOfTimeTexts warns
/// (a negative field, hours above MaxHours, or a value beyond 32 bits), and nothing when the
/// frame lies beyond hour MaxHours, which only over-full minutes or seconds reach.
std::optional<std::string> timecodeForCopy(std::string_view hours, std::string_view minutes,
                                           std::string_view secFrames, bool dropFrame);

/// What a pasted text is.
enum class PasteKind {
    Refused,     ///< neither a timecode nor a frame number; nothing may change
    Timecode,    ///< fills the time boxes, then the timecode-to-frame command runs
    FrameNumber, ///< fills the frame box, then the frame-to-timecode command runs
};

struct PastedText {
    PasteKind kind = PasteKind::Refused;
    /// Timecode: the time box texts in their formats "#0", "00" and "00.00", the frames as the
    /// two decimals.
    TimeTexts time;
    /// Timecode: the counting the text was written in.
    bool dropFrame = false;
    /// FrameNumber: the frame box text, the digits as pasted, without the blanks around them.
    std::string frameText;

    friend bool operator==(const PastedText&, const PastedText&) = default;
};

/// Classifies a pasted text, PasteBlanks before and after it allowed.
/// - A timecode: four fields of one or two ASCII digits, hours, minutes, seconds and frames, in
///   one of the forms that editing programs write: H:M:S:F in non-drop-frame counting, H:M:S;F
///   and H;M;S;F in drop-frame counting ("1:2:3:4", "01:02:03;04", "01;02;03;04"); other mixes
///   of ':' and ';' are refused. Minutes and seconds must lie below 60, frames below 30, and in
///   drop-frame counting the label must exist (not frames 00 or 01 at second 00 of a minute not
///   divisible by ten). Hours are not limited here: those above MaxHours reach the command,
///   which warns.
/// - A frame number: ASCII digits alone, any number of them.
/// - Anything else is refused: an empty text, signs, blanks inside, empty fields, three digits
///   in a field, fewer or more than four fields, other separators, non-ASCII digits.
PastedText classifyPaste(std::string_view text);

} // namespace vorlane
