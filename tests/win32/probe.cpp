// Reads a running vorlane.exe back for window_test.sh. `probe expect LINE...` waits up to 20 s
// until every LINE is among the state lines, else prints them and fails; `probe rect ID` prints
// the screen rectangle of control ID, of the window for 0, of the message box's OK button for 1.
// State lines: `box ID "TEXT" START-END`, `option ID CHECKED TABSTOP`, `button ID STYLE`,
// `focus ID` (0 outside the window's controls), `warning "TEXT"` while a message box captioned
// "Vorlane" is open, `menu` while a popup menu is, and `clipboard "TEXT"` only when a LINE asks for
// it: holding the clipboard open could make the window's own copy fail. `probe accessible` reads
// every control's accessible name and description through MSAA, as a screen reader does, and
// fails unless each is its row's of the shared table. `probe hold` takes the clipboard with
// text rendered on request, prints "held" and never answers the request, as a hung program does.
// `probe live` fails unless the window repaints within 1 s, and `probe free` unless the clipboard
// can be opened. `probe lock FILE MS` holds FILE open without sharing for MS milliseconds (as
// some editors do), printing "held" once it does. `probe endsession` ends the session for the
// window as Windows does: it asks, tells it, and ends its process once it has answered.

#include "window/accessibility.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::wstring>;

std::wstring text(HWND window) {
    wchar_t text[256] = L"";
    // GetWindowTextW would not ask another process's control.
    ::SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

// A visible top-level window: #32770 is a message box, #32768 a popup menu.
HWND visible(const wchar_t* className, const wchar_t* caption) {
    HWND window = nullptr;
    while ((window = ::FindWindowExW(nullptr, window, className, caption)) &&
           !::IsWindowVisible(window)) {
    }
    return window;
}

Lines state(HWND main, bool withClipboard) {
    Lines lines;
    const auto add = [&lines](const wchar_t* format, auto... values) {
        wchar_t line[600];
        std::swprintf(line, 600, format, values...);
        lines.emplace_back(line);
    };
    const auto item = [main](int id) { return ::GetDlgItem(main, id); };
    const auto style = [&item](int id) { return ::GetWindowLongW(item(id), GWL_STYLE); };
    for (const int id : {100, 102, 103, 104}) {
        DWORD start = 0;
        DWORD end = 0;
        ::SendMessageW(item(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                       reinterpret_cast<LPARAM>(&end));
        add(L"box %d \"%ls\" %lu-%lu", id, text(item(id)).c_str(), start, end);
    }
    for (const int id : {111, 112})
        add(L"option %d %d %d", id, static_cast<int>(::SendMessageW(item(id), BM_GETCHECK, 0, 0)),
            (style(id) & WS_TABSTOP) != 0);
    for (const int id : {101, 105}) // BS_DEFPUSHBUTTON is 1
        add(L"button %d %ld", id, style(id) & BS_TYPEMASK);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(main, nullptr), &info);
    add(L"focus %d", ::IsChild(main, info.hwndFocus) ? ::GetDlgCtrlID(info.hwndFocus) : 0);
    if (const HWND box = visible(L"#32770", L"Vorlane")) // its text is item 0xFFFF
        add(L"warning \"%ls\"", text(::GetDlgItem(box, 0xFFFF)).c_str());
    if (visible(L"#32768", nullptr))
        add(L"menu");
    if (withClipboard && ::OpenClipboard(nullptr)) {
        const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
        const auto* text = data ? static_cast<const wchar_t*>(::GlobalLock(data)) : nullptr;
        add(L"clipboard \"%ls\"", text ? text : L"");
        ::GlobalUnlock(data);
        ::CloseClipboard();
    }
    return lines;
}

// What MSAA reports of one text of control ID: "" for none, of a control reported invisible.
std::wstring accessibleText(HWND main, int id, bool description) {
    IAccessible* object = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(::GetDlgItem(main, id),
                                            static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&object))))
        return L"(no object)";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    const HRESULT result =
        description ? object->get_accDescription(self, &text) : object->get_accName(self, &text);
    std::wstring value = FAILED(result) ? L"(failed)" : text ? text : L"";
    ::SysFreeString(text);
    VARIANT state{};
    // A control with nothing to say must also be passed over.
    if (value.empty() && (FAILED(object->get_accState(self, &state)) || state.vt != VT_I4 ||
                          !(state.lVal & STATE_SYSTEM_INVISIBLE)))
        value = L"(shown)";
    object->Release();
    return value;
}

