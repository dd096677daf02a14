#include "settings/inipath.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vorlane {
namespace {

// The settings folder that the desktop's convention gives a program, which it makes private.
constexpr mode_t PrivateFolder = 0700;
constexpr std::size_t MaxCopiedBytes = 64 * 1024 * 1024;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

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

bool makeFolders(const std::string& folder) {
    struct stat status {};
    if (::stat(folder.c_str(), &status) == 0)
        return S_ISDIR(status.st_mode);
    if (folder == "/" || folder == "." || !makeFolders(folderOf(folder)))
        return false;
    return ::mkdir(folder.c_str(), PrivateFolder) == 0 || errno == EEXIST;
}

std::optional<std::string> readFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    std::string bytes;
    std::vector<char> chunk(64 * 1024);
    for (ssize_t count = 0; (count = ::read(fd, chunk.data(), chunk.size())) != 0;) {
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 || bytes.size() + static_cast<std::size_t>(count) > MaxCopiedBytes) {
            ::close(fd);
            return std::nullopt;
        }
        bytes.append(chunk.data(), static_cast<std::size_t>(count));
    }
    ::close(fd);
    return bytes;
}

bool writeFile(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = ::write(fd, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return ::fsync(fd) == 0;
}

} // namespace

bool refusesWrites(const NativePath& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0)
        return ::faccessat(AT_FDCWD, folderOf(file).c_str(), W_OK | X_OK, AT_EACCESS) != 0;
    if (::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) == 0)
        return false;
    // The user's own file without a write bit is one they chose to keep as it is.
    return status.st_uid != ::geteuid() || (status.st_mode & S_IWUSR) != 0;
}

NativePath perUserSettingsFolder() {
    if (const char* config = absoluteVariable("XDG_CONFIG_HOME"))
        return std::string(config) + "/vorlane";
    const std::string home = homeFolder();
    return home.empty() ? std::string() : home + "/.config/vorlane";
}

bool pathExists(const NativePath& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

// The copy is written to a temporary file and linked to its name, which fails where another
// copy of the program got there first: a reader never sees it half written, and the other's
// file is never replaced. The temporary file has the name that the file layer's writes give
// theirs, so a write removes one that a crash left behind.
bool copyToNewFile(const NativePath& from, const NativePath& to) {
    if (!makeFolders(folderOf(to)))
        return false;
    if (!pathExists(from))
        return true;
    const std::optional<std::string> bytes = readFile(from);
    if (!bytes)
        return false;
    const std::size_t nameStart = to.rfind('/') + 1;
    std::string temporary = to.substr(0, nameStart) + "." + to.substr(nameStart) + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = writeFile(fd, *bytes);
    const bool closed = ::close(fd) == 0;
    const bool linked =
        written && closed && (::link(temporary.c_str(), to.c_str()) == 0 || errno == EEXIST);
    ::unlink(temporary.c_str());
    return linked;
}

} // namespace vorlane
