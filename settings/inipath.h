#pragma once

// Where the settings file lies: beside the executable, named after it, wherever this user may
// write it. Where the folder or the file refuses this user's writes (an install under /usr or
// Program Files), a per-user file of the same name stands in for it, as Windows' file
// virtualisation once gave such programs: reads take the file beside the executable until the
// per-user file exists, and the first write starts from a copy of it, so an administrator's
// defaults there are honoured and none of their keys is lost.

#include "settings/profile.h"

#include <string>
#include <string_view>
#include <utility>

namespace vorlane {

/// The separator of the platform's paths: "\\" on Windows, "/" elsewhere.
#ifdef _WIN32
inline constexpr wchar_t PathSeparator = L'\\';
#else
inline constexpr char PathSeparator = '/';
#endif

/// The settings file of an executable: the folder, one separator, the executable's file name
/// without its last extension (a leading dot starts none), and ".ini". One trailing separator
/// of the folder is dropped first, so "/" and "vorlane" give "/vorlane.ini", and "C:\\" and
/// "Vorlane.exe" give "C:\\Vorlane.ini".
NativePath iniFilePathFor(NativePathView folder, NativePathView executableName);

/// The path of the running executable, as the system reports it: on Linux its real path
/// (symbolic links resolved), also after it has been replaced since it started. Empty when the
/// system does not say.
NativePath executablePath();

/// The settings file of the running executable (iniFilePathFor beside executablePath). Empty
/// when the system does not say where the executable is; reads then give the defaults and
/// writes fail.
NativePath IniFilePath();

/// Where the settings are kept: the file that reads and writes use and, where that is a
/// per-user file, the file beside the executable that it stands in for.
struct SettingsLocation {
    SettingsLocation() = default;
    /// A file used as it is, standing in for none.
    SettingsLocation(NativePath file) : path(std::move(file)) {} // NOLINT: a path is a location
    SettingsLocation(NativePath file, NativePath besideExecutable)
        : path(std::move(file)), standsInFor(std::move(besideExecutable)) {}

    NativePath path;
    /// Empty, or the file beside the executable that `path` stands in for.
    NativePath standsInFor;
};

/// The file that reads take: the one stood in for while `path` does not exist, else `path`.
const NativePath& readPath(const SettingsLocation& location);

/// Readies `path` for a write. Where it stands in for another file and does not exist yet, its
/// folder is made and the other file, where there is one, copied to it. False when that fails:
/// nothing should then be written, or the other file's keys would be lost. False for an empty
/// path.
bool prepareWrite(const SettingsLocation& location);

/// Where the running program keeps its settings, chosen once at start-up: the file beside the
/// executable (IniFilePath) where this user may create or write it, or where it is this user's
/// own file marked read-only, which then stays unwritten; otherwise the file of the same name in
/// the per-user folder (perUserSettingsFolder), standing in for it. The file beside the
/// executable also where the system names no per-user folder.
SettingsLocation settingsLocation();

/// True when this user may not create the file in its folder, or may not write the existing
/// file and it is not this user's own file marked read-only (on Windows, any file with the
/// read-only attribute). Never creates or changes anything that stays.
bool refusesWrites(const NativePath& file);

/// The per-user folder for settings: $XDG_CONFIG_HOME/vorlane (by default
/// ~/.config/vorlane) on Linux, %LOCALAPPDATA%\Vorlane on Windows (local, not roaming: a window
/// position belongs to one machine's screens). Empty when the system names none.
NativePath perUserSettingsFolder();

/// True when something exists at the path.
bool pathExists(const NativePath& path);

/// Makes the folder of `to` where missing, then copies `from` to `to` unless `to` exists by
/// then; with no file `from`, only the folder. False when the folder or the copy fails.
bool copyToNewFile(const NativePath& from, const NativePath& to);

} // namespace vorlane
