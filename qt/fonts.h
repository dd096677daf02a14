#pragma once

#include "window/layout.h"

#include <QFont>

namespace vorlane {

/// A font of the window's table: the first of its face's families that is installed, else all
/// of them for Qt to match, so that Japanese texts never render as boxes. Regular weight, not
/// italic.
QFont controlFont(ControlFont font);

} // namespace vorlane
