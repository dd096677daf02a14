#include "settings/inipath.h"

#include <windows.h>

namespace vorlane {

NativePath executablePath() {
    // GetModuleFileNameW cuts a path that does not fit and says so only by filling the buffer;
    // long paths (beyond MAX_PATH) need a larger one.
    constexpr DWORD LongestPath = 32768;
    std::wstring buffer(MAX_PATH, L'\0');
    while (true) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        if (buffer.size() >= LongestPath)
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace vorlane
