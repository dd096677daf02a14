#include "win32/win32formmain.h"

#include "win32/accessible.h"
#include "win32/clipboard.h"
#include "window/keyrules.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstring>
#include <string>

namespace vorlane {
namespace {

constexpr wchar_t WindowClass[] = L"Vorlane";
constexpr UINT_PTR BoxSubclass = 1;
constexpr int IconResource = 1;

// The menu's texts: the program's own timecode items, then Windows' own edit menu's.
constexpr std::array<std::u16string_view, 9> MenuTexts{
    CopyTimecodeText, PasteTimecodeText, u"元に戻す(&U)", u"やり直し(&R)",  u"切り取り(&T)",
    u"コピー(&C)",    u"貼り付け(&P)",   u"削除(&D)",     u"すべて選択(&A)"};

const wchar_t* wide(std::u16string_view text) {
    return reinterpret_cast<const wchar_t*>(text.data());
}

// The table's controls of one kind, in order.
template <std::size_t N> std::array<std::size_t, N> indicesOf(ControlKind kind) {
    std::array<std::size_t, N> indices{};
    std::size_t found = 0;
    for (std::size_t i = 0; i < Controls.size() && found < N; ++i) {
        if (Controls[i].kind == kind)
            indices[found++] = i;
    }
    return indices;
}

const auto BoxIndices = indicesOf<4>(ControlKind::TextBox);
const auto OptionIndices = indicesOf<2>(ControlKind::OptionButton);
const auto ButtonIndices = indicesOf<2>(ControlKind::PushButton);

} // namespace

Win32FormMain::Win32FormMain(HINSTANCE instance) : m_form(*this) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IconResource));
    windowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = WindowClass;
    if (!::RegisterClassExW(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return;
    m_window = ::CreateWindowExW(0, WindowClass, wide(WindowCaption), WindowStyle, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                 instance, this);
    // Without every control there is no window to show, nor anything to save at its close.
    if (!m_window || !createControls()) {
        if (m_window)
            ::DestroyWindow(m_window);
        return;
    }
    layOutWindowControls(m_window, m_controls, m_fonts,
                         static_cast<int>(::GetDpiForWindow(m_window)));
    m_form.Form_Load();
}

Win32FormMain::~Win32FormMain() {
    if (m_window)
        ::DestroyWindow(m_window);
    for (HFONT font : m_fonts)
        ::DeleteObject(font);
}

void Win32FormMain::show(int showCommand) {
    ::ShowWindow(m_window, showCommand);
    ::SetFocus(boxWindow(EntryBox::Frame));
}

bool Win32FormMain::createControls() {
    m_controls = createWindowControls(m_window, FirstControlId);
    for (std::size_t i = 0; i < Controls.size(); ++i) {
        if (!m_controls[i] || !announce(m_controls[i], AccessibleTexts[i]))
            return false;
    }
    for (const std::size_t index : BoxIndices) {
        ::SetWindowSubclass(control(index), boxProcedure, BoxSubclass,
                            reinterpret_cast<DWORD_PTR>(this));
    }
    return true;
}

HWND Win32FormMain::boxWindow(EntryBox box) const {
    return control(BoxIndices[static_cast<std::size_t>(box)]);
}

LRESULT CALLBACK Win32FormMain::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<Win32FormMain*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_window = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32FormMain*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return ::DefWindowProcW(window, message, wParam, lParam);
    return self->onMessage(message, wParam, lParam);
}

