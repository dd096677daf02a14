#pragma once

// Where the settings file lies: beside the executable, named after it.

#include "settings/profile.h"

#include <string>
#include <string_view>

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

} // namespace vorlane
