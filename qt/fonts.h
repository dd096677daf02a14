#pragma once

#include <QFont>

namespace vorlane {

/// The boxes' and separators' font: "ＭＳ ゴシック" when installed, else an installed Japanese
/// monospaced gothic, so that Japanese texts never render as boxes. Regular weight, not italic.
QFont gothicFont(double pointSize);

/// The labels' font: "ＭＳ Ｐゴシック" when installed, else an installed proportional Japanese
/// gothic.
QFont proportionalGothicFont(double pointSize);

/// The window's default font, for the buttons, the frame and the mode buttons: the
/// proportional gothic at 9 points, as the design's captions are measured in it.
QFont defaultWindowFont();

} // namespace vorlane
