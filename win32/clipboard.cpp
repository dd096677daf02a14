#include "win32/clipboard.h"

#include <atomic>
#include <new>
#include <utility>

namespace vorlane {
namespace {

constexpr wchar_t ReaderClass[] = L"VorlaneClipboardReader";
// Sent to the reader's window by a paste that gives up.
constexpr UINT GiveUp = WM_APP;

// What a paste and its reader share; whichever of them finishes last frees it.
struct Read {
    HANDLE done = nullptr;
    std::atomic<HWND> reader = nullptr;
    std::atomic<bool> abandoned = false; // by the paste, which gave up
    bool open = false;                   // on the reader's thread: it has the clipboard open
    std::optional<std::u16string> text;
    LONG references = 2;

    // On the reader's thread.
    void close() {
        if (open) {
            open = false;
            ::CloseClipboard();
        }
    }

    void release() {
        if (::InterlockedDecrement(&references) == 0) {
            ::CloseHandle(done);
            delete this;
        }
    }
};

// A thread that waits for another to answer a sent message still handles the messages sent to
// its own windows: the reader's window closes the clipboard while GetClipboardData waits for a
// hung owner, which frees the clipboard for every other program.
LRESULT CALLBACK readerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == GiveUp) {
        if (auto* read = reinterpret_cast<Read*>(::GetWindowLongPtrW(window, GWLP_USERDATA)))
            read->close();
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

std::optional<std::u16string> readOpenClipboard() {
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    const auto* units = data ? static_cast<const char16_t*>(::GlobalLock(data)) : nullptr;
    if (!units)
        return std::nullopt;
    // The data ends at its first zero, or at the end of its memory.
    const std::size_t capacity = ::GlobalSize(data) / sizeof(char16_t);
    std::size_t length = 0;
    while (length < capacity && units[length] != u'\0')
        ++length;
    std::u16string text(units, length);
    ::GlobalUnlock(data);
    return text;
}

// The reader thread opens the clipboard for a window of its own, which a paste that gives up
// can reach. Wine's OpenClipboard itself waits a while for a hung owner (handling sent messages
// meanwhile), so a give-up can come before the clipboard is open, or while GetClipboardData
// waits; both close it. The window is published before the abandonment is read, and the paste
// sets that before it reads the window: one of the two always sees the other.
DWORD WINAPI readClipboard(void* parameter) {
    auto* read = static_cast<Read*>(parameter);
    const HWND reader = ::CreateWindowExW(0, ReaderClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE,
                                          nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (reader) {
        ::SetWindowLongPtrW(reader, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(read));
        read->reader = reader;
        if (!read->abandoned && ::OpenClipboard(reader)) {
            read->open = true;
            std::optional<std::u16string> text;
            if (!read->abandoned)
                text = readOpenClipboard();
            read->close();
            read->text = std::move(text);
        }
        ::DestroyWindow(reader);
    }
    ::SetEvent(read->done);
    read->release();
    return 0;
}

// Until the reader is done or `wait` has passed: paints, handles what other threads send (in
// PeekMessage), and drops keys and clicks. Acting on them before the pasted text arrives would
// mix the two, and held for later they would land in the warning that refuses a paste of
// nothing. Any other message waits in the queue for the paste to end.
bool awaitReader(HANDLE done, DWORD wait) {
    const ULONGLONG end = ::GetTickCount64() + wait;
    for (ULONGLONG now = ::GetTickCount64(); now < end; now = ::GetTickCount64()) {
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &done, FALSE,
                                                        static_cast<DWORD>(end - now), QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0)
            return true;
        if (woken != WAIT_OBJECT_0 + 1)
            return false;
        MSG message;
        for (const auto& [first, last] :
             {std::pair{WM_KEYFIRST, WM_KEYLAST}, std::pair{WM_MOUSEFIRST, WM_MOUSELAST},
              std::pair{WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK}}) {
            while (::PeekMessageW(&message, nullptr, first, last, PM_REMOVE)) {
            }
        }
        while (::PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            ::DispatchMessageW(&message);
    }
    return ::WaitForSingleObject(done, 0) == WAIT_OBJECT_0;
}

} // namespace

std::optional<std::u16string> clipboardText(DWORD wait) {
    // A paste asked for while one waits (a WM_PASTE sent by another program) finds nothing.
    static bool waiting = false;
    if (waiting)
        return std::nullopt;
    WNDCLASSEXW readerClass{};
    readerClass.cbSize = sizeof readerClass;
    readerClass.lpfnWndProc = readerProcedure;
    readerClass.hInstance = ::GetModuleHandleW(nullptr);
    readerClass.lpszClassName = ReaderClass;
    if (!::RegisterClassExW(&readerClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return std::nullopt;
    auto* read = new (std::nothrow) Read;
    if (!read)
        return std::nullopt;
    read->done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const HANDLE thread =
        read->done ? ::CreateThread(nullptr, 0, readClipboard, read, 0, nullptr) : nullptr;
    if (!thread) {
        if (read->done)
            ::CloseHandle(read->done);
        delete read;
        return std::nullopt;
    }
    ::CloseHandle(thread);
    waiting = true;
    const bool answered = awaitReader(read->done, wait);
    waiting = false;
    std::optional<std::u16string> text;
    if (answered) {
        text = std::move(read->text);
    } else {
        // Set before the window is read, and read by the reader after it publishes the window:
        // either the reader never opens the clipboard, or its window gets the give-up.
        read->abandoned = true;
        if (const HWND reader = read->reader)
            ::SendNotifyMessageW(reader, GiveUp, 0, 0);
    }
    read->release();
    return text;
}

void pasteInto(HWND box) {
    std::optional<std::u16string> text = clipboardText();
    if (!text)
        return;
    // A line break would end the one line: the paste stops before it.
    if (const std::size_t lineBreak = text->find_first_of(u"\r\n");
        lineBreak != std::u16string::npos)
        text->resize(lineBreak);
    ::SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text->c_str()));
}

} // namespace vorlane
