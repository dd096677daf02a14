#pragma once

// The decisions of the entry boxes' key rules, as pure functions of the box, its whole text and
// the character code of the typed key. The window turns a key event into a code, asks here, and
// carries the decision out; nothing here knows of Qt.

#include "window/operations.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorlane {

/// Character codes that the rules name.
inline constexpr int KeyBackspace = 8;
inline constexpr int KeyEnter = 13;
inline constexpr int KeyPoint = 46;
inline constexpr int KeyDigitZero = 48;
inline constexpr int KeyDigitNine = 57;

struct KeyDecision {
    enum class Effect {
        PassOn,  ///< the box processes the key as usual
        Swallow, ///< the key is dropped
        Replace, ///< the key is dropped; the text becomes `text` and the caret goes to `caret`
        Convert, ///< Enter in the frame box: run the frame-to-timecode command, then pass on
        NextBox, ///< Enter in hours or minutes: move the focus to the next time box, pass on
        NormalizeAndConvert, ///< Enter in seconds.frames: normalise, convert back, pass on
    };
    Effect effect = Effect::PassOn;
    std::u16string text{};
    int caret = 0;

    friend bool operator==(const KeyDecision&, const KeyDecision&) = default;
};

/// Keys without a character that can open a box's context menu.
enum class MenuKey { F10, Menu };

/// True when the key, with Shift and the other modifiers as given, opens a box's context menu:
/// the menu key, and F10 with Shift alone. A menu opened from the keyboard appears at the caret,
/// where the user's eyes are; one opened by a right-click at the pointer.
constexpr bool opensBoxMenu(MenuKey key, bool shift, bool otherModifiers) {
    return !otherModifiers && (key == MenuKey::Menu || shift);
}

/// The time box at `index` of the array Text時刻 (0 hours, 1 minutes, 2 seconds.frames);
/// nothing for any other index.
std::optional<EntryBox> timeEntryBox(int index);

/// The decision for a key with character `code` typed into `box` while it holds `text` (UTF-16,
/// the box's whole text; positions count UTF-16 units, but a surrogate pair is one character
/// for the Backspace rule, as it is for the box's own Backspace). Any code, any text: never
/// fails.
KeyDecision decideKey(EntryBox box, std::u16string_view text, int code);

} // namespace vorlane
