#pragma once

// The window's controls on Windows, made from the design's table (window/layout.h) as native
// child windows. The converter window makes its controls here, and so does the bench's start-up
// floor, which thereby costs exactly what the design's window costs in Win32.

#include "window/layout.h"

#include <windows.h>

#include <array>

namespace vorlane {

/// The main window's style: a caption with the system menu and a minimise button, no sizing
/// border.
inline constexpr DWORD WindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

/// One control per row of the table, in its order.
using ControlWindows = std::array<HWND, Controls.size()>;
/// The fonts of the controls, each at the first row that has it.
using ControlFonts = std::array<HFONT, Controls.size()>;

/// Makes every control of the table as a visible child of `window` with its caption, unplaced,
/// its control ID `firstId` + its place in the table. The boxes take no input method and no
/// length limit; the mode buttons make one group, whose Tab stop the window logic names.
/// A control that cannot be made is null.
ControlWindows createWindowControls(HWND window, int firstId);

/// Places the controls at `dpi` dots per inch, gives them their fonts and sizes `window` so
/// that its client area is the design's. Deletes the fonts that `fonts` held and leaves the new
/// ones there, for the caller to delete after the controls.
void layOutWindowControls(HWND window, const ControlWindows& controls, ControlFonts& fonts,
                          int dpi);

} // namespace vorlane
