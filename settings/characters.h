#pragma once

// Characters in the bytes of a settings file's text: where one ends, and comparing names as
// Windows does. Needs nothing of the system, so every platform has it.

#include <cstddef>
#include <string_view>

namespace vorlane {

/// The encoding in which the line rules read a file's text: UTF-16 files are converted to UTF-8
/// first (see fromUtf16).
enum class ProfileEncoding { Cp932, Utf8 };

/// The byte at pos, as a number.
inline unsigned char byteAt(std::string_view bytes, std::size_t pos) {
    return static_cast<unsigned char>(bytes[pos]);
}

/// The length of the well-formed UTF-8 sequence at pos, or 0 when the bytes there are not one
/// (overlong forms, surrogates and code points past U+10FFFF included).
std::size_t utf8SequenceLength(std::string_view bytes, std::size_t pos);

/// The length in bytes (1 to 4) of the character that starts at `pos`, which must lie inside
/// the bytes: 2 for a code page 932 lead byte followed by a valid trail byte, the sequence
/// length for valid UTF-8, and 1 for any single or undecodable byte.
std::size_t characterLength(std::string_view bytes, std::size_t pos, ProfileEncoding encoding);

/// True when the texts are equal but for the letter case of ASCII letters. They are compared
/// character by character, so that a code page 932 trail byte that happens to be an ASCII
/// letter is never folded.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b,
                             ProfileEncoding encoding = ProfileEncoding::Utf8);

} // namespace vorlane
