#pragma once

// The window's controls as screen readers see them on Windows: each control answers
// WM_GETOBJECT with Windows' own accessible object for it, wrapped so that its name and
// description are those of the shared table (window/accessibility.h). Windows would name an edit
// control after the label before it in the z-order, which the boxes, made first, do not have.
// MSAA carries the texts, and UI Automation reads them through it.

#include "window/accessibility.h"

#include <windows.h>

namespace vorlane {

/// Lets `control` announce `texts` (which must outlive it) to assistive technology. oleacc.dll,
/// ole32.dll and oleaut32.dll are loaded when a client first asks, so that a start-up without a
/// screen reader never pays for them; without them the control keeps what Windows gives it.
/// False when the control could not be subclassed.
bool announce(HWND control, const AccessibleText& texts);

} // namespace vorlane
