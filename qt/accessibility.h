#pragma once

// What screen readers announce for the window's controls. The captions alone say too little:
// the buttons read "＞" and "＜", and the three time boxes have no caption of their own.

namespace vorlane {

class QtFormMain;

/// Sets an accessible name and description, in Japanese like the rest of the window, on every
/// control of the form: the four boxes (each time box names its field), both buttons, the
/// mode frame and both mode buttons, and the two headings. The two "：" separators are
/// decorative: assistive technology gets no name, text or description for them, and finds
/// them invisible.
void describeControls(QtFormMain& form);

} // namespace vorlane
