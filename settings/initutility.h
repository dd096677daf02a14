#pragma once

// InitUtility: the generic profile-file operations through which every settings read and write
// passes. They know nothing of the particular settings, keep no state and show no message. The
// single-value operations are the batch ones for one key.

#include "settings/inipath.h"
#include "settings/profile.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorlane {

/// What a raw read delivers for a missing file, section or key.
inline constexpr std::string_view MissingValue = "???";

/// The text form of an integer: decimal digits, with "-" before a negative value.
std::string iniText(std::int32_t value);

/// The text form of a flag: "True" or "False".
std::string iniText(bool value);

/// The value stored under key in section, untrimmed, or "???" when there is none.
std::string GetIniString(std::string_view section, std::string_view key, const NativePath& path);

/// Stores the text unchanged under key in section. A write that fails goes unnoticed.
void PutIniString(const NativePath& path, std::string_view section, std::string_view key,
                  std::string_view value);

/// Stores the text unchanged; without this overload a string literal would choose the bool one.
void PutIniString(const NativePath& path, std::string_view section, std::string_view key,
                  const char* value);

/// Stores the integer in its text form.
void PutIniString(const NativePath& path, std::string_view section, std::string_view key,
                  std::int32_t value);

/// Stores the flag in its text form.
void PutIniString(const NativePath& path, std::string_view section, std::string_view key,
                  bool value);

/// Stores the entries in their order, giving the bytes that PutIniString for each would give
/// one after another, but in one write: another copy of the program finds all of them stored or
/// none. Waits at most `wait` for another process that holds the file. A write that fails goes
/// unnoticed. A per-user file is readied first (prepareWrite); where that fails, nothing is
/// written.
void PutIniStrings(const SettingsLocation& location, const std::vector<IniEntry>& entries,
                   std::chrono::milliseconds wait = WriteWait);

/// The stored value without leading and trailing spaces; when that is empty or "???", the
/// default without leading and trailing spaces, which is then also written into the file.
std::string GetIniValue(const NativePath& path, std::string_view section, std::string_view key,
                        std::string_view defaultValue);

/// GetIniValue for each entry in order (each value is the default), reading the file once and
/// writing back the defaults that are needed in one write, as the same GetIniValue calls one
/// after another would. Waits at most `wait` in all: when another process holds the file that
/// long, the values come from the file as it stands and nothing is written. Reads take
/// readPath(location); the defaults go to its path, readied first as PutIniStrings does.
std::vector<std::string> GetIniValues(const SettingsLocation& location,
                                      const std::vector<IniEntry>& entries,
                                      std::chrono::milliseconds wait = ReadWait);

} // namespace vorlane
