#pragma once

// Conversion between the program's texts (UTF-8) and the bytes of a settings file. The file is
// in code page 932, Windows' Shift_JIS, as the program's files on Japanese Windows are, unless
// it is recognisably UTF-8 (a file edited in a Linux editor), in which case it stays UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

namespace vorlane {

enum class ProfileEncoding { Cp932, Utf8 };

/// Utf8 when the bytes start with a UTF-8 byte-order mark, or are valid UTF-8 and hold a byte
/// outside ASCII; Cp932 otherwise, also for an empty or pure-ASCII file.
ProfileEncoding detectEncoding(std::string_view fileBytes);

/// The length in bytes (1 to 4) of the character that starts at `pos`, which must lie inside
/// the bytes: 2 for a code page 932 lead byte followed by a valid trail byte, the sequence
/// length for valid UTF-8, and 1 for any single or undecodable byte.
std::size_t characterLength(std::string_view bytes, std::size_t pos, ProfileEncoding encoding);

/// The UTF-8 text in the file's encoding. A character the code page lacks, and a byte that is
/// not part of valid UTF-8, becomes "?". Never fails.
std::string encodeText(std::string_view utf8, ProfileEncoding encoding);

/// The file's bytes as UTF-8. A byte or byte pair that does not decode becomes U+FFFD. Never
/// fails.
std::string decodeText(std::string_view bytes, ProfileEncoding encoding);

} // namespace vorlane
