#pragma once

// Box texts between the toolkits' UTF-16 and the number conversions' bytes.

#include <string>
#include <string_view>

namespace vorlane {

/// A box's text as the number conversions read it: ASCII stays as it is, and every other UTF-16
/// unit becomes the byte 0x80, which no number, separator or blank accepts.
std::string numberText(std::u16string_view text);

/// An ASCII text (what the conversions write) as UTF-16.
std::u16string boxText(std::string_view ascii);

} // namespace vorlane
