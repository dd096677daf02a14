#pragma once

// The clipboard's text for the window's pastes, the box menu's 「タイムコードを貼り付け」 as well
// as the boxes' own paste (貼り付け, Shift+Insert, WM_PASTE). A program that offers its text with
// delayed rendering and then stops answering would hold GetClipboardData for as long as it
// hangs: the clipboard is read on a thread of its own, and the paste gives up after a bounded
// wait, during which the window keeps painting and keys and clicks are dropped, as on Linux.

#include <windows.h>

#include <optional>
#include <string>

namespace vorlane {

/// How long a paste waits for the clipboard's owner, in milliseconds: as long as the X11 build.
inline constexpr DWORD PasteWaitMilliseconds = 5000;

/// The clipboard's text up to its first zero, or nullopt when it holds none, cannot be opened,
/// or its owner has not handed the text over within `wait` milliseconds. The clipboard is
/// closed again by the time this returns, answer or not. Meanwhile the calling thread's windows
/// paint and answer messages sent to them; keyboard and mouse input to them is dropped.
std::optional<std::u16string> clipboardText(DWORD wait = PasteWaitMilliseconds);

/// What a single-line edit control pastes: the clipboard's text up to its first line break, put
/// in place of the selection, which undo takes back. Nothing happens when there is no text.
void pasteInto(HWND box);

} // namespace vorlane
