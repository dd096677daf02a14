// The floor for vorlane.exe's start-up under Wine: a plain Win32 window with one STATIC control
// showing Japanese text in the window's proportional gothic at 9.75 points (its labels' font),
// made by vorlane.exe's own createFont. It loads what any window showing vorlane's texts must:
// user32, gdi32 and a Japanese font. Built with VORLANE_BARE_WINDOW it is the empty window alone:
// Wine's floor.

#include "win32/fonts.h"

#include <windows.h>

namespace {

#ifdef VORLANE_BARE_WINDOW
constexpr bool WithLabel = false;
#else
constexpr bool WithLabel = true;
#endif

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = L"LabelWindow";
    ::RegisterClassExW(&windowClass);
    const HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"ラベル",
                                          WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 240,
                                          120, nullptr, nullptr, instance, nullptr);
    HFONT font = nullptr;
    if (WithLabel) {
        const HWND label =
            ::CreateWindowExW(0, L"STATIC", L"フレーム番号", WS_CHILD | WS_VISIBLE | SS_LEFT, 16, 8,
                              120, 20, window, nullptr, instance, nullptr);
        font = vorlane::createFont(vorlane::LabelFont, static_cast<int>(::GetDpiForWindow(window)));
        ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    ::ShowWindow(window, showCommand);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    if (font)
        ::DeleteObject(font);
    return 0;
}
