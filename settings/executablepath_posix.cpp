#include "settings/inipath.h"

#include <sys/stat.h>
#include <unistd.h>

namespace vorlane {
namespace {

// Long enough for any real path; only keeps a misbehaving readlink from growing the buffer
// for ever.
constexpr std::size_t MaxExecutablePathBytes = 1 << 20;

std::string readExecutableLink() {
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

} // namespace

// The kernel gives the executable's real path, whatever link it was started through. The path
// it was started from is kept also after it has been replaced, so that an upgraded program
// keeps its settings file rather than starting a "vorlane (deleted).ini".
NativePath executablePath() {
    std::string path = readExecutableLink();
    if (path.ends_with(DeletedSuffix) && !sameFile(path, "/proc/self/exe"))
        path.resize(path.size() - DeletedSuffix.size());
    return path;
}

} // namespace vorlane
