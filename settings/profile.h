#pragma once

// The platform's profile functions, through which every settings read and write passes: on
// Windows GetPrivateProfileString and WritePrivateProfileString, elsewhere the file layer of
// settings/profilefile.h, which reads and writes the files as they do. Both take several keys
// at once, so that a write of several values is one write to the file.

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlane {

/// A file path as the system gives it, never re-encoded: on Windows UTF-16, elsewhere bytes,
/// since a folder's name there need not be valid in any encoding.
#ifdef _WIN32
using NativePath = std::wstring;
#else
using NativePath = std::string;
#endif
using NativePathView = std::basic_string_view<NativePath::value_type>;

/// How long a read waits in all for another process that holds the settings file (a backup
/// tool, a hung copy of the program) before it takes the file as it stands: the window waits
/// for it before it appears.
inline constexpr std::chrono::milliseconds ReadWait = std::chrono::seconds(1);

/// How long a write waits for such a process before it gives up and writes nothing: another
/// copy of the program holds the file only while it rewrites a small file.
inline constexpr std::chrono::milliseconds WriteWait = std::chrono::seconds(5);

/// What a read of a missing file, section or key gives in the program's own reads (Windows'
/// GetPrivateProfileString hands back the default it is given); a stored "???" counts as
/// missing too.
inline constexpr std::string_view MissingValue = "???";

/// A key in its section, with a value: one to store, or the default of a read.
struct IniEntry {
    std::string_view section;
    std::string_view key;
    std::string value;
};

/// The values a read found, in the order of the keys asked for.
struct ProfileValues {
    /// Each key's value text (UTF-8); nothing where the file, the section or the key is missing
    /// or the file cannot be read.
    std::vector<std::optional<std::string>> values;
    /// False when another process held the file all the time the read waited: the values are
    /// then the file as it stood, and nothing should be written on the strength of them.
    bool settled = true;
};

/// The values stored under the entries' keys (their values are not used), waiting at most
/// `wait` for another process that holds the file.
ProfileValues readProfileValues(const NativePath& path, const std::vector<IniEntry>& entries,
                                std::chrono::milliseconds wait);

/// Which entries a write stores, judged on the value each key holds at the moment of the write.
using StoreWhere = std::function<bool(const std::optional<std::string>& current)>;

/// Stores each entry's value under its key in turn, creating the file, section or key where
/// missing; with `where`, only the entries whose current value it accepts. Waits at most `wait`
/// for another process that holds the file, then writes nothing. Gives false when nothing was
/// written.
bool writeProfileValues(const NativePath& path, const std::vector<IniEntry>& entries,
                        const StoreWhere& where, std::chrono::milliseconds wait);

} // namespace vorlane
