#pragma once

// One key at a time through the batch profile functions, as Windows' GetPrivateProfileString
// and WritePrivateProfileString take them: what the file layer's tests and fuzzer check.

#include "settings/profile.h"

#include <string>
#include <string_view>

namespace vorlane::test {

/// The key's value, or defaultValue where there is none.
inline std::string readProfileString(const NativePath& path, std::string_view section,
                                     std::string_view key, std::string_view defaultValue) {
    return readProfileValues(path, {{section, key, {}}}, ReadWait)
        .values.front()
        .value_or(std::string(defaultValue));
}

/// Stores the value; false when nothing was written.
inline bool writeProfileString(const NativePath& path, std::string_view section,
                               std::string_view key, std::string_view value) {
    return writeProfileValues(path, {{section, key, std::string(value)}}, {}, WriteWait);
}

} // namespace vorlane::test
