#include "settings/characters.h"

#include <algorithm>

namespace vorlane {
namespace {

bool isCp932Lead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
bool isCp932Trail(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

} // namespace

std::size_t utf8SequenceLength(std::string_view bytes, std::size_t pos) {
    const unsigned char lead = byteAt(bytes, pos);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (bytes.size() - pos < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char c = byteAt(bytes, pos + i);
        const unsigned char min = i == 1 ? low : 0x80;
        const unsigned char max = i == 1 ? high : 0xBF;
        if (c < min || c > max)
            return 0;
    }
    return length;
}

std::size_t characterLength(std::string_view bytes, std::size_t pos, ProfileEncoding encoding) {
    if (encoding == ProfileEncoding::Utf8)
        return std::max<std::size_t>(utf8SequenceLength(bytes, pos), 1);
    const bool pair = isCp932Lead(byteAt(bytes, pos)) && pos + 1 < bytes.size() &&
                      isCp932Trail(byteAt(bytes, pos + 1));
    return pair ? 2 : 1;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b, ProfileEncoding encoding) {
    if (a.size() != b.size())
        return false;
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    for (std::size_t pos = 0; pos < a.size();) {
        const std::size_t length = characterLength(a, pos, encoding);
        if (length != characterLength(b, pos, encoding))
            return false;
        if (length == 1 ? lower(a[pos]) != lower(b[pos])
                        : a.substr(pos, length) != b.substr(pos, length))
            return false;
        pos += length;
    }
    return true;
}

} // namespace vorlane
