#pragma once

// The clipboard's text within a time limit. Qt 6.4's X11 clipboard asks the program that holds
// the clipboard up to three times, 5 s each, with the window frozen all along; a hung program
// froze the window for 15 s at every paste. On X11 the text is therefore read here straight
// through libxcb, with one time limit for the whole read, while the event loop runs on.

#include <QClipboard>
#include <QString>

#include <chrono>
#include <optional>

namespace vorlane {

/// How long a paste waits at most for the program that holds the clipboard.
inline constexpr std::chrono::milliseconds PasteWait{5000};

/// The text of the clipboard, or of X11's primary selection (QClipboard::Selection); nothing
/// when it holds no text, when the program that holds it has not answered within `wait`, or when
/// the application is told to quit meanwhile. On X11 the event loop runs while it waits, so the
/// windows repaint and signals end the program as usual, but keys and mouse clicks are dropped
/// and, after a moment, the cursor shows the wait. Other platforms, and a clipboard that this
/// program holds itself, are read through QClipboard.
std::optional<QString> readClipboard(QClipboard::Mode mode,
                                     std::chrono::milliseconds wait = PasteWait);

} // namespace vorlane
