#include "settings/inipath.h"

#include <windows.h>

#include <string>

namespace vorlane {
namespace {

// FOLDERID_LocalAppData. Named here rather than taken from <knownfolders.h>, whose GUIDs come
// from a library only with <initguid.h> in front.
constexpr GUID LocalAppData = {
    0xF1B32785, 0x6FBA, 0x4FCF, {0x9D, 0x55, 0x7B, 0x8E, 0x7F, 0x15, 0x70, 0x91}};

using GetKnownFolderPath = HRESULT(WINAPI*)(const GUID&, DWORD, HANDLE, PWSTR*);
using FreeTaskMemory = void(WINAPI*)(void*);

// From a system DLL loaded by its full path in the system folder, never from the program's
// own folder.
template <typename Function> Function systemFunction(const wchar_t* library, const char* name) {
    HMODULE module = ::LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr)
        return nullptr;
    // Through void (*)(), the one function type that a cast to any other leaves unwarned.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

std::wstring folderOf(const std::wstring& path) {
    return path.substr(0, path.rfind(L'\\'));
}

} // namespace

bool refusesWrites(const NativePath& file) {
    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
            return false;
        // Opening for writing changes nothing; another program's share mode is no refusal, only
        // a wait for the write.
        const HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle);
        return handle == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ACCESS_DENIED;
    }
    // Whether the folder takes a new file is known only by making one. The system deletes it
    // when its handle closes, also if the program dies first, so nothing stays.
    const std::wstring probe = file + L"." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    const HANDLE handle =
        ::CreateFileW(probe.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle != INVALID_HANDLE_VALUE)
        ::CloseHandle(handle);
    return handle == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ACCESS_DENIED;
}

// shell32 and ole32 are loaded only here, when the program sits where it may not write: a
// portable copy's start-up does not pay for them.
NativePath perUserSettingsFolder() {
    const auto getPath = systemFunction<GetKnownFolderPath>(L"shell32.dll", "SHGetKnownFolderPath");
    const auto freeMemory = systemFunction<FreeTaskMemory>(L"ole32.dll", "CoTaskMemFree");
    if (getPath == nullptr || freeMemory == nullptr)
        return {};
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(getPath(LocalAppData, 0, nullptr, &path)) && path != nullptr && path[0] != 0)
        folder = std::wstring(path) + L"\\Vorlane";
    freeMemory(path);
    return folder;
}

bool pathExists(const NativePath& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool copyToNewFile(const NativePath& from, const NativePath& to) {
    const std::wstring folder = folderOf(to);
    if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    if (!pathExists(from))
        return true;
    return ::CopyFileW(from.c_str(), to.c_str(), TRUE) || ::GetLastError() == ERROR_FILE_EXISTS;
}

} // namespace vorlane
