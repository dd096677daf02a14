// The profile functions on Windows: GetPrivateProfileStringW and WritePrivateProfileStringW
// themselves, so the file reads and writes exactly as Windows users' files always have. Their
// wide forms open any path, also one outside the ANSI code page, and write the same bytes as
// the ANSI forms: code page text in an ANSI file, UTF-16 in a file that starts with its byte
// order mark. Windows keeps the file safe in its own way; there is no lock to wait for.

#include "settings/profile.h"

#include <windows.h>

#include <array>

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

} // namespace

ProfileValues readProfileValues(const NativePath& path, const std::vector<IniEntry>& entries,
                                std::chrono::milliseconds /*wait*/) {
    ProfileValues read;
    for (const IniEntry& entry : entries)
        read.values.push_back(readValue(path, entry));
    return read;
}

bool writeProfileValues(const NativePath& path, const std::vector<IniEntry>& entries,
                        const StoreWhere& where, std::chrono::milliseconds /*wait*/) {
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
