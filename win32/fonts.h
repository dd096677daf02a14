#pragma once

#include "window/layout.h"

#include <windows.h>

namespace vorlane {

/// A font of the design at `dpi` dots per inch: regular weight, not italic, the Shift-JIS
/// character set, in the first installed of the face's names ("ＭＳ ゴシック" or
/// "ＭＳ Ｐゴシック", their English names, the IPA fonts that share their metrics); where none
/// is, Windows takes a Japanese font of its own. The window's default font is the proportional
/// gothic at 9 points. The caller deletes it.
HFONT createFont(ControlFont font, int dpi);

} // namespace vorlane
