#pragma once

// InitUtility: the generic profile-file operations through which every settings read and write
// passes. They know nothing of the particular settings, keep no state and show no message.

#include <cstdint>
#include <string>
#include <string_view>

namespace vorlane {

/// What a raw read delivers for a missing file, section or key.
inline constexpr std::string_view MissingValue = "???";

/// The value stored under key in section, untrimmed, or "???" when there is none.
std::string GetIniString(std::string_view section, std::string_view key, const std::string& path);

/// Stores the text unchanged under key in section. A write that fails goes unnoticed.
void PutIniString(const std::string& path, std::string_view section, std::string_view key,
                  std::string_view value);

/// Stores the text unchanged; without this overload a string literal would choose the bool one.
void PutIniString(const std::string& path, std::string_view section, std::string_view key,
                  const char* value);

/// Stores the integer as decimal digits, with "-" before a negative value.
void PutIniString(const std::string& path, std::string_view section, std::string_view key,
                  std::int32_t value);

/// Stores "True" or "False".
void PutIniString(const std::string& path, std::string_view section, std::string_view key,
                  bool value);

/// The stored value without leading and trailing spaces; when that is empty or "???", the
/// default without leading and trailing spaces, which is then also written into the file.
std::string GetIniValue(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view defaultValue);

} // namespace vorlane
