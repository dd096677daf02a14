#include "win32/controls.h"

#include "win32/fonts.h"

#include <imm.h>

namespace vorlane {
namespace {

// The first row with the same font: the controls share one HFONT per distinct font.
std::size_t fontIndex(std::size_t row) {
    std::size_t first = 0;
    while (Controls[first].font != Controls[row].font)
        ++first;
    return first;
}

} // namespace

ControlWindows createWindowControls(HWND window, int firstId) {
    const HINSTANCE instance =
        reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window, GWLP_HINSTANCE));
    ControlWindows controls{};
    for (std::size_t i = 0; i < Controls.size(); ++i) {
        const ControlRow& row = Controls[i];
        const wchar_t* windowClass = L"BUTTON";
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD extendedStyle = 0;
        switch (row.kind) {
        case ControlKind::TextBox:
            windowClass = L"EDIT";
            style |= WS_TABSTOP | ES_AUTOHSCROLL;
            extendedStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::PushButton:
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case ControlKind::Label:
            windowClass = L"STATIC";
            style |= SS_LEFT | SS_NOPREFIX;
            break;
        case ControlKind::GroupFrame:
            style |= BS_GROUPBOX;
            break;
        case ControlKind::OptionButton:
            // One group: its first button starts it; the window logic names its Tab stop.
            if (i == 0 || Controls[i - 1].kind != ControlKind::OptionButton)
                style |= WS_GROUP;
            style |= BS_AUTORADIOBUTTON;
            break;
        }
        controls[i] = ::CreateWindowExW(
            extendedStyle, windowClass, reinterpret_cast<const wchar_t*>(row.caption.data()), style,
            0, 0, 0, 0, window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(firstId) + static_cast<INT_PTR>(i)),
            instance, nullptr);
        if (row.kind == ControlKind::TextBox) {
            // Composed text would bypass the key rules: the boxes take no input method.
            ::ImmAssociateContextEx(controls[i], nullptr, 0);
            ::SendMessageW(controls[i], EM_SETLIMITTEXT, 0, 0); // no limit of ours
        }
    }
    return controls;
}

// Again whenever the window moves to a screen of another DPI.
void layOutWindowControls(HWND window, const ControlWindows& controls, ControlFonts& fonts,
                          int dpi) {
    for (HFONT& font : fonts) {
        ::DeleteObject(font);
        font = nullptr;
    }
    const ControlRow* frame = nullptr;
    for (std::size_t i = 0; i < Controls.size(); ++i) {
        const ControlRow& row = Controls[i];
        HFONT& font = fonts[fontIndex(i)];
        if (!font)
            font = createFont(row.font, dpi);
        TwipsBox place = row.place;
        if (row.kind == ControlKind::GroupFrame)
            frame = &row;
        // The mode buttons are placed by the frame's corner, which comes before them, but are
        // its siblings: a group box does not pass its children's clicks on.
        if (row.kind == ControlKind::OptionButton && frame) {
            place.left += frame->place.left;
            place.top += frame->place.top;
        }
        ::SetWindowPos(controls[i], nullptr, twipsToPixels(place.left, dpi),
                       twipsToPixels(place.top, dpi), twipsToPixels(place.width, dpi),
                       twipsToPixels(place.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    RECT client{0, 0, twipsToPixels(ClientWidthTwips, dpi), twipsToPixels(ClientHeightTwips, dpi)};
    ::AdjustWindowRectExForDpi(&client, WindowStyle, FALSE, 0, static_cast<UINT>(dpi));
    ::SetWindowPos(window, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace vorlane
