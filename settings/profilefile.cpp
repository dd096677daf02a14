#include "settings/profilefile.h"

#include "settings/profiletext.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace vorlane {
namespace {

using namespace std::chrono_literals;

// Another copy of the program holds the lock only while it rewrites a small file. The bounds
// keep a stuck or foreign lock holder from hanging the program at start or at exit.
constexpr std::chrono::milliseconds WriteLockTimeout = 5s;
constexpr std::chrono::milliseconds ReadLockTimeout = 1s;
constexpr std::chrono::milliseconds LongestLockPause = 20ms;
// Each retry means another writer replaced the file between our open and our lock.
constexpr int MaxOpenAttempts = 100;
constexpr mode_t AnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t PermissionBits = 07777;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            close();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // For a file just written, the result of close is the last word on whether the data made it.
    bool close() {
        const int fd = std::exchange(m_fd, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool lockWithin(int fd, int operation, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::chrono::milliseconds pause = 1ms;
    while (::flock(fd, operation | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, LongestLockPause);
    }
    return true;
}

std::optional<std::string> readAll(int fd, const struct stat& status) {
    if (status.st_size < 0 || static_cast<std::uintmax_t>(status.st_size) > MaxProfileFileBytes)
        return std::nullopt;
    std::string data;
    data.reserve(static_cast<std::size_t>(status.st_size));
    std::array<char, 64 * 1024> chunk{};
    for (;;) {
        const ssize_t count =
            ::pread(fd, chunk.data(), chunk.size(), static_cast<off_t>(data.size()));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return std::nullopt;
        if (count == 0)
            return data;
        // The file may have grown since fstat.
        if (data.size() + static_cast<std::size_t>(count) > MaxProfileFileBytes)
            return std::nullopt;
        data.append(chunk.data(), static_cast<std::size_t>(count));
    }
}

bool writeAll(int fd, std::string_view data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t count =
            ::pwrite(fd, data.data() + done, data.size() - done, static_cast<off_t>(done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        done += static_cast<std::size_t>(count);
    }
    return true;
}

// A settings file reached through a symbolic link is rewritten where it really lies, not
// replaced by a plain file in place of the link.
std::string resolvedPath(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
        return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr)
        return path;
    std::string result(real);
    std::free(real);
    return result;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void syncFolder(const std::string& path) {
    const FileDescriptor folder(
        ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY));
    if (folder.valid())
        ::fsync(folder.get());
}

struct LockedFile {
    FileDescriptor file;
    struct stat status {};
    bool created = false;
};

// Opens the file for writing, creating it when missing, and locks it. A writer that renames
// its new file over the old one leaves a waiting writer holding the lock of a file no longer
// in the folder; that writer sees the path now names another file and starts again.
std::optional<LockedFile> openLocked(const std::string& path) {
    constexpr int flags = O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    for (int attempt = 0; attempt < MaxOpenAttempts; ++attempt) {
        LockedFile locked;
        locked.file = FileDescriptor(::open(path.c_str(), flags));
        if (!locked.file.valid() && errno == ENOENT) {
            locked.file = FileDescriptor(::open(path.c_str(), flags | O_CREAT | O_EXCL, 0666));
            if (!locked.file.valid() && errno == EEXIST)
                continue;
            locked.created = locked.file.valid();
        }
        if (!locked.file.valid() || ::fstat(locked.file.get(), &locked.status) != 0 ||
            !S_ISREG(locked.status.st_mode))
            return std::nullopt;
        // Like Windows' read-only attribute, which stops even an administrator's writes.
        if (!locked.created && (locked.status.st_mode & AnyWriteBit) == 0)
            return std::nullopt;
        if (!lockWithin(locked.file.get(), LOCK_EX, WriteLockTimeout))
            return std::nullopt;
        struct stat current {};
        if (::stat(path.c_str(), &current) == 0 && current.st_dev == locked.status.st_dev &&
            current.st_ino == locked.status.st_ino)
            return locked;
    }
    return std::nullopt;
}

enum class Replacement { Done, FolderNotWritable, Failed };

Replacement replaceByRename(const std::string& path, const struct stat& status,
                            std::string_view content) {
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string temporary = path.substr(0, nameStart) + "." + path.substr(nameStart) + ".XXXXXX";
    FileDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!file.valid())
        return errno == EACCES || errno == EPERM ? Replacement::FolderNotWritable
                                                 : Replacement::Failed;
    // Owner first, since a change of owner clears set-ID bits. Only the superuser can give the
    // file back to another owner; anyone else's rewrite leaves the file theirs, as an editor's
    // does, which is no reason to give up the write.
    const bool ownerKept = (status.st_uid == ::geteuid() && status.st_gid == ::getegid()) ||
                           ::fchown(file.get(), status.st_uid, status.st_gid) == 0;
    static_cast<void>(ownerKept);
    bool stored = writeAll(file.get(), content) &&
                  ::fchmod(file.get(), status.st_mode & PermissionBits) == 0 &&
                  ::fsync(file.get()) == 0;
    stored = file.close() && stored;
    if (!stored || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return Replacement::Failed;
    }
    syncFolder(path);
    return Replacement::Done;
}

// Not atomic: used only when no temporary file can be made beside the settings file.
bool rewriteInPlace(int fd, std::string_view content) {
    return writeAll(fd, content) && ::ftruncate(fd, static_cast<off_t>(content.size())) == 0 &&
           ::fsync(fd) == 0;
}

} // namespace

std::string readProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue) {
    // O_NONBLOCK: a FIFO in place of the file must not block the open.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat status {};
    if (!file.valid() || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::string(defaultValue);
    // Keeps an in-place rewrite by another copy from being read half done. If the lock does not
    // come in time the file is read as it stands.
    lockWithin(file.get(), LOCK_SH, ReadLockTimeout);
    const std::optional<std::string> bytes = readAll(file.get(), status);
    if (!bytes)
        return std::string(defaultValue);
    return findProfileValue(*bytes, section, key).value_or(std::string(defaultValue));
}

bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    const std::string target = resolvedPath(path);
    std::optional<LockedFile> locked = openLocked(target);
    if (!locked)
        return false;
    bool written = false;
    if (const std::optional<std::string> old = readAll(locked->file.get(), locked->status)) {
        const std::string updated = withProfileValue(*old, section, key, value);
        if (updated == *old) {
            written = true;
        } else {
            switch (replaceByRename(target, locked->status, updated)) {
            case Replacement::Done:
                written = true;
                break;
            case Replacement::FolderNotWritable:
                written = rewriteInPlace(locked->file.get(), updated);
                break;
            case Replacement::Failed:
                break;
            }
        }
    }
    // Never leave behind an empty file that only this failed write created.
    if (!written && locked->created)
        ::unlink(target.c_str());
    return written;
}

} // namespace vorlane
