#pragma once

// What screen readers announce for the window's controls: the texts of window/accessibility.h,
// which the Windows window announces too.

namespace vorlane {

class QtFormMain;

/// Sets the table's accessible name and description on every control of the form that has
/// them. The silent ones, the two "：" separators, give assistive technology no name, text or
/// description, and are reported invisible.
void describeControls(QtFormMain& form);

} // namespace vorlane
