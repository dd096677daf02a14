#include "settings/profilefile.h"

#include "settings/inipath.h"
#include "settings/profile.h"
#include "settings/profiletext.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <dirent.h>
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
using Deadline = std::chrono::steady_clock::time_point;

// Short pauses while another process holds the lock: with many writers the lock is free only
// for moments, and a long pause would keep missing them.
constexpr std::chrono::milliseconds LongestLockPause = 5ms;
constexpr mode_t AnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t PermissionBits = 07777;
// mkostemp replaces these with letters and digits.
constexpr std::string_view TemporarySuffix = "XXXXXX";

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

// Polls rather than blocks, since a blocking flock cannot be given a time bound. Tries at least
// once, also when the deadline has passed.
bool lockUntil(int fd, int operation, Deadline deadline) {
    std::chrono::milliseconds pause = 1ms;
    while (::flock(fd, operation | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        const auto now = std::chrono::steady_clock::now();
        if (errno != EWOULDBLOCK || now >= deadline)
            return false;
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
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

std::size_t nameStart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

std::string folderOf(const std::string& path) {
    const std::size_t start = nameStart(path);
    if (start == 0)
        return ".";
    return start == 1 ? "/" : path.substr(0, start - 1);
}

// The name of a temporary file of the settings file, up to the part that mkostemp fills in.
std::string temporaryPrefix(std::string_view fileName) {
    std::string prefix(".");
    prefix += fileName;
    prefix += '.';
    return prefix;
}

// A new temporary file's path beside the file, for mkostemp.
std::string temporaryPath(const std::string& path) {
    return path.substr(0, nameStart(path)) +
           temporaryPrefix(std::string_view(path).substr(nameStart(path))) +
           std::string(TemporarySuffix);
}

// A folder that the desktop's convention gives a program's settings is private to its user.
bool makeFolders(const std::string& folder) {
    struct stat status {};
    if (::stat(folder.c_str(), &status) == 0)
        return S_ISDIR(status.st_mode);
    if (folder == "/" || folder == "." || !makeFolders(folderOf(folder)))
        return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool isTemporaryName(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + TemporarySuffix.size() || !name.starts_with(prefix))
        return false;
    return std::all_of(
        name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        });
}

// Runs under the exclusive lock of the file that the path names now. Every writer of the file
// makes its temporary file only under that lock, so none of these can be in flight: they are
// what writers killed mid-write left. A link or a folder of the same name is left alone, and
// unlinkat never follows a link.
void removeLeftovers(const std::string& path) {
    DIR* folder = ::opendir(folderOf(path).c_str());
    if (folder == nullptr)
        return;
    const std::string prefix = temporaryPrefix(std::string_view(path).substr(nameStart(path)));
    while (const dirent* entry = ::readdir(folder)) {
        struct stat status {};
        if (isTemporaryName(entry->d_name, prefix) &&
            ::fstatat(::dirfd(folder), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode))
            ::unlinkat(::dirfd(folder), entry->d_name, 0);
    }
    ::closedir(folder);
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
// in the folder; that writer sees the path now names another file and starts again, for as
// long as the deadline allows.
std::optional<LockedFile> openLocked(const std::string& path, Deadline deadline) {
    constexpr int flags = O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    for (;;) {
        LockedFile locked;
        locked.file = FileDescriptor(::open(path.c_str(), flags));
        if (!locked.file.valid() && errno == ENOENT) {
            locked.file = FileDescriptor(::open(path.c_str(), flags | O_CREAT | O_EXCL, 0666));
            locked.created = locked.file.valid();
        }
        if (locked.file.valid()) {
            if (::fstat(locked.file.get(), &locked.status) != 0 || !S_ISREG(locked.status.st_mode))
                return std::nullopt;
            // Like Windows' read-only attribute, which stops even an administrator's writes.
            if (!locked.created && (locked.status.st_mode & AnyWriteBit) == 0)
                return std::nullopt;
            if (!lockUntil(locked.file.get(), LOCK_EX, deadline))
                return std::nullopt;
            struct stat current {};
            if (::stat(path.c_str(), &current) == 0 && current.st_dev == locked.status.st_dev &&
                current.st_ino == locked.status.st_ino)
                return locked;
        } else if (errno != EEXIST) { // EEXIST: another writer created the file just now
            return std::nullopt;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
    }
}

// False when the temporary file cannot be made, keep the file's group, be written in full or
// take the file's place; the folder then holds no trace of it.
bool replaceByRename(const std::string& path, const struct stat& status, std::string_view content) {
    std::string temporary = temporaryPath(path);
    FileDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!file.valid())
        return false;
    // Group first, since a change of owner or group clears set-ID bits.
    bool stored = (status.st_gid == ::getegid() ||
                   ::fchown(file.get(), static_cast<uid_t>(-1), status.st_gid) == 0) &&
                  writeAll(file.get(), content) &&
                  ::fchmod(file.get(), status.st_mode & PermissionBits) == 0 &&
                  ::fsync(file.get()) == 0;
    stored = file.close() && stored;
    if (!stored || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(path);
    return true;
}

int reserveBlocks(int fd, std::size_t size) {
    int error = 0;
    do
        error = ::posix_fallocate(fd, 0, static_cast<off_t>(size));
    while (error == EINTR);
    return error;
}

// Not atomic; see the header for the crash window. The reservation comes first because a write
// that runs out of space half way has already overwritten the start of the old content.
bool rewriteInPlace(int fd, std::size_t oldSize, std::string_view content) {
    if (!content.empty() && reserveBlocks(fd, content.size()) != 0) {
        // A failed reservation may still have lengthened the file.
        struct stat status {};
        if (::fstat(fd, &status) == 0 && static_cast<std::uintmax_t>(status.st_size) > oldSize)
            static_cast<void>(::ftruncate(fd, static_cast<off_t>(oldSize)));
        return false;
    }
    if (!writeAll(fd, content) || ::fsync(fd) != 0)
        return false;
    if (content.size() >= oldSize)
        return true;
    return ::ftruncate(fd, static_cast<off_t>(content.size())) == 0 && ::fsync(fd) == 0;
}

// A rename would give the file a new inode: another link would keep the old content, and the
// owner and extended attributes of another user's file would be lost.
bool mustKeepIdentity(const struct stat& status) {
    return status.st_nlink > 1 || status.st_uid != ::geteuid();
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

bool pathExists(const NativePath& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

// The copy is written to a temporary file and linked to its name, which fails where another
// copy of the program got there first: a reader never sees it half written, and the other's
// file is never replaced. A temporary file that a crash leaves is one a later write removes.
bool copyToNewFile(const NativePath& from, const NativePath& to) {
    if (!makeFolders(folderOf(to)))
        return false;
    const FileDescriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!source.valid())
        return errno == ENOENT;
    struct stat status {};
    std::optional<std::string> bytes;
    if (::fstat(source.get(), &status) != 0 || !(bytes = readAll(source.get(), status)))
        return false;
    std::string temporary = temporaryPath(to);
    FileDescriptor copy(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!copy.valid())
        return false;
    const bool written = writeAll(copy.get(), *bytes) && ::fsync(copy.get()) == 0 && copy.close();
    const bool linked = written && (::link(temporary.c_str(), to.c_str()) == 0 || errno == EEXIST);
    ::unlink(temporary.c_str());
    return linked;
}

ProfileValues readProfileValues(const NativePath& path, const std::vector<IniEntry>& entries,
                                std::chrono::milliseconds wait) {
    ProfileValues read;
    std::string bytes;
    // O_NONBLOCK: a FIFO in place of the file must not block the open.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat status {};
    if (file.valid() && ::fstat(file.get(), &status) == 0 && S_ISREG(status.st_mode)) {
        // Keeps an in-place rewrite by another copy from being read half done.
        read.settled = lockUntil(file.get(), LOCK_SH, std::chrono::steady_clock::now() + wait);
        bytes = readAll(file.get(), status).value_or(std::string());
    }
    for (const IniEntry& entry : entries)
        read.values.push_back(findProfileValue(bytes, entry.section, entry.key));
    return read;
}

bool writeProfileValues(const NativePath& path, const std::vector<IniEntry>& entries,
                        const StoreWhere& where, std::chrono::milliseconds wait) {
    const std::string target = resolvedPath(path);
    std::optional<LockedFile> locked = openLocked(target, std::chrono::steady_clock::now() + wait);
    if (!locked)
        return false;
    removeLeftovers(target);
    bool written = false;
    if (const std::optional<std::string> old = readAll(locked->file.get(), locked->status)) {
        std::string updated = *old;
        for (const IniEntry& entry : entries) {
            if (!where || where(findProfileValue(updated, entry.section, entry.key)))
                updated = withProfileValue(updated, entry.section, entry.key, entry.value);
        }
        if (updated == *old) {
            written = true;
        } else if (updated.size() <= MaxProfileFileBytes) {
            written = (!mustKeepIdentity(locked->status) &&
                       replaceByRename(target, locked->status, updated)) ||
                      rewriteInPlace(locked->file.get(), old->size(), updated);
        }
    }
    // Never leave behind an empty file that only this failed write created.
    if (!written && locked->created)
        ::unlink(target.c_str());
    return written;
}

} // namespace vorlane
