#include "settings/inipath.h"

namespace vorlane {

NativePath iniFilePathFor(NativePathView folder, NativePathView executableName) {
    if (folder.ends_with(PathSeparator))
        folder.remove_suffix(1);
    const std::size_t dot = executableName.rfind('.');
    if (dot != NativePathView::npos && dot > 0)
        executableName = executableName.substr(0, dot);
    NativePath path(folder);
    path += PathSeparator;
    path += executableName;
    for (const char c : std::string_view(".ini"))
        path += static_cast<NativePath::value_type>(c);
    return path;
}

NativePath IniFilePath() {
    const NativePath executable = executablePath();
    const std::size_t separator = executable.rfind(PathSeparator);
    if (separator == NativePath::npos)
        return {};
    const NativePathView path(executable);
    return iniFilePathFor(path.substr(0, separator == 0 ? 1 : separator),
                          path.substr(separator + 1));
}

const NativePath& readPath(const SettingsLocation& location) {
    if (!location.standsInFor.empty() && !pathExists(location.path))
        return location.standsInFor;
    return location.path;
}

bool prepareWrite(const SettingsLocation& location) {
    if (location.path.empty())
        return false;
    return location.standsInFor.empty() || pathExists(location.path) ||
           copyToNewFile(location.standsInFor, location.path);
}

SettingsLocation settingsLocation() {
    NativePath beside = IniFilePath();
    if (beside.empty() || !refusesWrites(beside))
        return beside;
    const NativePath folder = perUserSettingsFolder();
    if (folder.empty())
        return beside;
    const NativePathView name = NativePathView(beside).substr(beside.rfind(PathSeparator) + 1);
    return {iniFilePathFor(folder, name), std::move(beside)};
}

} // namespace vorlane
