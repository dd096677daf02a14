#pragma once

// The frames' share of SecFrames, taken from a table rather than divided at run time.

#include "arithmetic/timecode.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace vorlane {

/// The lowest frame count a label can leave: the truncating remainder by 30 lies in -29..29.
inline constexpr std::int32_t LowestFrames = 1 - FramesPerSecond;

// Built at compile time by the single-precision division itself, so the values are bit for bit
// those of the division at run time, which costs far more (a divss on the critical path).
inline constexpr auto FrameFractions = [] {
    std::array<float, 2 * FramesPerSecond - 1> table{};
    for (std::int32_t frames = LowestFrames; frames < FramesPerSecond; ++frames)
        table[static_cast<std::size_t>(frames - LowestFrames)] =
            static_cast<float>(frames) / static_cast<float>(FrameScale);
    return table;
}();

/// single(frames) / single(100), rounded to single precision, for frames from -29 to 29.
inline float frameFraction(std::int32_t frames) {
    return FrameFractions[static_cast<std::size_t>(frames - LowestFrames)];
}

} // namespace vorlane
