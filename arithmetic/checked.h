#pragma once

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

} // namespace vorlane
