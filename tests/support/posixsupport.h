#pragma once

// What the tests need of a POSIX system: permissions, other users, child processes, locks held
// by another process, a full disk, and texts in other encodings through iconv.

#include "testsupport.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <grp.h>
#include <iconv.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vorlane::test {

inline TempFolder::~TempFolder() {
    // A test may have taken away the write permission of the folder itself.
    ::chmod(m_path.c_str(), 0700);
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

/// A folder in memory where the system has one: for tests that write a lot, since every write
/// flushes the file to disk.
inline std::filesystem::path memoryFolder() {
    return ::access("/dev/shm", W_OK) == 0 ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
}

inline mode_t permissionBits(const std::string& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

// UTF-8 to another encoding straight through iconv, independent of the code under test; every
// text passed here is representable.
inline std::string iconvFromUtf8(std::string_view utf8, const char* encoding) {
    const iconv_t cd = ::iconv_open(encoding, "UTF-8");
    std::string out(utf8.size() * 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    if (cd == reinterpret_cast<iconv_t>(-1) ||
        ::iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
        std::abort();
    ::iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

inline std::string cp932(std::string_view utf8) {
    return iconvFromUtf8(utf8, "CP932");
}

// UTF-16 with its byte order mark, as Notepad saves "Unicode" and "Unicode big endian".
inline std::string utf16(std::string_view utf8, const char* byteOrder) {
    std::string bytes = iconvFromUtf8("\uFEFF", byteOrder);
    bytes += iconvFromUtf8(utf8, byteOrder);
    return bytes;
}
inline std::string utf16le(std::string_view utf8) {
    return utf16(utf8, "UTF-16LE");
}
inline std::string utf16be(std::string_view utf8) {
    return utf16(utf8, "UTF-16BE");
}

// The unprivileged account that permission tests switch to when they run as the superuser,
// whom file permissions do not stop.
inline constexpr uid_t NobodyId = 65534;
inline constexpr int CannotDropPrivileges = 125;

/// Hands a file or folder made by the test to the account that runUnprivileged runs as.
inline void giveToUnprivileged(const std::string& path) {
    if (::geteuid() == 0 && ::chown(path.c_str(), NobodyId, NobodyId) != 0)
        std::abort();
}

/// Runs body() in a child process in which file permissions apply: the superuser's child
/// becomes the user "nobody" first. The exit status of the child (body's result), or nothing
/// when the child could not drop its privileges.
template <typename Body> std::optional<int> runUnprivileged(Body body) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(NobodyId) != 0 || ::setuid(NobodyId) != 0))
            ::_exit(CannotDropPrivileges);
        ::_exit(body());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    if (WEXITSTATUS(status) == CannotDropPrivileges)
        return std::nullopt;
    return WEXITSTATUS(status);
}

/// Child processes that run one body each, all starting together once every one is forked.
class Children {
public:
    /// body(i) runs in the i-th child; its result is the child's exit status.
    template <typename Body> Children(int count, Body body) {
        int gate[2];
        if (::pipe(gate) != 0)
            std::abort();
        for (int i = 0; i < count; ++i) {
            const pid_t child = ::fork();
            if (child < 0)
                std::abort();
            if (child == 0) {
                ::close(gate[1]);
                char ignored = 0;
                // Returns when the parent closes its end.
                static_cast<void>(::read(gate[0], &ignored, 1));
                ::_exit(body(i));
            }
            m_pids.push_back(child);
        }
        ::close(gate[0]);
        ::close(gate[1]);
    }
    ~Children() {
        kill();
        static_cast<void>(succeeded());
    }
    Children(const Children&) = delete;
    Children& operator=(const Children&) = delete;

    /// True once every child has ended; does not wait.
    bool finished() {
        for (pid_t& pid : m_pids)
            reap(pid, WNOHANG);
        return std::all_of(m_pids.begin(), m_pids.end(), [](pid_t pid) { return pid < 0; });
    }
    /// Waits for every child; true when each exited with status 0.
    bool succeeded() {
        for (pid_t& pid : m_pids)
            reap(pid, 0);
        return m_allZero;
    }
    /// Ends every child still running with SIGKILL, as a crash would.
    void kill() {
        for (const pid_t pid : m_pids)
            if (pid > 0)
                ::kill(pid, SIGKILL);
    }

private:
    void reap(pid_t& pid, int options) {
        int status = 0;
        if (pid > 0 && ::waitpid(pid, &status, options) == pid) {
            m_allZero = m_allZero && WIFEXITED(status) && WEXITSTATUS(status) == 0;
            pid = -1;
        }
    }
    std::vector<pid_t> m_pids;
    bool m_allZero = true;
};

/// Holds the exclusive lock of a file from another process, as `flock -x FILE sleep N` does,
/// for `hold` or until the holder is destroyed.
class LockHolder {
public:
    LockHolder(const std::string& path, std::chrono::milliseconds hold) {
        int ready[2];
        if (::pipe(ready) != 0)
            std::abort();
        m_pid = ::fork();
        if (m_pid == 0) {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0 || ::flock(fd, LOCK_EX) != 0 || ::write(ready[1], "L", 1) != 1)
                ::_exit(1);
            std::this_thread::sleep_for(hold);
            ::_exit(0);
        }
        ::close(ready[1]);
        char byte = 0;
        m_locked = m_pid > 0 && ::read(ready[0], &byte, 1) == 1;
        ::close(ready[0]);
    }
    ~LockHolder() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool locked() const { return m_locked; }

private:
    pid_t m_pid = -1;
    bool m_locked = false;
};

/// A small tmpfs mounted for the test, to fill the disk; only the superuser can mount one.
class SmallDisk {
public:
    explicit SmallDisk(std::size_t bytes) {
        std::string options("size=");
        options += std::to_string(bytes);
        m_mounted = ::geteuid() == 0 &&
                    ::mount("tmpfs", m_folder.path().c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk() {
        if (m_mounted)
            ::umount2(m_folder.path().c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return m_mounted; }
    std::string path() const { return m_folder.path(); }
    std::string file(std::string_view name) const { return m_folder.file(name); }

    /// Fills what is left of the disk with a file of the given name.
    void fill(std::string_view name) const {
        const int fd = ::open(file(name).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        const std::string block(4096, 'f');
        while (fd >= 0 && ::write(fd, block.data(), block.size()) > 0) {
        }
        ::close(fd);
    }

private:
    TempFolder m_folder;
    bool m_mounted = false;
};

} // namespace vorlane::test
