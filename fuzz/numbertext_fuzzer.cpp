// Invariants of the shared number/text conversions over arbitrary bytes. The input is a text;
// its first eight bytes, read as a double, add values that no text reaches (NaN, infinities,
// subnormals, halves near the integer limits).

#include "arithmetic/numbertext.h"
#include "require.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace {

using vorlane::test::require;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// -?D+ where D+ has no leading zero unless it is "0", and at least minDigits digits.
bool isIntegerText(std::string_view text, std::size_t minDigits) {
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    if (text.size() < minDigits || text.empty())
        return false;
    for (char c : text) {
        if (!isDigit(c))
            return false;
    }
    return text.size() <= minDigits || text.size() == 1 || text.front() != '0';
}

bool hasNonZeroDigit(std::string_view text) {
    return text.find_first_of("123456789") != std::string_view::npos;
}

void checkTrim(std::string_view text) {
    const std::string_view trimmed = vorlane::trimSpaces(text);
    const bool allSpaces = text.find_first_not_of(' ') == std::string_view::npos;
    require(trimmed.empty() == allSpaces, "trimSpaces empties exactly an all-space text");
    if (trimmed.empty())
        return;
    require(trimmed.data() >= text.data() &&
                trimmed.data() + trimmed.size() <= text.data() + text.size(),
            "trimSpaces gives a part of its text");
    require(trimmed.front() != ' ' && trimmed.back() != ' ', "trimSpaces leaves no edge space");
    require(vorlane::trimSpaces(trimmed) == trimmed, "trimSpaces is idempotent");
}

void checkReading(std::string_view text) {
    const double value = vorlane::readValue(text);
    require(!std::isnan(value), "readValue never gives NaN");

    // Value reading skips blanks wherever they stand, so removing them changes nothing.
    std::string compact;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n')
            compact.push_back(c);
    }
    require(vorlane::readValue(compact) == value, "blanks are transparent to readValue");
    if (!compact.empty() && (isDigit(compact.front()) || compact.front() == '.'))
        require(vorlane::readValue("-" + compact) == -value, "a minus sign negates the value");

    if (!compact.empty() && compact.size() <= 19 &&
        compact.find_first_not_of("0123456789") == std::string::npos) {
        std::uint64_t integer = 0;
        for (char c : compact)
            integer = integer * 10 + static_cast<std::uint64_t>(c - '0');
        require(value == static_cast<double>(integer), "a digit string reads as its integer");
    }

    const bool numeric = vorlane::isNumeric(text);
    const auto strict = vorlane::toNumberStrict(text);
    if (strict) {
        require(numeric, "only a numeric text converts strictly");
        require(std::isfinite(*strict) && *strict == value,
                "strict conversion agrees with readValue");
    }
    if (!numeric)
        return;
    require(strict || std::isinf(value), "a numeric text converts unless it overflows a double");
    require(text.find_first_not_of("0123456789+-.eE \t") == std::string_view::npos,
            "a numeric text holds only number characters and edge blanks");
    require(text.find_first_of("0123456789") != std::string_view::npos,
            "a numeric text holds a digit");
    const std::string padded = " \t" + std::string(text) + "\t ";
    require(vorlane::isNumeric(padded), "edge blanks keep a text numeric");
    require(!vorlane::isNumeric(std::string(text) + "x"), "trailing garbage is not numeric");
}

template <typename Int>
void checkRounding(double value, std::optional<Int> rounded, const char* name) {
    const double low = static_cast<double>(std::numeric_limits<Int>::min()) - 0.5;
    const double high = static_cast<double>(std::numeric_limits<Int>::max()) + 0.5;
    const bool inRange = value >= low && value < high;
    require(rounded.has_value() == inRange, name);
    if (!rounded)
        return;
    const double distance = std::fabs(static_cast<double>(*rounded) - value);
    require(distance <= 0.5, "rounding moves at most half");
    if (distance == 0.5)
        require(*rounded % 2 == 0, "an exact half rounds to even");
}

void checkIntegerFormats(std::int32_t integer) {
    const std::string plain = vorlane::formatNumber(integer, "0");
    require(isIntegerText(plain, 1), "\"0\" shows a plain integer");
    require(vorlane::readValue(plain) == integer, "\"0\" reads back to the same integer");
    require(vorlane::isNumeric(plain), "\"0\" output is numeric");
    require(vorlane::formatNumber(integer, "#0") == plain, "\"#0\" shows as \"0\"");
    require(vorlane::formatNumber(integer, "#####0") == plain, "\"#####0\" shows as \"0\"");

    const std::string two = vorlane::formatNumber(integer, "00");
    require(isIntegerText(two, 2), "\"00\" shows at least two digits");
    require(vorlane::readValue(two) == integer, "\"00\" reads back to the same integer");
}

void checkDecimalFormat(double value) {
    const std::string text = vorlane::formatNumber(value, "00.00");
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '-')
        digits.remove_prefix(1);
    const auto point = digits.find('.');
    require(point != std::string_view::npos && point >= 2 && digits.size() == point + 3,
            "\"00.00\" shows two or more integer digits and exactly two decimals");
    for (std::size_t i = 0; i < digits.size(); ++i)
        require(i == point || isDigit(digits[i]), "\"00.00\" shows only digits and a point");
    require(hasNonZeroDigit(digits) || text.front() != '-', "a zero shows no minus sign");
    if (!std::isfinite(value)) {
        require(text == "00.00", "a non-finite value shows as zero");
        return;
    }
    if (std::fabs(value) < 1e9) {
        require(std::fabs(vorlane::readValue(text) - value) <= 0.005 + 1e-6,
                "\"00.00\" rounds to the nearest hundredth");
    }
    if (std::fabs(value) < 9e15) {
        const std::string whole = vorlane::formatNumber(value, "0");
        require(std::fabs(vorlane::readValue(whole) - value) <= 0.5,
                "\"0\" rounds to the nearest integer");
    }
}

void checkValue(double value) {
    const auto rounded = vorlane::roundToInt32(value);
    checkRounding(value, rounded, "roundToInt32 fails exactly outside the 32-bit range");
    checkRounding(value, vorlane::roundToInt16(value),
                  "roundToInt16 fails exactly outside the 16-bit range");
    if (rounded)
        checkIntegerFormats(*rounded);
    checkDecimalFormat(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkTrim(text);
    checkReading(text);
    checkValue(vorlane::readValue(text));
    if (size >= sizeof(double)) {
        double raw = 0.0;
        std::memcpy(&raw, data, sizeof raw);
        checkValue(raw);
        checkValue(raw * 100.0);
    }
    return 0;
}
