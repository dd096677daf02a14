#pragma once

#include <QString>
#include <Qt>

#include <optional>

namespace vorlane {

/// The character code that a key press gives the key rules, as a keyboard produces it:
/// Backspace KeyBackspace (8), Return and keypad Enter KeyEnter (13), Escape 27, Ctrl with a
/// letter that letter's control code (Ctrl+V is 22), otherwise the code of the first character
/// of the event's text. Nothing when the key press is not a character event (arrows, Home, End,
/// Delete, Tab, function keys and any other key without text): such keys reach the box
/// untouched.
std::optional<int> characterCode(int key, Qt::KeyboardModifiers modifiers, const QString& text);

} // namespace vorlane
