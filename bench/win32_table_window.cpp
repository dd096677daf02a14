// The floor that vorlane.exe's start-up is compared with under Wine: the design's window, its
// controls made from the table of window/layout.h by the code that makes vorlane.exe's
// (win32/controls.h), in a window of the same class, style and resources, with no logic, no
// settings and no clipboard. What vorlane.exe takes beyond it is what its own code costs; the
// rest is what the design costs in Win32.

#include "win32/controls.h"

#include <windows.h>

namespace {

// As vorlane.exe's: clear of IDOK and IDCANCEL, which a dialog-style message loop sends.
constexpr int FirstControlId = 100;

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
        // The labels on the window's own background, as vorlane.exe draws them.
        ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = L"TableWindow";
    if (!::RegisterClassExW(&windowClass))
        return 1;
    const HWND window =
        ::CreateWindowExW(0, windowClass.lpszClassName,
                          reinterpret_cast<const wchar_t*>(vorlane::WindowCaption.data()),
                          vorlane::WindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    const vorlane::ControlWindows controls = vorlane::createWindowControls(window, FirstControlId);
    vorlane::ControlFonts fonts{};
    vorlane::layOutWindowControls(window, controls, fonts,
                                  static_cast<int>(::GetDpiForWindow(window)));
    ::ShowWindow(window, showCommand);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!::IsDialogMessageW(window, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    for (HFONT font : fonts)
        ::DeleteObject(font);
    return 0;
}
