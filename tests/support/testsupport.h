#pragma once

// Temporary folders, raw file access and the settings file's bytes for the tests, on every
// platform. No test touches a real settings file: each works in a fresh folder under the
// system's temporary directory. On POSIX systems posixsupport.h adds the rest.

#include "settings/profile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

namespace vorlane::test {

class TempFolder {
public:
    explicit TempFolder(
        const std::filesystem::path& parent = std::filesystem::temp_directory_path()) {
        std::random_device seed;
        for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
            std::filesystem::path candidate = parent / ("vorlane-test-" + std::to_string(seed()));
            std::error_code failed;
            if (std::filesystem::create_directory(candidate, failed))
                m_path = std::move(candidate);
        }
    }
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    NativePath path() const { return m_path.native(); }
    /// A file in the folder; the name is UTF-8.
    NativePath file(std::string_view name) const {
        return (m_path / std::u8string(name.begin(), name.end())).native();
    }
    std::size_t entryCount() const {
        const std::filesystem::directory_iterator entries(m_path);
        return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
    }

private:
    std::filesystem::path m_path;
};

/// The parts one after another. Written out rather than with operator+, on which GCC 12 at -O3
/// reports a false -Wrestrict when a string literal comes first.
template <typename... Parts> std::string concat(const Parts&... parts) {
    std::string text;
    (text.append(std::string_view(parts)), ...);
    return text;
}

inline std::optional<std::string> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

inline void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

/// A settings file as the program itself writes it, in code page 932: "[位置]", "[設定]" and
/// "ドロップフレーム" written out in its bytes.
inline std::string settingsFile(std::string_view x, std::string_view y,
                                std::string_view dropFrame) {
    return concat("[\x88\xca\x92\x75]\r\nX=", x, "\r\nY=", y,
                  "\r\n[\x90\xdd\x92\xe8]\r\n"
                  "\x83\x68\x83\x8d\x83\x62\x83\x76\x83\x74\x83\x8c\x81\x5b\x83\x80=",
                  dropFrame, "\r\n");
}

} // namespace vorlane::test

#ifdef _WIN32
inline vorlane::test::TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}
#else
#include "posixsupport.h"
#endif
