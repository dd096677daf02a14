#pragma once

// Temporary folders and raw file access for the settings tests. No test touches a real
// settings file: each works in a fresh folder under the system's temporary directory.

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <iconv.h>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vorlane::test {

class TempFolder {
public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vorlane-settings-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            m_path = pattern;
    }
    ~TempFolder() {
        // A test may have taken away the write permission of the folder itself.
        ::chmod(m_path.c_str(), 0700);
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(std::string_view name) const { return m_path + "/" + std::string(name); }
    std::size_t entryCount() const {
        const std::filesystem::directory_iterator entries(m_path);
        return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
    }

private:
    std::string m_path;
};

inline std::optional<std::string> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

inline void writeBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
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

} // namespace vorlane::test
