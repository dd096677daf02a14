#include "settings/inipath.h"

#include <unistd.h>

namespace vorlane {
namespace {

// Long enough for any real path; only keeps a misbehaving readlink from growing the buffer
// for ever.
constexpr std::size_t MaxExecutablePathBytes = 1 << 20;

std::string executablePath() {
    std::string buffer(256, '\0');
    while (buffer.size() <= MaxExecutablePathBytes) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(length));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
    return {};
}

} // namespace

std::string iniFilePathFor(std::string_view folder, std::string_view executableName) {
    if (folder.ends_with('/'))
        folder.remove_suffix(1);
    const std::size_t dot = executableName.rfind('.');
    if (dot != std::string_view::npos && dot > 0)
        executableName = executableName.substr(0, dot);
    std::string path(folder);
    path += '/';
    path += executableName;
    path += ".ini";
    return path;
}

std::string IniFilePath() {
    // The kernel gives the executable's real path here, whatever link it was started through.
    const std::string executable = executablePath();
    const std::size_t slash = executable.rfind('/');
    if (slash == std::string::npos)
        return {};
    const std::string_view path(executable);
    return iniFilePathFor(path.substr(0, slash == 0 ? 1 : slash), path.substr(slash + 1));
}

} // namespace vorlane
