#include "window/boxtext.h"

namespace vorlane {

std::string numberText(std::u16string_view text) {
    constexpr char16_t FirstNonAscii = 0x80;
    constexpr char NotANumberCharacter = '\x80';
    std::string narrow;
    narrow.reserve(text.size());
    for (const char16_t unit : text)
        narrow.push_back(unit < FirstNonAscii ? static_cast<char>(unit) : NotANumberCharacter);
    return narrow;
}

std::u16string boxText(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

} // namespace vorlane
