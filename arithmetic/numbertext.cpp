#include "arithmetic/numbertext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace vorlane {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isReadBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
// The numeric test allows these around the number.
constexpr std::string_view EdgeBlanks = " \t";

// Once the exponent is further from zero than the mantissa is long, by more than the decimal
// range of a double, the exponent alone decides between overflow and underflow. Clamping it
// there keeps a run of exponent digits from overflowing our counter without changing a result.
constexpr long long ExponentMarginBeyondMantissa = 400;

// The parts of a number taken from a text, blanks already removed: the mantissa digits with the
// decimal point where it stood, the exponent clamped, and how many characters the number took.
struct NumberParts {
    bool negative = false;
    std::string mantissa;
    long long exponent = 0;
    bool hasDigits = false;
    std::size_t length = 0;
};

// Takes the longest number at the start of the text. An exponent marker without digits after
// it is not part of the number ("1e" is 1, and for the numeric test the "e" is left over).
NumberParts scanNumber(std::string_view text) {
    const auto at = [text](std::size_t pos) { return pos < text.size() ? text[pos] : '\0'; };
    NumberParts parts;
    std::size_t pos = 0;
    if (at(pos) == '+' || at(pos) == '-')
        parts.negative = text[pos++] == '-';
    bool seenPoint = false;
    for (char c = at(pos); isDigit(c) || (c == '.' && !seenPoint); c = at(++pos)) {
        seenPoint = seenPoint || c == '.';
        parts.hasDigits = parts.hasDigits || c != '.';
        parts.mantissa.push_back(c);
    }
    parts.length = pos;
    if (!parts.hasDigits || (at(pos) != 'e' && at(pos) != 'E'))
        return parts;
    const bool negativeExponent = at(++pos) == '-';
    if (at(pos) == '+' || negativeExponent)
        ++pos;
    if (!isDigit(at(pos)))
        return parts;
    const long long limit =
        static_cast<long long>(parts.mantissa.size()) + ExponentMarginBeyondMantissa;
    long long exponent = 0;
    for (; isDigit(at(pos)); ++pos)
        exponent = std::min(exponent * 10 + (at(pos) - '0'), limit);
    parts.exponent = negativeExponent ? -exponent : exponent;
    parts.length = pos;
    return parts;
}

double toDouble(const NumberParts& parts) {
    if (!parts.hasDigits)
        return 0.0;
    std::string text = parts.mantissa;
    if (parts.exponent != 0) {
        text.push_back('e');
        text += std::to_string(parts.exponent);
    }
    // from_chars leaves the value alone where it fails.
    double magnitude = 0.0;
    const std::errc error = std::from_chars(text.data(), text.data() + text.size(), magnitude).ec;
    if (error == std::errc::result_out_of_range) {
        // Tell an overflow from an underflow by where the leading significant digit stands: the
        // digits before the point, less the zeros ahead of that digit, plus the exponent.
        const std::string& digits = parts.mantissa;
        const std::size_t point = std::min(digits.find('.'), digits.size());
        const std::size_t lead = digits.find_first_not_of("0.");
        const long long leadPower =
            static_cast<long long>(point) - static_cast<long long>(lead > point ? lead - 1 : lead);
        const bool overflow = lead != std::string::npos && leadPower + parts.exponent > 0;
        magnitude = overflow ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return parts.negative ? -magnitude : magnitude;
}

template <typename Int> std::optional<Int> roundToInteger(double value) {
    constexpr double low = static_cast<double>(std::numeric_limits<Int>::min()) - 0.5;
    constexpr double high = static_cast<double>(std::numeric_limits<Int>::max()) + 0.5;
    // The low half rounds to the even minimum and stays in range; the high half rounds up to an
    // even value one past the maximum. NaN fails both comparisons.
    if (!(value >= low && value < high))
        return std::nullopt;
    // nearbyint rounds in the current rounding mode, to nearest with ties to even, which
    // nothing in the program changes.
    return static_cast<Int>(std::nearbyint(value));
}

// The magnitude written out with the given number of decimals, rounded to nearest with an exact
// half going to the even neighbour. The rounding is judged on the exact binary value: the double
// nearest 0.015 lies just below it and shows as 0.01. libstdc++'s to_chars with a precision
// (Ryu's fixed formatting) works on the exact value and sends an exact tie to the even digit.
std::string fixedMagnitude(double magnitude, int decimals) {
    // Enough for the 309 integer digits of the largest double, a point and decimals.
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return "0";
    return std::string(buffer.data(), result.ptr);
}

} // namespace

std::string_view trimBlanks(std::string_view text, std::string_view blanks) {
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::string_view trimSpaces(std::string_view text) {
    return trimBlanks(text, " ");
}

double readValue(std::string_view text) {
    // Blanks count for nothing wherever they stand, inside the number too.
    std::string compact(text);
    std::erase_if(compact, isReadBlank);
    return toDouble(scanNumber(compact));
}

bool isNumeric(std::string_view text) {
    const std::string_view core = trimBlanks(text, EdgeBlanks);
    const NumberParts parts = scanNumber(core);
    return parts.hasDigits && parts.length == core.size();
}

std::optional<double> toNumberStrict(std::string_view text) {
    if (!isNumeric(text))
        return std::nullopt;
    const double value = readValue(text);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> roundToInt32(double value) {
    return roundToInteger<std::int32_t>(value);
}

std::optional<std::int16_t> roundToInt16(double value) {
    return roundToInteger<std::int16_t>(value);
}

std::string formatNumber(double value, std::string_view pattern) {
    const auto point = pattern.find('.');
    const std::string_view integerPattern = pattern.substr(0, point);
    const int decimals =
        point == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
    std::size_t minIntegerDigits = 0;
    for (char c : integerPattern)
        minIntegerDigits += c == '0' ? 1 : 0;

    if (!std::isfinite(value))
        value = 0.0;
    std::string digits = fixedMagnitude(std::fabs(value), decimals);
    std::size_t integerDigits = digits.find('.');
    if (integerDigits == std::string::npos)
        integerDigits = digits.size();
    if (minIntegerDigits == 0 && integerDigits == 1 && digits.front() == '0') {
        digits.erase(0, 1);
        integerDigits = 0;
    }
    if (integerDigits < minIntegerDigits)
        digits.insert(0, minIntegerDigits - integerDigits, '0');

    const bool allZero = digits.find_first_of("123456789") == std::string::npos;
    return std::signbit(value) && !allZero ? "-" + digits : digits;
}

} // namespace vorlane