LRESULT Win32FormMain::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_ACTIVATE:
        onActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_DPICHANGED: {
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(m_window, nullptr, suggested->left, suggested->top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        layOutWindowControls(m_window, m_controls, m_fonts, HIWORD(wParam));
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        // Labels on the window's own background, not white.
        ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    case WM_ENDSESSION:
        // A logout saves too: the process may end as soon as this returns.
        if (wParam)
            m_form.Form_Unload();
        return 0;
    case WM_CLOSE:
        m_form.Form_Unload();
        ::DestroyWindow(m_window);
        return 0;
    case WM_DESTROY:
        m_window = nullptr;
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void Win32FormMain::onCommand(int id, int notification) {
    if (notification != BN_CLICKED)
        return;
    const auto index = static_cast<std::size_t>(id - FirstControlId);
    if (index == ButtonIndices[0]) {
        m_form.CommandF2T_Click();
    } else if (index == ButtonIndices[1]) {
        m_form.CommandT2F_Click();
    } else if (index == OptionIndices[0] || index == OptionIndices[1]) {
        // The button has checked itself by now.
        m_form.OptionFps_Click(index == OptionIndices[1] ? 1 : 0);
    }
}

// Re-activation from another application gives the focus back to the box it left, with its caret
// and selection: Windows would give it to nothing.
void Win32FormMain::onActivate(bool active) {
    if (!active) {
        const HWND focus = ::GetFocus();
        m_lastFocus = focus && ::IsChild(m_window, focus) ? focus : nullptr;
    } else if (m_lastFocus && ::IsWindow(m_lastFocus)) {
        ::SetFocus(m_lastFocus);
    }
}

LRESULT CALLBACK Win32FormMain::boxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR, DWORD_PTR self) {
    auto* form = reinterpret_cast<Win32FormMain*>(self);
    for (std::size_t i = 0; i < BoxIndices.size(); ++i) {
        if (form->control(BoxIndices[i]) == box)
            return form->onBoxMessage(static_cast<EntryBox>(i), message, wParam, lParam);
    }
    return ::DefSubclassProc(box, message, wParam, lParam);
}

LRESULT Win32FormMain::onBoxMessage(EntryBox entryBox, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND box = boxWindow(entryBox);
    switch (message) {
    case WM_GETDLGCODE: {
        // A dialog-style message loop would take Enter for its default button.
        const LRESULT code = ::DefSubclassProc(box, message, wParam, lParam);
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
            return code | DLGC_WANTMESSAGE;
        return code;
    }
    case WM_CHAR:
    case WM_IME_CHAR: {
        // The character code is the UTF-16 unit: Enter 13, Backspace 8, Ctrl+V 22.
        int keyAscii = static_cast<int>(wParam & 0xFFFF);
        m_form.KeyPress(entryBox, keyAscii);
        // Enter has done its work by now; passed on, it would make the one-line box beep.
        if (keyAscii == 0 || keyAscii == KeyEnter)
            return 0;
        return ::DefSubclassProc(box, WM_CHAR, static_cast<WPARAM>(keyAscii), lParam);
    }
    case WM_SETFOCUS: {
        const LRESULT result = ::DefSubclassProc(box, message, wParam, lParam);
        const auto from = reinterpret_cast<HWND>(wParam);
        m_form.FocusIn(entryBox, !from || !::IsChild(m_window, from) ? FocusFrom::Outside
                                 : ::GetKeyState(VK_LBUTTON) < 0     ? FocusFrom::Click
                                                                     : FocusFrom::Control);
        return result;
    }
    case WM_LBUTTONUP: {
        const LRESULT result = ::DefSubclassProc(box, message, wParam, lParam);
        m_form.ClickEnded(entryBox);
        return result;
    }
    case WM_KEYDOWN:
        if (wParam == VK_F10 && opensBoxMenu(MenuKey::F10, ::GetKeyState(VK_SHIFT) < 0,
                                             ::GetKeyState(VK_CONTROL) < 0)) {
            showBoxMenu(entryBox, -1);
            return 0;
        }
        // The box would select its whole text on Ctrl+A before the character arrives; the key
        // rules swallow that character, as on Linux.
        if (wParam == 'A' && ::GetKeyState(VK_CONTROL) < 0)
            return 0;
        // The edit control's own paste would wait for the clipboard's owner without limit.
        if (wParam == VK_INSERT && ::GetKeyState(VK_SHIFT) < 0 && ::GetKeyState(VK_CONTROL) >= 0) {
            pasteInto(box);
            return 0;
        }
        break;
    case WM_PASTE:
        pasteInto(box);
        return 0;
    case WM_CONTEXTMENU:
        showBoxMenu(entryBox, lParam);
        return 0;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(box, boxProcedure, BoxSubclass);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(box, message, wParam, lParam);
}

// The edit control's own menu cannot take items, so the whole menu is drawn here; the menu key
// and Shift+F10 (at = -1) open it at the caret, a right-click at the pointer.
void Win32FormMain::showBoxMenu(EntryBox entryBox, LPARAM at) {
    const HWND box = boxWindow(entryBox);
    const HMENU menu = ::CreatePopupMenu();
    for (const BoxMenuEntry& entry : m_form.BoxMenu(entryBox)) {
        if (entry.item == BoxMenuItem::Separator)
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else
            ::AppendMenuW(menu, MF_STRING | (entry.enabled ? MF_ENABLED : MF_GRAYED),
                          static_cast<UINT>(entry.item) + 1,
                          wide(MenuTexts.at(static_cast<std::size_t>(entry.item))));
    }
    POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (at == -1 && ::GetGUIThreadInfo(::GetCurrentThreadId(), &thread) &&
        thread.hwndCaret == box) {
        const RECT& caret = thread.rcCaret;
        point = {(caret.left + caret.right) / 2, (caret.top + caret.bottom) / 2};
        ::ClientToScreen(box, &point);
    }
    const auto chosen = static_cast<UINT>(::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                           point.x, point.y, 0, m_window, nullptr));
    ::DestroyMenu(menu);
    if (chosen > 0)
        m_form.BoxMenu_Click(entryBox, static_cast<BoxMenuItem>(chosen - 1));
}

std::u16string Win32FormMain::text(EntryBox box) const {
    const HWND window = boxWindow(box);
    std::u16string text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, u'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(
        window, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()))));
    return text;
}

