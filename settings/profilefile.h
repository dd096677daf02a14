#pragma once

// The two profile functions of Windows that the settings rely on, over a settings file on disk.
// A read never fails: anything it cannot read counts as a missing key. A write is a
// read-modify-write under an exclusive advisory lock, so that several running copies of the
// program sharing one file never lose each other's keys, and replaces the file atomically; a
// write that cannot be done leaves the file as it was.

#include <cstddef>
#include <string>
#include <string_view>

namespace vorlane {

/// Files larger than this are neither read nor rewritten; they count as holding no keys.
inline constexpr std::size_t MaxProfileFileBytes = 64 * 1024 * 1024;

/// As GetPrivateProfileStringA with a 2600-byte buffer: the value of the key in the section
/// (see findProfileValue), or defaultValue when the file, the section or the key is missing or
/// the file cannot be read (not a regular file, no permission, too large).
std::string readProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue);

/// As WritePrivateProfileStringA: stores value under key in section (see withProfileValue),
/// creating the file, section or key where missing. The new content goes to a temporary file in
/// the same folder that is flushed and renamed over the old one, keeping its permission bits;
/// when only the file, not its folder, is writable, the file is rewritten in place. A file
/// without any write permission bit is not written, even by the superuser. Gives false when
/// nothing was written; callers may ignore it.
bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

} // namespace vorlane
