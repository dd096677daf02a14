#include "settings/codepage.h"

#include "settings/characters.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <iconv.h>
#include <optional>

namespace vorlane {
namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LeMark = "\xFF\xFE";
constexpr std::string_view Utf16BeMark = "\xFE\xFF";
constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD"; // U+FFFD
constexpr char UnencodableCharacter = '?';

// One glibc iconv conversion descriptor. When glibc lacks the code page (a system without its
// gconv modules), every conversion stops at once and the callers' fallbacks take over.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts from the start of `in` up to the first byte it cannot convert, appending to
    // `out`; returns how many input bytes it took.
    std::size_t convert(std::string_view in, std::string& out) {
        if (!valid())
            return 0;
        // iconv's interface is not const-correct; it never writes through the input pointer.
        char* input = const_cast<char*>(in.data());
        std::size_t inputLeft = in.size();
        std::array<char, 1024> chunk{};
        while (inputLeft > 0) {
            char* output = chunk.data();
            std::size_t outputLeft = chunk.size();
            const std::size_t result = iconv(m_cd, &input, &inputLeft, &output, &outputLeft);
            out.append(chunk.data(), static_cast<std::size_t>(output - chunk.data()));
            if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
                iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
                break;
            }
        }
        return in.size() - inputLeft;
    }

private:
    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t m_cd;
};

// Runs the conversion over the whole input; at each byte it cannot convert, `recover` appends
// what stands for it and returns how many bytes to step over (at least 1).
template <typename Recover>
std::string convertAll(std::string_view in, const char* to, const char* from, Recover recover) {
    Converter converter(to, from);
    std::string out;
    out.reserve(in.size());
    std::size_t pos = 0;
    while (pos < in.size()) {
        pos += converter.convert(in.substr(pos), out);
        if (pos < in.size())
            pos += recover(in, pos, out);
    }
    return out;
}

// Valid UTF-8 passes unchanged; each ill-formed byte is replaced.
std::string sanitizeUtf8(std::string_view in, std::string_view replacement) {
    std::string out;
    out.reserve(in.size());
    for (std::size_t pos = 0; pos < in.size();) {
        const std::size_t length = utf8SequenceLength(in, pos);
        if (length == 0) {
            out += replacement;
            ++pos;
        } else {
            out += in.substr(pos, length);
            pos += length;
        }
    }
    return out;
}

bool littleEndian(FileEncoding encoding) {
    return encoding == FileEncoding::Utf16Le;
}
const char* utf16Name(FileEncoding encoding) {
    return littleEndian(encoding) ? "UTF-16LE" : "UTF-16BE";
}

// A 16-bit code unit (U+0000 to U+FFFF, surrogates included) in the shortest UTF-8-like form.
void appendUtf8Unit(unsigned unit, std::string& out) {
    if (unit < 0x80) {
        out += static_cast<char>(unit);
    } else if (unit < 0x800) {
        out += static_cast<char>(0xC0 | (unit >> 6));
        out += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (unit >> 12));
        out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (unit & 0x3F));
    }
}

void appendUtf16Unit(unsigned unit, bool little, std::string& out) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += little ? low : high;
    out += little ? high : low;
}

// The three-byte form of a lone surrogate (ED A0 80 to ED BF BF), which fromUtf16 writes and
// strict UTF-8 refuses; its unit, or nothing.
std::optional<unsigned> surrogateFormAt(std::string_view bytes, std::size_t pos) {
    if (bytes.size() - pos < 3 || byteAt(bytes, pos) != 0xED || byteAt(bytes, pos + 1) < 0xA0 ||
        (byteAt(bytes, pos + 2) & 0xC0) != 0x80)
        return std::nullopt;
    return 0xD000U | ((byteAt(bytes, pos + 1) & 0x3FU) << 6) | (byteAt(bytes, pos + 2) & 0x3FU);
}

} // namespace

FileEncoding detectEncoding(std::string_view fileBytes) {
    for (const FileEncoding marked :
         {FileEncoding::Utf16Le, FileEncoding::Utf16Be, FileEncoding::Utf8}) {
        if (fileBytes.starts_with(byteOrderMark(marked)))
            return marked;
    }
    std::size_t longest = 0;
    for (std::size_t pos = 0; pos < fileBytes.size();) {
        const std::size_t length = utf8SequenceLength(fileBytes, pos);
        if (length == 0)
            return FileEncoding::Cp932;
        longest = std::max(longest, length);
        pos += length;
    }
    return longest >= 3 ? FileEncoding::Utf8 : FileEncoding::Cp932;
}

std::string_view byteOrderMark(FileEncoding encoding) {
    switch (encoding) {
    case FileEncoding::Utf8:
        return Utf8Mark;
    case FileEncoding::Utf16Le:
        return Utf16LeMark;
    case FileEncoding::Utf16Be:
        return Utf16BeMark;
    case FileEncoding::Cp932:
        break;
    }
    return {};
}

ProfileEncoding textEncoding(FileEncoding encoding) {
    return encoding == FileEncoding::Cp932 ? ProfileEncoding::Cp932 : ProfileEncoding::Utf8;
}

std::string fromUtf16(std::string_view units, FileEncoding encoding) {
    const bool little = littleEndian(encoding);
    // iconv stops only at half a surrogate pair standing alone, also at the very end.
    return convertAll(units.substr(0, units.size() - units.size() % 2), "UTF-8",
                      utf16Name(encoding),
                      [little](std::string_view in, std::size_t pos, std::string& out) {
                          const unsigned first = byteAt(in, pos);
                          const unsigned second = byteAt(in, pos + 1);
                          appendUtf8Unit(little ? second << 8 | first : first << 8 | second, out);
                          return std::size_t{2};
                      });
}

std::string toUtf16(std::string_view utf8, FileEncoding encoding) {
    const bool little = littleEndian(encoding);
    return convertAll(utf8, utf16Name(encoding), "UTF-8",
                      [little](std::string_view in, std::size_t pos, std::string& out) {
                          const std::optional<unsigned> surrogate = surrogateFormAt(in, pos);
                          appendUtf16Unit(surrogate.value_or(UnencodableCharacter), little, out);
                          return surrogate ? std::size_t{3} : std::size_t{1};
                      });
}

std::string encodeText(std::string_view utf8, ProfileEncoding encoding) {
    const std::string_view unencodable(&UnencodableCharacter, 1);
    if (encoding == ProfileEncoding::Utf8)
        return sanitizeUtf8(utf8, unencodable);
    return convertAll(utf8, "CP932", "UTF-8",
                      [&](std::string_view in, std::size_t pos, std::string& out) {
                          // ASCII only fails here when iconv itself is missing.
                          if (byteAt(in, pos) < 0x80) {
                              out += in[pos];
                              return std::size_t{1};
                          }
                          out += unencodable;
                          return std::max<std::size_t>(utf8SequenceLength(in, pos), 1);
                      });
}

std::string decodeText(std::string_view bytes, ProfileEncoding encoding) {
    if (encoding == ProfileEncoding::Utf8)
        return sanitizeUtf8(bytes, ReplacementCharacter);
    return convertAll(bytes, "UTF-8", "CP932",
                      [](std::string_view in, std::size_t pos, std::string& out) {
                          if (byteAt(in, pos) < 0x80) {
                              out += in[pos];
                              return std::size_t{1};
                          }
                          out += ReplacementCharacter;
                          return characterLength(in, pos, ProfileEncoding::Cp932);
                      });
}

} // namespace vorlane
