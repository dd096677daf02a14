#pragma once

// Where the settings file lies: beside the executable, named after it.

#include "settings/profile.h"

#include <string>
#include <string_view>

namespace vorlane {

/// The settings file of an executable: the folder, one "/", the executable's file name without
/// its last extension (a leading dot starts none), and ".ini". One trailing "/" of the folder is
/// dropped first, so "/" and "vorlane" give "/vorlane.ini".
std::string iniFilePathFor(std::string_view folder, std::string_view executableName);

/// The settings file of the running executable, from its real path (symbolic links resolved);
/// an executable replaced since it started still gives the file beside its path. Empty when the
/// system does not say where the executable is; reads then give the defaults and writes fail.
NativePath IniFilePath();

} // namespace vorlane
