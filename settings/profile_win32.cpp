// The profile functions on Windows: GetPrivateProfileStringW and WritePrivateProfileStringW
// themselves, so the file reads and writes exactly as Windows users' files always have. Their
// wide forms open any path, also one outside the ANSI code page, and write the same bytes as
// the ANSI forms: code page text in an ANSI file, UTF-16 in a file that starts with its byte
// order mark. Windows keeps the file safe in its own way; there is no lock to wait for, but
// another program may hold the file open without sharing, as some editors and spreadsheet
// programs do, and the profile functions then fail at once.

#include "settings/profile.h"

#include "settings/profilefile.h"

#include <windows.h>

#include <array>
#include <chrono>

namespace vorlane {
namespace {

constexpr UINT JapaneseCodePage = 932;
// As the program's read buffer has always been: 2600 characters, the end mark included.
constexpr DWORD ReadBufferSize = 2600;

std::wstring wide(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, text.data(), size);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::string utf8(std::wstring_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

// MissingValue comes back where the file, the section or the key is missing; a stored one counts
// as missing anyway.
std::optional<std::string> readValue(const NativePath& path, const IniEntry& entry) {
    std::array<wchar_t, ReadBufferSize> buffer{};
    const DWORD length = ::GetPrivateProfileStringW(
        wide(entry.section).c_str(), wide(entry.key).c_str(), wide(MissingValue).c_str(),
        buffer.data(), ReadBufferSize, path.c_str());
    std::string value = utf8(std::wstring_view(buffer.data(), length));
    if (value == MissingValue)
        return std::nullopt;
    return value;
}

// Where the ANSI code page is not 932, the Japanese section and key names cannot be written in
// it: a new file starts with the UTF-16 byte order mark, so that Windows keeps it in Unicode.
// An existing file keeps its encoding.
void createUnicodeFileOutsideJapanese(const NativePath& path) {
    if (::GetACP() == JapaneseCodePage)
        return;
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    constexpr std::array<unsigned char, 2> Utf16LeMark{0xFF, 0xFE};
    DWORD written = 0;
    ::WriteFile(file, Utf16LeMark.data(), Utf16LeMark.size(), &written, nullptr);
    ::CloseHandle(file);
}

enum class FileState { Usable, Held, TooLarge };

// Whether the profile functions can use the file, polling until `deadline` while another program
// holds it. A missing file, a folder or a file that cannot be opened is left to them.
FileState fileState(const NativePath& path, std::chrono::steady_clock::time_point deadline) {
    constexpr DWORD Pause = 50; // milliseconds
    while (true) {
        const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            LARGE_INTEGER size{};
            const bool large = ::GetFileSizeEx(file, &size) &&
                               static_cast<unsigned long long>(size.QuadPart) > MaxProfileFileBytes;
            ::CloseHandle(file);
            return large ? FileState::TooLarge : FileState::Usable;
        }
        const DWORD error = ::GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION))
            return FileState::Usable;
        if (std::chrono::steady_clock::now() >= deadline)
            return FileState::Held;
        ::Sleep(Pause);
    }
}

} // namespace

// A read does not wait: a program that holds the file without sharing (an editor with it open)
// holds it for as long as it runs, and the window must come up meanwhile. Files too large for
// the POSIX build to read count as holding no keys here too.
ProfileValues readProfileValues(const NativePath& path, const std::vector<IniEntry>& entries,
                                std::chrono::milliseconds /*wait*/) {
    ProfileValues read;
    const FileState state = fileState(path, std::chrono::steady_clock::now());
    read.settled = state != FileState::Held;
    for (const IniEntry& entry : entries)
        read.values.push_back(state == FileState::Usable ? readValue(path, entry) : std::nullopt);
    return read;
}

bool writeProfileValues(const NativePath& path, const std::vector<IniEntry>& entries,
                        const StoreWhere& where, std::chrono::milliseconds wait) {
    // A file too large to read is not rewritten either.
    if (fileState(path, std::chrono::steady_clock::now() + wait) != FileState::Usable)
        return false;
    createUnicodeFileOutsideJapanese(path);
    bool written = true;
    for (const IniEntry& entry : entries) {
        if (where && !where(readValue(path, entry)))
            continue;
        written = ::WritePrivateProfileStringW(wide(entry.section).c_str(), wide(entry.key).c_str(),
                                               wide(entry.value).c_str(), path.c_str()) &&
                  written;
    }
    return written;
}

} // namespace vorlane
