#pragma once

// Conversion between the program's texts (UTF-8) and the bytes of a settings file. The file is
// in code page 932, Windows' Shift_JIS, as the program's files on Japanese Windows are, unless
// it is recognisably UTF-8 (a file edited in a Linux editor) or UTF-16 with a byte order mark
// (Notepad's "Unicode"); each file keeps its encoding.

#include "settings/characters.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vorlane {

/// How the bytes of a settings file hold its text.
enum class FileEncoding { Cp932, Utf8, Utf16Le, Utf16Be };

/// Utf16Le or Utf16Be when the bytes start with that byte order mark (FF FE or FE FF); Utf8
/// when they start with the UTF-8 mark, or are valid UTF-8 holding at least one character of
/// three or more bytes (Japanese text always has one; the half-width katakana pairs of code
/// page 932 can look like two-byte UTF-8 but never like longer sequences); Cp932 otherwise,
/// also for an empty or pure-ASCII file.
FileEncoding detectEncoding(std::string_view fileBytes);

/// The byte order mark of the encoding; empty for code page 932, which has none. A UTF-8 file
/// may start without it.
std::string_view byteOrderMark(FileEncoding encoding);

/// The encoding in which the line rules read a file of this encoding.
ProfileEncoding textEncoding(FileEncoding encoding);

/// UTF-16 code units in the byte order of the encoding (Utf16Le or Utf16Be), without a byte
/// order mark, as UTF-8 that toUtf16 turns back into the same bytes: half of a surrogate pair
/// standing alone takes the three-byte form UTF-8 would give it if it allowed one, and a last
/// odd byte is left out. Never fails.
std::string fromUtf16(std::string_view units, FileEncoding encoding);

/// The reverse of fromUtf16. A byte that is neither valid UTF-8 nor part of such a lone
/// surrogate's form becomes "?". Never fails.
std::string toUtf16(std::string_view utf8, FileEncoding encoding);

/// The UTF-8 text in the file's encoding. A character the code page lacks, and a byte that is
/// not part of valid UTF-8, becomes "?". Never fails.
std::string encodeText(std::string_view utf8, ProfileEncoding encoding);

/// The file's bytes as UTF-8. A byte or byte pair that does not decode becomes U+FFFD. Never
/// fails.
std::string decodeText(std::string_view bytes, ProfileEncoding encoding);

} // namespace vorlane
