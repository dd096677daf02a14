#pragma once

// Win32FormMain is the converter window on Windows, in plain Win32: native controls made from
// the design's table (window/layout.h), the window operations of window/operations.h carried
// out on them, and their messages forwarded to the toolkit-free handlers of FormMain
// (window/formmain.h), which decide everything. One window procedure hands each message to one
// small member function; the boxes are subclassed so that their characters pass the key rules.

#include "win32/controls.h"
#include "window/formmain.h"
#include "window/layout.h"

#include <windows.h>

#include <array>
#include <optional>

namespace vorlane {

class Win32FormMain : private WindowOperations {
public:
    /// Creates the window, hidden, and runs Form_Load. When Windows cannot make the window or
    /// one of its controls, handle() is null and nothing else has happened.
    explicit Win32FormMain(HINSTANCE instance);
    ~Win32FormMain() override;
    Win32FormMain(const Win32FormMain&) = delete;
    Win32FormMain& operator=(const Win32FormMain&) = delete;

    HWND handle() const { return m_window; }
    /// Shows the window with the focus in the frame box.
    void show(int showCommand);

    /// The control IDs: 100 + the control's place in the table. IDs 1 and 2 are IDOK and
    /// IDCANCEL to a dialog-style message loop.
    static constexpr int FirstControlId = 100;

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    static LRESULT CALLBACK boxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onBoxMessage(EntryBox box, UINT message, WPARAM wParam, LPARAM lParam);

    /// False when a control could not be made.
    bool createControls();
    void onCommand(int id, int notification);
    void onActivate(bool active);
    void showBoxMenu(EntryBox box, LPARAM at);
    HWND control(std::size_t index) const { return m_controls[index]; }
    HWND boxWindow(EntryBox box) const;

    // WindowOperations
    std::u16string text(EntryBox box) const override;
    void setText(EntryBox box, std::u16string_view text) override;
    void setSelection(EntryBox box, int start, int length) override;
    BoxEditState editState(EntryBox box) const override;
    void edit(EntryBox box, BoxMenuItem item) override;
    void focusBox(EntryBox box) override;
    bool dropFrame() const override;
    void setDropFrame(bool dropFrame) override;
    void setModeTabStop(std::int16_t index) override;
    void showWarning(std::u16string_view text) override;
    int dotsPerInch() const override;
    std::optional<PixelPoint> position() const override;
    void setPosition(int left, int top) override;
    std::vector<WorkArea> workAreas() const override;
    void hideWindow() override;
    std::optional<std::u16string> clipboardText() override;
    void setClipboardText(std::u16string_view text) override;

    HWND m_window = nullptr;
    ControlWindows m_controls{};
    ControlFonts m_fonts{};
    /// The box that had the focus when another application became active.
    HWND m_lastFocus = nullptr;
    FormMain m_form;
};

} // namespace vorlane
