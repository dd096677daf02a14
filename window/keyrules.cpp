#include "window/keyrules.h"

#include "arithmetic/numbertext.h"
#include "window/boxtext.h"

#include <cstddef>

namespace vorlane {
namespace {

constexpr int BackspaceCaret = 2; // one past the end of "0": the caret lands after it
constexpr int DigitCaret = 1;

bool isDigitCode(int code) {
    return code >= KeyDigitZero && code <= KeyDigitNine;
}

bool isTimeBox(EntryBox box) {
    return box != EntryBox::Frame;
}

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Characters as the box's Backspace sees them: a surrogate pair is one character, a lone
// surrogate is one too. Counting units instead would let Backspace empty a box that holds a
// single character outside the Basic Multilingual Plane.
bool isOneCharacter(std::u16string_view text) {
    if (text.size() == 1)
        return true;
    return text.size() == 2 && isHighSurrogate(text[0]) && isLowSurrogate(text[1]);
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

KeyDecision decide(KeyDecision::Effect effect) {
    return KeyDecision{effect, {}, 0};
}

KeyDecision replaceWith(char16_t character, int caret) {
    return KeyDecision{KeyDecision::Effect::Replace, std::u16string(1, character), caret};
}

KeyDecision enterDecision(EntryBox box) {
    if (box == EntryBox::Frame)
        return decide(KeyDecision::Effect::Convert);
    return decide(box == EntryBox::SecFrames ? KeyDecision::Effect::NormalizeAndConvert
                                             : KeyDecision::Effect::NextBox);
}

} // namespace

std::optional<EntryBox> timeEntryBox(int index) {
    if (index < 0 || index > 2)
        return std::nullopt;
    return static_cast<EntryBox>(index + static_cast<int>(EntryBox::Hours));
}

KeyDecision decideKey(EntryBox box, std::u16string_view text, int code) {
    if (code == KeyBackspace) {
        if (isOneCharacter(text))
            return replaceWith(u'0', BackspaceCaret);
        return decide(KeyDecision::Effect::PassOn);
    }

    const bool isPoint = code == KeyPoint && isTimeBox(box);
    if (code != KeyEnter && !isDigitCode(code) && !isPoint)
        return decide(KeyDecision::Effect::Swallow);

    if (code == KeyEnter)
        return enterDecision(box);

    const bool hasPoint = text.find(u'.') != std::u16string_view::npos;
    if (isPoint) {
        const bool admitted = box == EntryBox::SecFrames && !hasPoint;
        return decide(admitted ? KeyDecision::Effect::PassOn : KeyDecision::Effect::Swallow);
    }

    // With a point in a time box the user is typing decimals: they go in where the caret
    // stands, even into "00.00".
    if (isTimeBox(box) && hasPoint)
        return decide(KeyDecision::Effect::PassOn);
    if (holdsZero(text))
        return replaceWith(static_cast<char16_t>(code), DigitCaret);
    return decide(KeyDecision::Effect::PassOn);
}

} // namespace vorlane
