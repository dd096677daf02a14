#pragma once

// The mode frame's look. Fusion draws a group box's frame line below the title, where the
// design puts the mode buttons, so the line would run through them; classic group frames run
// the line through the middle of the title instead, and that leaves the buttons clear.

class QGroupBox;

namespace vorlane {

/// Makes box draw its frame line through the middle of its title, broken where the title
/// stands, with the title set in from the frame's left corner. The frame itself and the title
/// keep the application style's look; the box's children keep the application style.
void drawFrameThroughTitle(QGroupBox& box);

} // namespace vorlane