bool accessibleTextsMatch(HWND main) {
    bool match = true;
    for (std::size_t i = 0; i < vorlane::Controls.size(); ++i) {
        const int id = 100 + static_cast<int>(i);
        const auto& row = vorlane::AccessibleTexts[i];
        for (const bool description : {false, true}) {
            const std::u16string_view wanted = description ? row.description : row.name;
            const std::wstring found = accessibleText(main, id, description);
            if (found != std::wstring(wanted.begin(), wanted.end())) {
                std::wprintf(L"control %d %ls: \"%ls\"\n", id,
                             description ? L"description" : L"name", found.c_str());
                match = false;
            }
        }
    }
    return match;
}

// Whether the window and each of its controls have painted what was invalidated, within 1 s.
bool repaints(HWND main) {
    ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    const auto painted = [](HWND window, LPARAM) -> BOOL {
        return !::GetUpdateRect(window, nullptr, FALSE);
    };
    for (int round = 0; round < 20; ++round, ::Sleep(50)) {
        if (painted(main, 0) && ::EnumChildWindows(main, painted, 0))
            return true;
    }
    std::wprintf(L"the window has not repainted within 1 s\n");
    return false;
}

// Wine's OpenClipboard first gives a hung owner 5 s to answer; it then opens unless another
// thread has the clipboard open.
bool clipboardOpens() {
    if (::OpenClipboard(nullptr))
        return ::CloseClipboard();
    std::wprintf(L"the clipboard is held open\n");
    return false;
}

[[noreturn]] void holdClipboard() {
    const HWND owner =
        ::CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (!owner || !::OpenClipboard(owner))
        std::exit(1);
    ::EmptyClipboard();
    ::SetClipboardData(CF_UNICODETEXT, nullptr);
    ::CloseClipboard();
    std::wprintf(L"held\n");
    std::fflush(stdout);
    for (;;)
        ::Sleep(INFINITE);
}

int lockFile(const wchar_t* path, DWORD milliseconds) {
    const HANDLE file = ::CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    std::wprintf(L"held\n");
    std::fflush(stdout);
    ::Sleep(milliseconds);
    ::CloseHandle(file);
    return 0;
}

int endSession(HWND main) {
    DWORD id = 0;
    ::GetWindowThreadProcessId(main, &id);
    const HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000,
                          &answer);
    const bool told = ::SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF,
                                            SMTO_NORMAL, 5000, &answer) != 0;
    if (process)
        ::TerminateProcess(process, 0);
    return told && process ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_U8TEXT); // UTF-8, whatever the console's code page
    const std::wstring command = argc > 1 ? argv[1] : L"";
    HWND main = ::FindWindowW(L"Vorlane", nullptr);
    if (command == L"rect" && main && argc == 3) {
        const int id = _wtoi(argv[2]);
        const HWND parent = id == IDOK ? visible(L"#32770", L"Vorlane") : main;
        RECT rect{};
        const bool found = ::GetWindowRect(id == 0 ? main : ::GetDlgItem(parent, id), &rect);
        std::wprintf(L"%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
        return found ? 0 : 1;
    }
    if (command == L"hold")
        holdClipboard();
    if (command == L"lock" && argc == 4)
        return lockFile(argv[2], static_cast<DWORD>(_wtoi(argv[3])));
    if (command == L"endsession" && main)
        return endSession(main);
    if (command == L"live" && main)
        return repaints(main) ? 0 : 1;
    if (command == L"free")
        return clipboardOpens() ? 0 : 1;
    if (command == L"accessible" && main) {
        ::CoInitialize(nullptr);
        return accessibleTextsMatch(main) ? 0 : 1;
    }
    if (command != L"expect")
        return 2;
    const Lines wanted(argv + 2, argv + argc);
    const bool clipboard = std::ranges::any_of(
        wanted, [](const std::wstring& line) { return line.starts_with(L"clipboard "); });
    Lines lines;
    const auto found = [&lines](const std::wstring& line) {
        return std::ranges::find(lines, line) != lines.end();
    };
    for (int round = 0; round < 400; ++round, ::Sleep(50)) {
        main = main ? main : ::FindWindowW(L"Vorlane", nullptr);
        lines = main ? state(main, clipboard) : Lines{L"no window"};
        if (std::ranges::all_of(wanted, found))
            return 0;
    }
    for (const std::wstring& line : wanted)
        std::wprintf(L"%ls %ls\n", found(line) ? L"found:  " : L"missing:", line.c_str());
    for (const std::wstring& line : lines)
        std::wprintf(L"  %ls\n", line.c_str());
    return 1;
}
