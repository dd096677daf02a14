#include "settings/profiletext.h"

#include "arithmetic/numbertext.h"
#include "settings/codepage.h"

#include <algorithm>

namespace vorlane {
namespace {

constexpr std::string_view NewLine = "\r\n";

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

std::string_view withoutBlanks(std::string_view text) {
    return trimBlanks(text, ProfileBlanks);
}

std::string_view untilZero(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

// A caller's section or key name in the file's encoding, as the file layer compares it.
std::string fileName(std::string_view name, ProfileEncoding encoding) {
    return encodeText(withoutBlanks(untilZero(name)), encoding);
}

// One line of the file: its text is [begin, end), its line end [end, next).
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
    bool terminated() const { return next > end; }
};

// The line that starts at `begin`, which lies inside the bytes.
Line lineAt(std::string_view bytes, std::size_t begin) {
    Line line{begin, std::min(bytes.find_first_of(NewLine, begin), bytes.size()), 0};
    if (line.end == bytes.size())
        line.next = line.end;
    else
        line.next = line.end + (bytes.substr(line.end, 2) == NewLine ? 2 : 1);
    return line;
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;
    std::string_view value;
};

// '[' and ']' can be the trail byte of a code page 932 character, but '=', ';', blanks and
// line ends cannot, so only the search for ']' needs to step by characters.
ParsedLine parseLine(std::string_view text, ProfileEncoding encoding) {
    text = withoutBlanks(text);
    if (text.empty() || text.front() == ';')
        return {};
    if (text.front() == '[') {
        std::size_t pos = 1;
        while (pos < text.size() && text[pos] != ']')
            pos += characterLength(text, pos, encoding);
        return {LineKind::Section, withoutBlanks(text.substr(1, pos - 1)), {}};
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return {};
    return {LineKind::Key, withoutBlanks(text.substr(0, equals)),
            withoutBlanks(text.substr(equals + 1))};
}

// Where a key stands in the file, or where it would be added.
struct Location {
    std::optional<Line> header;      // the first header of the section
    std::optional<Line> keyLine;     // the first line of the key in that section
    std::optional<Line> lastKeyLine; // the last key line of that section, when the key is missing
    std::string_view storedKey;
    std::string_view value;
};

Location locate(std::string_view bytes, ProfileEncoding encoding, std::string_view section,
                std::string_view key) {
    Location location;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const Line line = lineAt(bytes, pos);
        pos = line.next;
        const ParsedLine parsed =
            parseLine(bytes.substr(line.begin, line.end - line.begin), encoding);
        if (!location.header) {
            if (parsed.kind == LineKind::Section &&
                equalsIgnoringAsciiCase(parsed.name, section, encoding))
                location.header = line;
            continue;
        }
        if (parsed.kind == LineKind::Section)
            break;
        if (parsed.kind != LineKind::Key)
            continue;
        if (equalsIgnoringAsciiCase(parsed.name, key, encoding)) {
            location.keyLine = line;
            location.storedKey = parsed.name;
            location.value = parsed.value;
            break;
        }
        location.lastKeyLine = line;
    }
    return location;
}

std::string_view withoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string_view cutToLimit(std::string_view value, ProfileEncoding encoding) {
    std::size_t pos = 0;
    while (pos < value.size()) {
        const std::size_t length = characterLength(value, pos, encoding);
        if (pos + length > MaxValueBytes)
            break;
        pos += length;
    }
    return value.substr(0, pos);
}

// A settings file cut into its byte order mark, the text that the line rules read, and what
// follows that text: for a UTF-16 file with an odd number of bytes, the last byte.
class FileText {
public:
    explicit FileText(std::string_view fileBytes) : m_file(detectEncoding(fileBytes)) {
        const std::string_view mark = byteOrderMark(m_file);
        m_mark = fileBytes.starts_with(mark) ? mark : std::string_view();
        m_text = fileBytes.substr(m_mark.size());
        if (utf16()) {
            m_tail = m_text.substr(m_text.size() - m_text.size() % 2);
            m_converted = fromUtf16(m_text, m_file);
            m_text = m_converted;
        }
    }
    FileText(const FileText&) = delete;
    FileText& operator=(const FileText&) = delete;

    ProfileEncoding encoding() const { return textEncoding(m_file); }
    std::string_view text() const { return m_text; }

    // The file's bytes with `text` in place of the old text.
    std::string withText(std::string&& text) const {
        if (m_mark.empty())
            return std::move(text);
        std::string bytes(m_mark);
        bytes += utf16() ? toUtf16(text, m_file) : text;
        bytes += m_tail;
        return bytes;
    }

private:
    bool utf16() const {
        return m_file == FileEncoding::Utf16Le || m_file == FileEncoding::Utf16Be;
    }
    FileEncoding m_file;
    std::string_view m_mark;
    std::string_view m_text;
    std::string_view m_tail;
    std::string m_converted;
};

} // namespace

std::optional<std::string> findProfileValue(std::string_view fileBytes, std::string_view section,
                                            std::string_view key) {
    const FileText file(fileBytes);
    const ProfileEncoding encoding = file.encoding();
    const Location location =
        locate(file.text(), encoding, fileName(section, encoding), fileName(key, encoding));
    if (!location.keyLine)
        return std::nullopt;
    return decodeText(cutToLimit(untilZero(withoutQuotes(location.value)), encoding), encoding);
}

std::string withProfileValue(std::string_view fileBytes, std::string_view section,
                             std::string_view key, std::string_view value) {
    const FileText file(fileBytes);
    const ProfileEncoding encoding = file.encoding();
    const std::string_view text = file.text();
    const std::string fileSection = fileName(section, encoding);
    const std::string fileKey = fileName(key, encoding);
    const std::string fileValue = encodeText(untilZero(value), encoding);
    const Location location = locate(text, encoding, fileSection, fileKey);

    // A key's line as the file spells the key, without its line end.
    const auto keyLine = [&](std::string_view name) { return std::string(name) + '=' + fileValue; };
    std::string result;
    if (location.keyLine) {
        result += text.substr(0, location.keyLine->begin);
        result += keyLine(location.storedKey);
        result += text.substr(location.keyLine->end);
    } else if (location.header) {
        const Line& after = location.lastKeyLine.value_or(*location.header);
        result += text.substr(0, after.next);
        if (!after.terminated())
            result += NewLine;
        result += keyLine(fileKey);
        result += NewLine;
        result += text.substr(after.next);
    } else {
        result += text;
        if (!text.empty() && !isLineEnd(text.back()))
            result += NewLine;
        result += '[' + fileSection + ']';
        result += NewLine;
        result += keyLine(fileKey);
        result += NewLine;
    }
    return file.withText(std::move(result));
}

} // namespace vorlane
