// Invariants of the key-rule decisions. Input layout: byte 0 picks the box, byte 1 the caret,
// bytes 2..5 the character code (any 32-bit value, little-endian); the rest is the box's text,
// one UTF-16 unit per byte below 0xF0, and a byte from 0xF0 up taking the next two bytes as one
// unit (big-endian), so that surrogates and CJK units are reachable while seeds stay readable.

#include "require.h"
#include "window/keyrules.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using vorlane::EntryBox;
using Effect = vorlane::KeyDecision::Effect;

using vorlane::test::require;

constexpr std::array Boxes{EntryBox::Frame, EntryBox::Hours, EntryBox::Minutes,
                           EntryBox::SecFrames};

bool isDigitCode(int code) {
    return code >= '0' && code <= '9';
}

bool isSurrogate(char16_t unit, char16_t first) {
    return unit >= first && unit < first + 0x400;
}

// A text box's characters as its Backspace sees them: a surrogate pair is one character.
std::vector<std::u16string> characters(std::u16string_view text) {
    std::vector<std::u16string> result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool pair =
            i + 1 < text.size() && isSurrogate(text[i], 0xD800) && isSurrogate(text[i + 1], 0xDC00);
        result.emplace_back(text.substr(i, pair ? 2 : 1));
        i += pair ? 1 : 0;
    }
    return result;
}

// What the box holds after the decision, with the caret at `caret` (in characters) and nothing
// selected: a passed-on character goes in at the caret, a passed-on Backspace deletes the
// character before it, Enter adds nothing.
std::vector<std::u16string> apply(std::vector<std::u16string> box, std::size_t caret, int code,
                                  const vorlane::KeyDecision& decision) {
    if (decision.effect == Effect::Replace)
        return characters(decision.text);
    if (decision.effect != Effect::PassOn)
        return box;
    if (code == vorlane::KeyBackspace) {
        if (caret > 0)
            box.erase(box.begin() + static_cast<std::ptrdiff_t>(caret - 1));
        return box;
    }
    box.insert(box.begin() + static_cast<std::ptrdiff_t>(caret),
               std::u16string(1, static_cast<char16_t>(code)));
    return box;
}

bool isNamedCode(EntryBox box, int code) {
    return code == vorlane::KeyBackspace || code == vorlane::KeyEnter || isDigitCode(code) ||
           (code == vorlane::KeyPoint && box != EntryBox::Frame);
}

bool isCommand(Effect effect) {
    return effect == Effect::Convert || effect == Effect::NextBox ||
           effect == Effect::NormalizeAndConvert;
}

Effect enterEffect(EntryBox box) {
    if (box == EntryBox::Frame)
        return Effect::Convert;
    return box == EntryBox::SecFrames ? Effect::NormalizeAndConvert : Effect::NextBox;
}

// The box's text as plain ASCII with edge blanks removed, or nothing when it holds anything
// else.
std::optional<std::string> asciiCore(std::u16string_view text) {
    std::string ascii;
    for (char16_t unit : text) {
        if (unit >= 0x80)
            return std::nullopt;
        ascii.push_back(static_cast<char>(unit));
    }
    const auto first = ascii.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string{};
    return ascii.substr(first, ascii.find_last_not_of(" \t") - first + 1);
}

// The zero rule against an oracle of its own: a replacement needs an ASCII text whose value
// (read by strtod, which shares no code with the program's reader) rounds to zero, and a plain
// signed run of digits is replaced exactly when all its digits are zero.
void checkZeroRule(EntryBox box, std::u16string_view text, int code,
                   const vorlane::KeyDecision& decision) {
    const bool hasPoint = text.find(u'.') != std::u16string_view::npos;
    const bool replaced = decision.effect == Effect::Replace;
    if (box != EntryBox::Frame && hasPoint)
        require(!replaced, "the zero rule is not tried on a time box holding a point");
    const auto core = asciiCore(text);
    if (replaced) {
        require(core && !core->empty(), "the zero rule needs an ASCII number");
        const double value = std::strtod(core->c_str(), nullptr);
        require(std::fabs(value) <= 0.5, "the zero rule needs a value that rounds to zero");
        require(decision.text.size() == 1 && decision.text[0] == code && decision.caret == 1,
                "the zero rule puts the typed digit alone with the caret after it");
    }
    if (!core || core->empty() || (box != EntryBox::Frame && hasPoint))
        return;
    const std::string_view digits =
        std::string_view(*core).substr((core->front() == '+' || core->front() == '-') ? 1 : 0);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return;
    const bool zero = digits.find_first_not_of('0') == std::string_view::npos;
    require(replaced == zero, "a run of zeros is replaced and any other integer is not");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t HeaderSize = 6;
    if (size < HeaderSize)
        return 0;
    const EntryBox box = Boxes[data[0] % Boxes.size()];
    std::uint32_t rawCode = 0;
    for (std::size_t i = 0; i < 4; ++i)
        rawCode |= static_cast<std::uint32_t>(data[2 + i]) << (8 * i);
    const int code = static_cast<int>(static_cast<std::int32_t>(rawCode));
    std::u16string text;
    for (std::size_t i = HeaderSize; i < size; ++i) {
        if (data[i] < 0xF0 || i + 2 >= size) {
            text.push_back(data[i]);
            continue;
        }
        text.push_back(static_cast<char16_t>(data[i + 1] << 8 | data[i + 2]));
        i += 2;
    }

    const vorlane::KeyDecision decision = vorlane::decideKey(box, text, code);
    const std::vector<std::u16string> before = characters(text);
    const std::size_t caret = data[1] % (before.size() + 1);
    const std::vector<std::u16string> after = apply(before, caret, code, decision);

    require(before.empty() || !after.empty(), "keys never empty a box without a selection");
    if (code == vorlane::KeyBackspace && before.size() == 1)
        require(after.size() == 1 && after[0] == u"0", "Backspace turns one character into 0");

    require(decision.caret >= 0 &&
                static_cast<std::size_t>(decision.caret) <= decision.text.size() + 1,
            "the caret lies within the text or one past it");
    if (decision.effect == Effect::Replace) {
        const bool backspace =
            code == vorlane::KeyBackspace && decision.text == u"0" && decision.caret == 2;
        require(backspace || isDigitCode(code), "only Backspace and digits replace the text");
    } else {
        require(decision.text.empty() && decision.caret == 0, "only a replacement carries text");
    }

    if (!isNamedCode(box, code))
        require(decision.effect == Effect::Swallow, "a code outside the table is swallowed");
    require((code == vorlane::KeyEnter) == isCommand(decision.effect),
            "Enter, and only Enter, runs a command");
    if (code == vorlane::KeyEnter)
        require(decision.effect == enterEffect(box), "Enter runs the command of its box");
    if (code == vorlane::KeyPoint && box == EntryBox::SecFrames) {
        const bool hasPoint = text.find(u'.') != std::u16string::npos;
        require((decision.effect == Effect::PassOn) == !hasPoint, "seconds.frames admit one point");
    }
    if (isDigitCode(code))
        checkZeroRule(box, text, code, decision);
    return 0;
}
