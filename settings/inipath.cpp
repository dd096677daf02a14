#include "settings/inipath.h"

#include <sys/stat.h>
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

// The kernel's mark on the path of an executable whose file was deleted or replaced since it
// started: an upgrade (install, a package manager) renames a new file over it.
constexpr std::string_view DeletedSuffix = " (deleted)";

bool sameFile(const std::string& path, const char* other) {
    struct stat first {};
    struct stat second {};
    return ::stat(path.c_str(), &first) == 0 && ::stat(other, &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// The path the executable was started from, also after it has been replaced, so that an
// upgraded program keeps its settings file rather than starting a "vorlane (deleted).ini".
std::string startedExecutablePath() {
    std::string path = executablePath();
    if (path.ends_with(DeletedSuffix) && !sameFile(path, "/proc/self/exe"))
        path.resize(path.size() - DeletedSuffix.size());
    return path;
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

NativePath IniFilePath() {
    // The kernel gives the executable's real path here, whatever link it was started through.
    const std::string executable = startedExecutablePath();
    const std::size_t slash = executable.rfind('/');
    if (slash == std::string::npos)
        return {};
    const std::string_view path(executable);
    return iniFilePathFor(path.substr(0, slash == 0 ? 1 : slash), path.substr(slash + 1));
}

} // namespace vorlane