void Win32FormMain::setText(EntryBox box, std::u16string_view text) {
    const std::u16string terminated(text);
    ::SetWindowTextW(boxWindow(box), wide(terminated));
}

void Win32FormMain::setSelection(EntryBox box, int start, int length) {
    // The edit control puts a start beyond the end at the end.
    ::SendMessageW(boxWindow(box), EM_SETSEL, static_cast<WPARAM>(start),
                   static_cast<LPARAM>(start + length));
}

BoxEditState Win32FormMain::editState(EntryBox box) const {
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(boxWindow(box), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end - start),
            ::SendMessageW(boxWindow(box), EM_CANUNDO, 0, 0) != 0, std::nullopt};
}

void Win32FormMain::edit(EntryBox box, BoxMenuItem item) {
    const UINT message = item == BoxMenuItem::Undo    ? EM_UNDO
                         : item == BoxMenuItem::Cut   ? WM_CUT
                         : item == BoxMenuItem::Copy  ? WM_COPY
                         : item == BoxMenuItem::Paste ? WM_PASTE
                                                      : WM_CLEAR;
    ::SendMessageW(boxWindow(box), message, 0, 0);
}

void Win32FormMain::focusBox(EntryBox box) {
    ::SetFocus(boxWindow(box));
}

bool Win32FormMain::dropFrame() const {
    return ::SendMessageW(control(OptionIndices[1]), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32FormMain::setDropFrame(bool dropFrame) {
    // BM_SETCHECK would leave the partner checked.
    ::CheckRadioButton(m_window, FirstControlId + static_cast<int>(OptionIndices[0]),
                       FirstControlId + static_cast<int>(OptionIndices[1]),
                       FirstControlId + static_cast<int>(OptionIndices[dropFrame ? 1 : 0]));
}

void Win32FormMain::setModeTabStop(std::int16_t index) {
    for (std::size_t i = 0; i < OptionIndices.size(); ++i) {
        const HWND option = control(OptionIndices[i]);
        const LONG_PTR style = ::GetWindowLongPtrW(option, GWL_STYLE) & ~LONG_PTR{WS_TABSTOP};
        ::SetWindowLongPtrW(option, GWL_STYLE,
                            static_cast<int>(i) == index ? style | WS_TABSTOP : style);
    }
}

void Win32FormMain::showWarning(std::u16string_view text) {
    const std::u16string terminated(text);
    ::MessageBoxW(m_window, wide(terminated), L"Vorlane", MB_OK | MB_ICONEXCLAMATION);
}

// Positions are stored in twips at the system's DPI, which an old file's numbers always meant.
int Win32FormMain::dotsPerInch() const {
    return static_cast<int>(::GetDpiForSystem());
}

std::optional<PixelPoint> Win32FormMain::position() const {
    RECT rect{};
    if (!::GetWindowRect(m_window, &rect))
        return std::nullopt;
    return PixelPoint{rect.left, rect.top};
}

void Win32FormMain::setPosition(int left, int top) {
    ::SetWindowPos(m_window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::vector<WorkArea> Win32FormMain::workAreas() const {
    std::vector<WorkArea> areas;
    const auto add = [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (::GetMonitorInfoW(monitor, &info)) {
            const RECT& work = info.rcWork;
            reinterpret_cast<std::vector<WorkArea>*>(data)->push_back(
                {{work.left, work.top, work.right - work.left, work.bottom - work.top},
                 (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
        }
        return TRUE;
    };
    ::EnumDisplayMonitors(nullptr, nullptr, add, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

void Win32FormMain::hideWindow() {
    ::ShowWindow(m_window, SW_HIDE);
}

std::optional<std::u16string> Win32FormMain::clipboardText() {
    return vorlane::clipboardText();
}

void Win32FormMain::setClipboardText(std::u16string_view text) {
    HGLOBAL data = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
    if (!data)
        return;
    auto* units = static_cast<char16_t*>(::GlobalLock(data));
    std::memcpy(units, text.data(), text.size() * sizeof(char16_t));
    units[text.size()] = u'\0';
    ::GlobalUnlock(data);
    if (::OpenClipboard(m_window)) {
        ::EmptyClipboard();
        if (::SetClipboardData(CF_UNICODETEXT, data))
            data = nullptr; // the clipboard owns it now
        ::CloseClipboard();
    }
    if (data)
        ::GlobalFree(data);
}

} // namespace vorlane
