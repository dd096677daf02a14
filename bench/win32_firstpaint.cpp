// Linked into a Windows start-up probe only: the Win32 counterpart of firstpaint.cpp. Before
// WinMain runs, a static initializer hooks the creation of the thread's top-level windows and
// puts a window procedure of its own in front of each. After the first WM_PAINT of a visible one
// has been handled, it has the rest of that window painted, children included, hands the
// pixels to the screen, prints the time ("first-paint-done <ns>") and closes the window as a
// user would, which ends the program. The program's own code does not change, so until then
// the probe does and shows exactly what the program does.
//
// The time is QueryPerformanceCounter's, in nanoseconds. Wine 8 counts it in 100 ns units of
// the host's CLOCK_MONOTONIC_RAW (frequency 10 MHz), which is what lets startup_bench --wine
// compare it with the moment it started Wine on the Linux side.

#include <windows.h>

#include <cstdio>

namespace {

constexpr wchar_t OriginalProcedure[] = L"vorlane.firstpaint.procedure";
bool reported = false;
HHOOK creationHook = nullptr;

long long nanosecondsNow() {
    LARGE_INTEGER counter{};
    LARGE_INTEGER frequency{};
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    // In two steps, so that the product never overflows.
    const long long seconds = counter.QuadPart / frequency.QuadPart;
    const long long rest = counter.QuadPart % frequency.QuadPart;
    return seconds * 1000000000LL + rest * 1000000000LL / frequency.QuadPart;
}

void report() {
    char line[64];
    const int length =
        std::snprintf(line, sizeof line, "first-paint-done %lld\n", nanosecondsNow());
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line, static_cast<DWORD>(length), &written,
                nullptr);
}

LRESULT CALLBACK probeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto original = reinterpret_cast<WNDPROC>(::GetPropW(window, OriginalProcedure));
    if (message == WM_NCDESTROY)
        ::RemovePropW(window, OriginalProcedure);
    const LRESULT result = ::CallWindowProcW(original, window, message, wParam, lParam);
    if (message == WM_PAINT && !reported && ::IsWindowVisible(window)) {
        reported = true;
        // The children and whatever else of the window still waits for its paint, now rather
        // than when the message loop gets to it.
        ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        ::GdiFlush();
        // Wine copies its windows' pixels to the X server whenever a thread waits for
        // messages; a wait that returns at once does that.
        ::MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, 0);
        report();
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    }
    return result;
}

LRESULT CALLBACK onCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const auto* creation = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
        const auto window = reinterpret_cast<HWND>(wParam);
        if ((creation->lpcs->style & WS_CHILD) == 0) {
            const LONG_PTR original = ::SetWindowLongPtrW(
                window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&probeProcedure));
            ::SetPropW(window, OriginalProcedure, reinterpret_cast<HANDLE>(original));
        }
    }
    return ::CallNextHookEx(creationHook, code, wParam, lParam);
}

[[maybe_unused]] const bool installed = [] {
    creationHook = ::SetWindowsHookExW(WH_CBT, &onCreation, nullptr, ::GetCurrentThreadId());
    return creationHook != nullptr;
}();

} // namespace
