#include "window/keyrules.h"

#include "arithmetic/numbertext.h"
#include "window/conversion.h"

#include <cstddef>

namespace vorlane {
namespace {

constexpr int BackspaceCaret = 2; // one past the end of "0": the caret lands after it
constexpr int DigitCaret = 1;

bool isDigitCode(int code) {
    return code >= KeyDigitZero && code <= KeyDigitNine;
}

// Characters as the box's Backspace sees them: a surrogate pair is one character, a lone
// surrogate is one too. Counting units instead would let Backspace empty a box that holds a
// single character outside the Basic Multilingual Plane.
bool isOneCharacter(std::u16string_view text) {
    constexpr char16_t SurrogateMask = 0xFC00;
    return text.size() == 1 || (text.size() == 2 && (text[0] & SurrogateMask) == 0xD800 &&
                                (text[1] & SurrogateMask) == 0xDC00);
}

// A value beyond the 32-bit range is not zero here; the digit goes in and the conversion
// reports the value when it runs.
bool holdsZero(std::u16string_view text) {
    const auto value = toNumberStrict(numberText(text));
    if (!value)
        return false;
    const auto rounded = roundToInt32(*value);
    return rounded && *rounded == 0;
}

KeyDecision replaceWith(char16_t character, int caret) {
    return {KeyDecision::Effect::Replace, std::u16string(1, character), caret};
}

} // namespace

std::optional<EntryBox> timeEntryBox(int index) {
    if (index < 0 || index > 2)
        return std::nullopt;
    return static_cast<EntryBox>(index + static_cast<int>(EntryBox::Hours));
}

KeyDecision decideKey(EntryBox box, std::u16string_view text, int code) {
    using enum KeyDecision::Effect;
    if (code == KeyBackspace)
        return isOneCharacter(text) ? replaceWith(u'0', BackspaceCaret) : KeyDecision{PassOn};
    if (code == KeyEnter) {
        if (box == EntryBox::Frame)
            return {Convert};
        return {box == EntryBox::SecFrames ? NormalizeAndConvert : NextBox};
    }

    const bool isTimeBox = box != EntryBox::Frame;
    const bool isPoint = code == KeyPoint && isTimeBox;
    if (!isDigitCode(code) && !isPoint)
        return {Swallow};

    const bool hasPoint = text.find(u'.') != std::u16string_view::npos;
    if (isPoint)
        return {box == EntryBox::SecFrames && !hasPoint ? PassOn : Swallow};

    // With a point in a time box the user is typing decimals: they go in where the caret
    // stands, even into "00.00".
    if (isTimeBox && hasPoint)
        return {PassOn};
    if (holdsZero(text))
        return replaceWith(static_cast<char16_t>(code), DigitCaret);
    return {PassOn};
}

} // namespace vorlane
