// Reads a running vorlane.exe back for window_test.sh, and acts on it as Windows and other
// programs do. `probe expect LINE...` waits up to 20 s until every LINE is among the state lines,
// else prints them and fails: `box ID "TEXT" START-END`, `option ID CHECKED TABSTOP`, `button ID
// STYLE`, `focus ID` (0 outside the window's controls), `warning "TEXT"` while a message box
// captioned "Vorlane" is open, `menu` while a popup menu is, and `clipboard "TEXT"` only when a
// LINE asks for it: holding the clipboard open could make the window's own copy fail. `rect ID`
// prints the screen rectangle of control ID, of the window for 0, of the message box's OK button
// for 1. `accessible` fails unless every control's MSAA name and description, read as a screen
// reader does, are its row's of the shared table. `hold` takes the clipboard and never renders
// it, as a hung program; `lock FILE MS` holds FILE unshared for MS ms, as some editors do; each
// prints "held" once it holds. `live` fails unless the window repaints within 1 s, `free` unless
// the clipboard opens. `endsession` ends the session as Windows does: asks, tells, then ends
// the process once the window has answered.

#include "window/accessibility.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
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
    for (const int id : {100, 102, 103, 104}) { // the selection's ends in its low and high words
        const auto selection = static_cast<DWORD>(::SendMessageW(item(id), EM_GETSEL, 0, 0));
        add(L"box %d \"%ls\" %d-%d", id, text(item(id)).c_str(), LOWORD(selection),
            HIWORD(selection));
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

// Every control's accessible name and description as MSAA reports them, against its row of the
// shared table: "" for none, of a control reported invisible.
bool accessibleTextsMatch(HWND main) {
    ::CoInitialize(nullptr);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    bool match = true;
    const auto mismatch = [&match](int id, const wchar_t* what, const std::wstring& found) {
        std::wprintf(L"control %d %ls: \"%ls\"\n", id, what, found.c_str());
        match = false;
    };
    for (std::size_t i = 0; i < vorlane::Controls.size(); ++i) {
        const int id = 100 + static_cast<int>(i);
        IAccessible* object = nullptr;
        if (FAILED(::AccessibleObjectFromWindow(
                ::GetDlgItem(main, id), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                reinterpret_cast<void**>(&object)))) {
            mismatch(id, L"object", L"none");
            continue;
        }
        for (const bool description : {false, true}) {
            BSTR text = nullptr;
            const HRESULT result = description ? object->get_accDescription(self, &text)
                                               : object->get_accName(self, &text);
            std::wstring found = FAILED(result) ? L"(failed)" : text ? text : L"";
            ::SysFreeString(text);
            VARIANT state{};
            // A control with nothing to say must also be passed over.
            if (found.empty() && (FAILED(object->get_accState(self, &state)) || state.vt != VT_I4 ||
                                  !(state.lVal & STATE_SYSTEM_INVISIBLE)))
                found = L"(shown)";
            const auto& row = vorlane::AccessibleTexts[i];
            const std::u16string_view wanted = description ? row.description : row.name;
            if (found != std::wstring(wanted.begin(), wanted.end()))
                mismatch(id, description ? L"description" : L"name", found);
        }
        object->Release();
    }
    return match;
}

int fail(const wchar_t* why) {
    std::wprintf(L"%ls\n", why);
    return 1;
}

// Tells the waiting script at once that the thing is held, then holds it for MS milliseconds.
int held(DWORD milliseconds) {
    std::wprintf(L"held\n");
    std::fflush(stdout);
    ::Sleep(milliseconds);
    return 0;
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
    if (command == L"hold") { // text rendered on request, a request never answered
        const HWND owner =
            ::CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        if (!owner || !::OpenClipboard(owner))
            return 1;
        ::EmptyClipboard();
        ::SetClipboardData(CF_UNICODETEXT, nullptr);
        ::CloseClipboard();
        return held(INFINITE);
    }
    if (command == L"lock" && argc == 4) {
        const HANDLE file = ::CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        return file == INVALID_HANDLE_VALUE ? 1 : held(static_cast<DWORD>(_wtoi(argv[3])));
    }
    if (command == L"endsession" && main) {
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
    if (command == L"live" && main) { // the window and each control paint what was invalidated
        ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        const auto painted = [](HWND window, LPARAM) -> BOOL {
            return !::GetUpdateRect(window, nullptr, FALSE);
        };
        for (int round = 0; round < 20; ++round, ::Sleep(50))
            if (painted(main, 0) && ::EnumChildWindows(main, painted, 0))
                return 0;
        return fail(L"the window has not repainted within 1 s");
    }
    // Wine's OpenClipboard first gives a hung owner 5 s to answer; it then opens unless another
    // thread has the clipboard open.
    if (command == L"free")
        return ::OpenClipboard(nullptr) && ::CloseClipboard() ? 0
                                                              : fail(L"the clipboard is held open");
    if (command == L"accessible" && main)
        return accessibleTextsMatch(main) ? 0 : 1;
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
