#pragma once

// The number/text conversions that the commands, the normalisation, the key rules and the
// settings loader all share. Texts are UTF-8; every character outside ASCII simply does not fit
// a number. The decimal point is always "." whatever the process locale says.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorlane {

/// The text without the leading and trailing characters that `blanks` lists.
std::string_view trimBlanks(std::string_view text, std::string_view blanks);

/// The text without its leading and trailing spaces (U+0020 only; tabs are kept).
std::string_view trimSpaces(std::string_view text);

/// Reads a number from the start of the text. Spaces, tabs and line feeds are skipped wherever
/// they stand; then an optional sign, digits, at most one "." with its digits and an optional
/// exponent are taken, up to the first character that does not fit ("1,200" reads 1). A text
/// with no leading number gives 0. A value too large for a double gives an infinity, which
/// every rounding below rejects; never fails otherwise.
double readValue(std::string_view text);

/// True when the whole text, spaces or tabs before and after allowed, is one number: digits
/// with an optional sign, an optional "." and fraction and an optional exponent. "" fails.
bool isNumeric(std::string_view text);

/// The number of a text that passes isNumeric; nothing for any other text, or for a number
/// too large for a double.
std::optional<double> toNumberStrict(std::string_view text);

/// Rounds to the nearest integer, an exact half to the even neighbour. Nothing when the
/// rounded value lies outside the signed 32-bit range, or for an infinity or a NaN.
std::optional<std::int32_t> roundToInt32(double value);

/// As roundToInt32, for the signed 16-bit range.
std::optional<std::int16_t> roundToInt16(double value);

/// Shows a value in a display pattern of "0" (a digit always shown) and "#" (a digit shown
/// only when significant) with an optional "." and decimals: "0", "#0", "00", "00.00",
/// "#####0". The value is rounded to the pattern's decimals (an exact half of the binary value
/// to the even neighbour); integer digits beyond the pattern are all shown; no grouping. A zero
/// result never carries a minus sign. A non-finite value shows as the pattern's zero.
std::string formatNumber(double value, std::string_view pattern);

} // namespace vorlane
