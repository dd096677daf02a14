#include "settings/inipath.h"

#include <array>
#include <cstdlib>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace vorlane {
namespace {

// The desktop's convention ignores a relative or empty $XDG_CONFIG_HOME, and so does a home
// that is not an absolute path.
const char* absoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] == '/' ? value : nullptr;
}

std::string homeFolder() {
    if (const char* home = absoluteVariable("HOME"))
        return home;
    std::array<char, 16384> buffer{};
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/')
        return found->pw_dir;
    return {};
}

} // namespace

NativePath perUserSettingsFolder() {
    if (const char* config = absoluteVariable("XDG_CONFIG_HOME"))
        return std::string(config) + "/vorlane";
    const std::string home = homeFolder();
    return home.empty() ? std::string() : home + "/.config/vorlane";
}

} // namespace vorlane
