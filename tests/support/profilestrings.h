#pragma once

// One key at a time, as Windows' GetPrivateProfileString and WritePrivateProfileString take
// them: the single-key profile operations, which the program itself does without (it reads and
// writes its settings in one batch each), for the tests and the fuzzer.

#include "settings/initutility.h"

#include <string>
#include <string_view>

namespace vorlane::test {

/// The value stored under key in section, untrimmed, or "???" when there is none.
inline std::string GetIniString(std::string_view section, std::string_view key,
                                const NativePath& path) {
    return readProfileValues(path, {{section, key, {}}}, ReadWait)
        .values.front()
        .value_or(std::string(MissingValue));
}

/// Stores the text unchanged under key in section; false when nothing was written.
inline bool PutIniString(const NativePath& path, std::string_view section, std::string_view key,
                         std::string_view value) {
    return writeProfileValues(path, {{section, key, std::string(value)}}, {}, WriteWait);
}

/// GetIniValues for one key.
inline std::string GetIniValue(const NativePath& path, std::string_view section,
                               std::string_view key, std::string_view defaultValue) {
    return GetIniValues(path, {{section, key, std::string(defaultValue)}}).front();
}

} // namespace vorlane::test
