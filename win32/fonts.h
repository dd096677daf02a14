#pragma once

#include "window/layout.h"

#include <windows.h>

namespace vorlane {

/// A font of the window's table at `dpi` dots per inch: regular weight, not italic, the
/// Shift-JIS character set, in the first installed of its face's families. The caller deletes
/// it.
HFONT createFont(ControlFont font, int dpi);

} // namespace vorlane
