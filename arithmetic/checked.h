#pragma once

#include <cstdint>
#include <optional>

namespace vorlane {

// The operands may be the results of earlier checked steps, so that a chain of them fails as a
// whole where any step fails.

/// a + b as a signed 32-bit sum, or nothing when an operand is nothing or the exact sum leaves
/// the 32-bit range.
inline std::optional<std::int32_t> checkedAdd(std::optional<std::int32_t> a,
                                              std::optional<std::int32_t> b) {
    std::int32_t result = 0;
    if (!a || !b || __builtin_add_overflow(*a, *b, &result))
        return std::nullopt;
    return result;
}

/// a * b as a signed 32-bit product, or nothing when an operand is nothing or the exact product
/// leaves the 32-bit range.
inline std::optional<std::int32_t> checkedMul(std::optional<std::int32_t> a,
                                              std::optional<std::int32_t> b) {
    std::int32_t result = 0;
    if (!a || !b || __builtin_mul_overflow(*a, *b, &result))
        return std::nullopt;
    return result;
}

} // namespace vorlane
