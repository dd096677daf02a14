#pragma once

#include <cfloat>
#include <cstdint>
#include <optional>

namespace vorlane {

/// a + b as a signed 32-bit sum, or nothing when the exact sum leaves the 32-bit range.
inline std::optional<std::int32_t> checkedAdd(std::int32_t a, std::int32_t b) {
    std::int32_t result = 0;
    if (__builtin_add_overflow(a, b, &result))
        return std::nullopt;
    return result;
}

/// a * b as a signed 32-bit product, or nothing when the exact product leaves the 32-bit range.
inline std::optional<std::int32_t> checkedMul(std::int32_t a, std::int32_t b) {
    std::int32_t result = 0;
    if (__builtin_mul_overflow(a, b, &result))
        return std::nullopt;
    return result;
}

/// floor(a / b) for a positive divisor b, in integers. For divisors up to 108000 it equals the
/// floor of the double-precision quotient for every 32-bit dividend: a quotient that is not an
/// integer lies at least 1/108000 from one, and the double quotient of numbers below 2^31 is
/// off by less than 2^-22, so it never rounds onto or across an integer. GCC 12.2 at -O2 and
/// -O3 turns the division by a constant into a multiply and shifts; the double quotient takes
/// a divsd and then the floor.
constexpr std::int32_t floorDiv(std::int32_t a, std::int32_t b) {
    const std::int32_t quotient = a / b; // truncated; one too high for a negative remainder
    return a % b < 0 ? quotient - 1 : quotient;
}

/// floor(value) as an integer, for a value that the caller has already checked to lie within
/// ±2^62, which also rules out a NaN. Truncation is one instruction, and only a negative value
/// with a fraction needs the step down, taken without a branch. std::floor on x86-64 without
/// SSE4.1 (no -march) is a call to libm's floor under clang 14 at -O2, and some fifteen SSE2
/// instructions with a branch on the magnitude under GCC 12.2 at -O2 and -O3. The step cannot
/// overflow: a double with a fraction is smaller than 2^52 in magnitude.
inline std::int64_t floorInRange(double value) {
    const auto truncated = static_cast<std::int64_t>(value);
    return truncated - static_cast<std::int64_t>(static_cast<double>(truncated) > value);
}

/// value rounded to the nearest integer, an exact half to the even neighbour, for a value that
/// the caller has already checked to lie within ±2^51, which also rules out a NaN.
inline std::int64_t roundHalfEvenInRange(double value) {
    // From 2^52 to 2^53 the doubles are exactly the integers, so adding 1.5 * 2^52 makes the
    // addition itself round value to an integer: to nearest, an exact half to the even
    // neighbour, as the constant is even. Taking the constant off again is exact. Two additions
    // replace std::floor (see floorInRange), std::fmod for the ties (a call to libm's fmod under
    // GCC 12.2 and clang 14 alike) and the comparisons of the fraction, whose branch the
    // fractions of box values would mispredict half of the time.
    // This needs each addition rounded once, to double, in the default rounding mode, which
    // nothing in the program changes.
    static_assert(FLT_EVAL_METHOD == 0, "double sums must be rounded to double, not wider");
    constexpr double RoundingShift = 0x1.8p52;
    return static_cast<std::int64_t>((value + RoundingShift) - RoundingShift);
}

} // namespace vorlane
