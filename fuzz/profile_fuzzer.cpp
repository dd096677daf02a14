// Fuzzes the profile-file reader and writer. The input is
//     section \x01 key \x01 value \x01 file bytes
// (missing fields are empty); section, key and value are UTF-8 texts of the program, the file
// bytes go into a settings file as they stand. Whatever the bytes, reading and writing must not
// crash, a write must keep every character of the file outside the one line it changes (every
// byte, for a UTF-16 file the byte order mark and units too), and after a write the same key
// must read back the written value whenever the file format can hold it.

#include "arithmetic/numbertext.h"
#include "profilestrings.h"
#include "require.h"
#include "settings/codepage.h"
#include "settings/profilefile.h"
#include "settings/profiletext.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

using namespace vorlane;

// GetIniString gives MissingValue for no such key; a file value can equal it, but both sides of
// every comparison read through the same default.

using vorlane::test::GetIniString;
using vorlane::test::PutIniString;
using vorlane::test::require;

std::string_view nextField(std::string_view& input) {
    const std::size_t separator = input.find('\x01');
    const std::string_view field = input.substr(0, separator);
    input = separator == std::string_view::npos ? std::string_view() : input.substr(separator + 1);
    return field;
}

// One file per fuzzing process, in memory where the system has a tmpfs: every write flushes
// the file to disk, which on a real disk would slow the fuzzer a hundredfold. A plain array, not
// a std::string, so that it outlives the exit handler that removes the file.
const char* settingsPath() {
    static char path[64] = {};
    static const bool registered = [] {
        const char* folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::snprintf(path, sizeof path, "%s/profile_fuzzer-%ld.ini", folder,
                      static_cast<long>(::getpid()));
        return std::atexit([] { ::unlink(path); }) == 0;
    }();
    (void)registered;
    return path;
}

void writeFileBytes(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        std::abort();
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t count = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (count <= 0)
            std::abort();
        done += static_cast<std::size_t>(count);
    }
    ::close(fd);
}

std::string readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

bool hasLineEnd(std::string_view text) {
    return text.find_first_of("\r\n") != text.npos;
}

// A name as the file layer takes it: up to a zero byte, without surrounding blanks.
std::string_view effectiveName(std::string_view name) {
    return trimBlanks(name.substr(0, name.find('\0')), ProfileBlanks);
}

bool isUtf16(FileEncoding encoding) {
    return encoding == FileEncoding::Utf16Le || encoding == FileEncoding::Utf16Be;
}

// The file's text as the line rules see it: a UTF-16 file's units after its mark, as UTF-8.
std::string lineText(std::string_view bytes) {
    const FileEncoding encoding = detectEncoding(bytes);
    if (!isUtf16(encoding))
        return std::string(bytes);
    return fromUtf16(bytes.substr(byteOrderMark(encoding).size()), encoding);
}

// A section name that a "[name]" header line gives back.
bool sectionFits(std::string_view section) {
    return !hasLineEnd(section) && section.find(']') == section.npos;
}

// A key that a "key=value" line gives back, and that does not make the line a header or a
// comment.
bool keyFits(std::string_view key) {
    return !hasLineEnd(key) && key.find('=') == key.npos &&
           (key.empty() || (key.front() != '[' && key.front() != ';'));
}

// A value that a read gives back unchanged from a file in this encoding.
bool valueFits(std::string_view value, ProfileEncoding encoding) {
    if (hasLineEnd(value) || trimBlanks(value, ProfileBlanks) != value)
        return false;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return false;
    const std::string encoded = encodeText(value, encoding);
    return encoded.size() <= MaxValueBytes && decodeText(encoded, encoding) == value;
}

// True when the old bytes are all in the new ones except for a run inside one line: the part
// of the old file between the longest common prefix and suffix holds no line end.
bool changesAtMostOneLine(std::string_view before, std::string_view after) {
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    return !hasLineEnd(before.substr(prefix, before.size() - prefix - suffix));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view section = nextField(input);
    const std::string_view key = nextField(input);
    const std::string_view value = nextField(input);
    const std::string_view fileBytes = input;

    const std::string path = settingsPath();
    writeFileBytes(path, fileBytes);

    require(GetIniString(section, key, path) ==
                findProfileValue(fileBytes, section, key).value_or(std::string(MissingValue)),
            "the file read differs from the read of the same bytes in memory");
    const std::string otherKey = std::string(effectiveName(key)) + "~";
    const std::string otherBefore = GetIniString(section, otherKey, path);

    require(PutIniString(path, section, key, value),
            "a write to a small file in a writable folder failed");
    const std::string after = readFileBytes(path);
    require(changesAtMostOneLine(lineText(fileBytes), lineText(after)),
            "a write changed more than one line");
    // The lines of a UTF-16 file are compared as UTF-8; that keeps the bytes of the others only
    // because the conversion goes back to the same units.
    if (const FileEncoding before = detectEncoding(fileBytes); isUtf16(before)) {
        const std::string_view units = fileBytes.substr(2, (fileBytes.size() - 2) / 2 * 2);
        require(toUtf16(fromUtf16(units, before), before) == units,
                "UTF-16 units do not convert back to themselves");
    }

    // A write can turn a code page 932 file into valid UTF-8, which reads it differently from
    // then on; the read-back checks hold only while the file keeps its encoding.
    const FileEncoding fileEncoding = detectEncoding(after);
    if (fileEncoding != detectEncoding(fileBytes))
        return 0;
    require(!isUtf16(fileEncoding) || after.size() % 2 == fileBytes.size() % 2,
            "a write to a UTF-16 file changed its byte alignment");
    if (isUtf16(fileEncoding) && fileBytes.size() % 2 == 1)
        require(after.back() == fileBytes.back(), "a UTF-16 file lost its odd last byte");
    const ProfileEncoding encoding = textEncoding(fileEncoding);
    const std::string_view effectiveValue = value.substr(0, value.find('\0'));
    const bool wellFormed = sectionFits(effectiveName(section)) && keyFits(effectiveName(key)) &&
                            !hasLineEnd(effectiveValue);
    if (!wellFormed)
        return 0;
    require(GetIniString(section, otherKey, path) == otherBefore, "a write changed another key");
    require(!valueFits(effectiveValue, encoding) ||
                GetIniString(section, key, path) == effectiveValue,
            "the key does not read back the value written");
    return 0;
}
