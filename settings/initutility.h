#pragma once

// InitUtility: the generic profile-file operations through which every settings read and write
// passes. They know nothing of the particular settings, keep no state and show no message. The
// program reads its settings in one batch and writes them in another; the single-key forms,
// which only tests need, are in tests/support/profilestrings.h.

#include "settings/inipath.h"
#include "settings/profile.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorlane {

/// The text form of an integer: decimal digits, with "-" before a negative value.
std::string iniText(std::int32_t value);

/// The text form of a flag: "True" or "False".
std::string iniText(bool value);

/// Stores the entries in their order, giving the bytes that a write of each would give one
/// after another, but in one write: another copy of the program finds all of them stored or
/// none. Waits at most `wait` for another process that holds the file. A write that fails goes
/// unnoticed. A per-user file is readied first (prepareWrite); where that fails, nothing is
/// written.
void PutIniStrings(const SettingsLocation& location, const std::vector<IniEntry>& entries,
                   std::chrono::milliseconds wait = WriteWait);

/// For each entry in order (each value is the default): the stored value without leading and
/// trailing spaces; when that is empty or "???", the default without them, which is then also
/// written into the file. Reads the file once and writes back the defaults that are needed in
/// one write, as the same reads of one key each one after another would. Waits at most `wait` in
/// all: when another process holds the file that long, the values come from the file as it stands
/// and nothing is written. Reads take readPath(location); the defaults go to its path, readied
/// first as PutIniStrings does.
std::vector<std::string> GetIniValues(const SettingsLocation& location,
                                      const std::vector<IniEntry>& entries,
                                      std::chrono::milliseconds wait = ReadWait);

} // namespace vorlane
