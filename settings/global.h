#pragma once

// Global: the settings variables. LoadSettings and SaveSettings are their only writers; the
// window's start-up is their only other reader. While the window is open its position and its
// mode buttons, not these variables, hold the current state.

#include <cstdint>

namespace vorlane::Global {

/// Left edge of the window, in twips from the left edge of the screen.
inline std::int32_t WindowX = 0;
/// Top edge of the window, in twips from the top edge of the screen.
inline std::int32_t WindowY = 0;
/// True for drop-frame counting, false for non-drop-frame counting.
inline bool DropFrame = false;

} // namespace vorlane::Global
