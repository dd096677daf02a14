#pragma once

// What the window logic needs of a window: the operations through which the handlers of
// FormMain (window/formmain.h) read and change the window. Each toolkit's window implements
// them and does nothing else of its own, so the handlers run unchanged on every toolkit; the
// tests run them against a window held in memory.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlane {

/// The four entry boxes: the frame box Textフレーム番号 and the time boxes Text時刻(0) to (2).
enum class EntryBox { Frame, Hours, Minutes, SecFrames };

/// A rectangle on the desktop, in the window's pixels from the primary screen's top-left corner.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct PixelPoint {
    int left = 0;
    int top = 0;
};

/// A screen's work area (without panels and task bars).
struct WorkArea {
    PixelRect area;
    bool primary = false;
};

/// What a box's context menu depends on besides its text.
struct BoxEditState {
    int selectionStart = 0;
    int selectionLength = 0;
    bool canUndo = false;
    /// Nothing for a box that keeps no redo (Windows' edit control): its menu has no Redo.
    std::optional<bool> canRedo;
};

/// The items of a box's context menu (FormMain::BoxMenu); Separator stands between groups.
enum class BoxMenuItem {
    CopyTimecode,
    PasteTimecode,
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    Delete,
    SelectAll,
    Separator
};

class WindowOperations {
public:
    virtual ~WindowOperations() = default;

    /// The whole text of a box, in UTF-16 code units.
    virtual std::u16string text(EntryBox box) const = 0;
    /// Replaces the whole text of a box, leaving nothing selected.
    virtual void setText(EntryBox box, std::u16string_view text) = 0;
    /// Selects `length` units of a box's text from `start`; with length 0 the caret stands at
    /// `start`. A start beyond the end of the text puts the caret at the end.
    virtual void setSelection(EntryBox box, int start, int length) = 0;
    /// A box's selection and what it can undo and redo.
    virtual BoxEditState editState(EntryBox box) const = 0;
    /// Has the box carry out one of its own edit items, Undo to Delete, as its toolkit does.
    virtual void edit(EntryBox box, BoxMenuItem item) = 0;
    /// Moves the input focus to a box. When the focus arrives there from another control, the
    /// window raises the box's GotFocus handler, as for a user's move.
    virtual void focusBox(EntryBox box) = 0;

    /// True while the drop-frame button OptionFps(1) is selected.
    virtual bool dropFrame() const = 0;
    /// Selects OptionFps(1) for drop-frame counting, else OptionFps(0); the partner is cleared.
    /// The window may raise OptionFps_Click for it as for a click.
    virtual void setDropFrame(bool dropFrame) = 0;
    /// Makes OptionFps(index) the mode buttons' one Tab stop; the arrow keys move from there.
    virtual void setModeTabStop(std::int16_t index) = 0;

    /// Shows a modal warning (exclamation icon, one OK button, caption "Vorlane") and returns
    /// when the user has closed it.
    virtual void showWarning(std::u16string_view text) = 0;

    /// The dots per inch at which the window's pixels turn into the twips that are stored.
    virtual int dotsPerInch() const = 0;
    /// The window's left and top edge; nothing on a platform that cannot say where its windows
    /// stand (Wayland).
    virtual std::optional<PixelPoint> position() const = 0;
    /// Puts the window's left and top edge there.
    virtual void setPosition(int left, int top) = 0;
    /// The screens' work areas; empty where the platform does not tell.
    virtual std::vector<WorkArea> workAreas() const = 0;
    /// Takes the window off the screen at once.
    virtual void hideWindow() = 0;

    /// The clipboard's text; nothing when it holds no text or its owner does not answer in time.
    virtual std::optional<std::u16string> clipboardText() = 0;
    /// Puts the text on the clipboard.
    virtual void setClipboardText(std::u16string_view text) = 0;
};

} // namespace vorlane
