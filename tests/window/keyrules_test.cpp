#include "window/keyrules.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <ostream>
#include <string>
#include <vector>

namespace vorlane {

void PrintTo(const KeyDecision& decision, std::ostream* out) {
    static constexpr std::array names{"PassOn",  "Swallow", "Replace",
                                      "Convert", "NextBox", "NormalizeAndConvert"};
    *out << names.at(static_cast<std::size_t>(decision.effect));
    if (decision.effect == KeyDecision::Effect::Replace) {
        *out << " \"";
        for (char16_t unit : decision.text)
            *out << static_cast<char>(unit);
        *out << "\" caret " << decision.caret;
    }
}

namespace {

using Effect = KeyDecision::Effect;

constexpr std::array AllBoxes{EntryBox::Frame, EntryBox::Hours, EntryBox::Minutes,
                              EntryBox::SecFrames};

KeyDecision effectOnly(Effect effect) {
    return KeyDecision{effect, {}, 0};
}
KeyDecision replaced(std::u16string text, int caret) {
    return KeyDecision{Effect::Replace, std::move(text), caret};
}

const KeyDecision PassOn = effectOnly(Effect::PassOn);
const KeyDecision Swallow = effectOnly(Effect::Swallow);

constexpr int key(char character) {
    return static_cast<unsigned char>(character);
}

struct Row {
    const char* name;
    EntryBox box;
    std::u16string text;
    int code;
    KeyDecision expected;
};

void checkRows(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(decideKey(row.box, row.text, row.code), row.expected);
    }
}

TEST(KeyRules, BackspaceTurnsTheLastCharacterIntoZero) {
    for (EntryBox box : AllBoxes) {
        SCOPED_TRACE(static_cast<int>(box));
        checkRows({
            {"one digit", box, u"5", KeyBackspace, replaced(u"0", 2)},
            {"already zero", box, u"0", KeyBackspace, replaced(u"0", 2)},
            {"a point", box, u".", KeyBackspace, replaced(u"0", 2)},
            {"one non-ASCII character", box, u"時", KeyBackspace, replaced(u"0", 2)},
            {"one surrogate pair", box, u"\U0001F600", KeyBackspace, replaced(u"0", 2)},
            {"a lone surrogate", box, std::u16string(1, char16_t{0xD800}), KeyBackspace,
             replaced(u"0", 2)},
            {"empty", box, u"", KeyBackspace, PassOn},
            {"two digits", box, u"12", KeyBackspace, PassOn},
            {"four digits", box, u"1800", KeyBackspace, PassOn},
            {"digit and surrogate pair", box, u"1\U0001F600", KeyBackspace, PassOn},
            {"two lone high surrogates", box, std::u16string(2, char16_t{0xD800}), KeyBackspace,
             PassOn},
            {"low before high surrogate", box, std::u16string{char16_t{0xDC00}, char16_t{0xD800}},
             KeyBackspace, PassOn},
        });
    }
}

TEST(KeyRules, EnterRunsTheBoxCommandWhateverTheText) {
    for (const std::u16string text : {u"", u"0", u"12.5", u"abc"}) {
        checkRows({
            {"frame", EntryBox::Frame, text, KeyEnter, effectOnly(Effect::Convert)},
            {"hours", EntryBox::Hours, text, KeyEnter, effectOnly(Effect::NextBox)},
            {"minutes", EntryBox::Minutes, text, KeyEnter, effectOnly(Effect::NextBox)},
            {"seconds.frames", EntryBox::SecFrames, text, KeyEnter,
             effectOnly(Effect::NormalizeAndConvert)},
        });
    }
}

TEST(KeyRules, PointIsAdmittedOnlyOnceAndOnlyInSecondsFrames) {
    checkRows({
        {"frame box", EntryBox::Frame, u"12", KeyPoint, Swallow},
        {"frame box, zero", EntryBox::Frame, u"0", KeyPoint, Swallow},
        {"hours", EntryBox::Hours, u"12", KeyPoint, Swallow},
        {"hours, empty", EntryBox::Hours, u"", KeyPoint, Swallow},
        {"minutes", EntryBox::Minutes, u"12", KeyPoint, Swallow},
        {"seconds.frames", EntryBox::SecFrames, u"12", KeyPoint, PassOn},
        {"seconds.frames, empty", EntryBox::SecFrames, u"", KeyPoint, PassOn},
        {"seconds.frames, zero", EntryBox::SecFrames, u"0", KeyPoint, PassOn},
        {"second point", EntryBox::SecFrames, u"12.", KeyPoint, Swallow},
        {"point in the middle", EntryBox::SecFrames, u"12.05", KeyPoint, Swallow},
        {"point at the start", EntryBox::SecFrames, u".5", KeyPoint, Swallow},
        {"full-width point is not a point", EntryBox::SecFrames, u"12\uFF0E", KeyPoint, PassOn},
    });
}

TEST(KeyRules, ZeroRuleInTheFrameBox) {
    constexpr int seven = key('7');
    const KeyDecision sevenAlone = replaced(u"7", 1);
    checkRows({
        {"0", EntryBox::Frame, u"0", seven, sevenAlone},
        {"000", EntryBox::Frame, u"000", seven, sevenAlone},
        {"blanks around", EntryBox::Frame, u" 0 ", seven, sevenAlone},
        {"0.4 rounds to 0", EntryBox::Frame, u"0.4", seven, sevenAlone},
        {"-0", EntryBox::Frame, u"-0", seven, sevenAlone},
        {"+0", EntryBox::Frame, u"+0", seven, sevenAlone},
        {"underflow to 0", EntryBox::Frame, u"1e-400", seven, sevenAlone},
        {"1.5 rounds to 2", EntryBox::Frame, u"1.5", seven, PassOn},
        {"a nonzero number", EntryBox::Frame, u"1", seven, PassOn},
        {"empty is not numeric", EntryBox::Frame, u"", seven, PassOn},
        {"a point alone", EntryBox::Frame, u".", seven, PassOn},
        {"trailing garbage", EntryBox::Frame, u"0x", seven, PassOn},
        {"full-width zero", EntryBox::Frame, u"\uFF10", seven, PassOn},
        {"ideographic blank", EntryBox::Frame, u"0\u3000", seven, PassOn},
        {"non-ASCII unit whose low byte is a digit", EntryBox::Frame, u"\u0130", seven, PassOn},
        {"non-ASCII unit whose low byte is a blank", EntryBox::Frame, u"\u01200", seven, PassOn},
        {"one above the 32-bit range", EntryBox::Frame, u"2147483648", seven, PassOn},
        {"overflows a double", EntryBox::Frame, u"1e400", seven, PassOn},
    });
}

TEST(KeyRules, ZeroRuleInTheTimeBoxesStopsAtAPoint) {
    constexpr int five = key('5');
    const KeyDecision fiveAlone = replaced(u"5", 1);
    checkRows({
        {"hours 0", EntryBox::Hours, u"0", five, fiveAlone},
        {"minutes 00", EntryBox::Minutes, u"00", five, fiveAlone},
        {"seconds.frames 0", EntryBox::SecFrames, u"0", five, fiveAlone},
        {"hours -0", EntryBox::Hours, u"-0", five, fiveAlone},
        {"hours 0e3", EntryBox::Hours, u"0e3", five, fiveAlone},
        {"seconds.frames 00.00", EntryBox::SecFrames, u"00.00", five, PassOn},
        {"hours 0.4 has a point", EntryBox::Hours, u"0.4", five, PassOn},
        {"minutes 0. has a point", EntryBox::Minutes, u"0.", five, PassOn},
        {"pasted point alone", EntryBox::Hours, u".", five, PassOn},
        {"full-width point does not count", EntryBox::Minutes, u"0\uFF0E", five, PassOn},
        {"minutes 12", EntryBox::Minutes, u"12", five, PassOn},
        {"hours empty", EntryBox::Hours, u"", five, PassOn},
        {"minutes beyond 32 bits", EntryBox::Minutes, u"2147483648", five, PassOn},
        {"hours overflows a double", EntryBox::Hours, u"1e400", five, PassOn},
    });
}

TEST(KeyRules, ZeroRuleReplacesWithTheTypedDigit) {
    for (EntryBox box : AllBoxes) {
        for (int code = KeyDigitZero; code <= KeyDigitNine; ++code) {
            SCOPED_TRACE(code);
            EXPECT_EQ(decideKey(box, u"0", code),
                      replaced(std::u16string(1, static_cast<char16_t>(code)), 1));
        }
    }
}

TEST(KeyRules, EveryOtherCodeIsSwallowed) {
    constexpr int probes[] = {INT_MIN, -65536, INT_MAX, 65536, 0xFFFF + 8, 256 + 8, 256 + 13};
    auto isNamed = [](EntryBox box, int code) {
        return code == KeyBackspace || code == KeyEnter ||
               (code >= KeyDigitZero && code <= KeyDigitNine) ||
               (code == KeyPoint && box != EntryBox::Frame);
    };
    for (EntryBox box : AllBoxes) {
        // "0" is the text on which a digit would be replaced, so a code mistaken for a digit
        // shows too.
        for (const std::u16string text : {u"0", u"", u"12.5"}) {
            for (int code = -300; code <= 0x10000; ++code) {
                if (!isNamed(box, code) && decideKey(box, text, code) != Swallow)
                    ADD_FAILURE() << "box " << static_cast<int>(box) << " code " << code;
            }
            for (int code : probes)
                EXPECT_EQ(decideKey(box, text, code), Swallow) << code;
        }
    }
}

// A small model of the box, typing at the end of its text, to follow the rules over a run of
// keys the way a user meets them.
std::u16string typeAtEnd(EntryBox box, std::u16string text, std::u16string_view keys) {
    for (char16_t key : keys) {
        const KeyDecision decision = decideKey(box, text, key);
        if (decision.effect == Effect::Replace)
            text = decision.text;
        else if (decision.effect != Effect::PassOn)
            continue;
        else if (key != KeyBackspace)
            text.push_back(key);
        else if (!text.empty())
            text.pop_back();
    }
    return text;
}

TEST(KeyRules, TypingRuns) {
    struct TypingRow {
        const char* name;
        EntryBox box;
        std::u16string start;
        std::u16string keys;
        std::u16string result;
    };
    const TypingRow rows[] = {
        {"1800 over 0", EntryBox::Frame, u"0", u"1800", u"1800"},
        {"zeros stay one zero", EntryBox::Frame, u"0", u"0007", u"7"},
        {"letters and signs swallowed", EntryBox::Frame, u"12", u"a -,+\x1b\x16", u"12"},
        {"backspaces stop at 0", EntryBox::Frame, u"123", u"\b\b\b\b", u"0"},
        {"backspace then digit", EntryBox::Hours, u"5", u"\b3", u"3"},
        {"past the 32-bit range", EntryBox::Frame, u"0", u"999999999999", u"999999999999"},
        {"seconds.frames decimals", EntryBox::SecFrames, u"0", u"12.0.5", u"12.05"},
        {"00.00 takes digits", EntryBox::SecFrames, u"00.00", u"5", u"00.005"},
        {"minutes take no point", EntryBox::Minutes, u"0", u"3.5", u"35"},
    };
    for (const TypingRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(typeAtEnd(row.box, row.start, row.keys), row.result);
    }
}

TEST(KeyRules, TimeEntryBoxMapsTheArrayIndex) {
    EXPECT_EQ(timeEntryBox(0), EntryBox::Hours);
    EXPECT_EQ(timeEntryBox(1), EntryBox::Minutes);
    EXPECT_EQ(timeEntryBox(2), EntryBox::SecFrames);
    for (int index : {-1, 3, INT_MIN, INT_MAX})
        EXPECT_FALSE(timeEntryBox(index).has_value()) << index;
}

} // namespace
} // namespace vorlane
