#pragma once

// The profile (INI) file format as Windows' GetPrivateProfileStringA and
// WritePrivateProfileStringA read and write it, over the file's bytes in memory: lines of
// "[section]" and "key=value", ";" comments, CRLF, LF or CR line ends, blanks (ProfileBlanks)
// around names and values. Section and key names match regardless of ASCII letter case; the
// first matching section, and the first matching key in it, wins. Names and values passed in are
// UTF-8 and end at their first zero byte, as the C strings of the Windows functions do; names are
// taken without surrounding blanks. The file keeps its encoding (see detectEncoding): code page
// 932, UTF-8, or UTF-16 in either byte order, whose lines are read as UTF-8.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vorlane {

/// What Windows takes for blanks around names and values: space, TAB, VT, FF, CR, and the
/// end-of-file mark 0x1A that old DOS editors leave.
inline constexpr std::string_view ProfileBlanks = " \t\v\f\r\x1A";

/// The most bytes of a value that a read delivers: Windows fills a 2600-byte buffer and ends
/// it with a zero byte.
inline constexpr std::size_t MaxValueBytes = 2599;

/// The value of the key in the section, as UTF-8: blanks around it removed, then one pair of
/// matching quotes (" or ') around it, then cut at a zero byte and at MaxValueBytes bytes of the
/// file's encoding (of its UTF-8 form for a UTF-16 file), never inside a character. Nothing when
/// the section or the key is missing.
std::optional<std::string> findProfileValue(std::string_view fileBytes, std::string_view section,
                                            std::string_view key);

/// The file's bytes after storing value under key in section. An existing key's line becomes
/// "key=value" (the name as the file spells it, the line end kept); a missing key is added right
/// after the last key line of the section; a missing section is appended at the end. Added lines
/// end with CRLF. Every other byte stays as it was, and so do the byte order mark and the byte
/// order of a UTF-16 file.
std::string withProfileValue(std::string_view fileBytes, std::string_view section,
                             std::string_view key, std::string_view value);

} // namespace vorlane
