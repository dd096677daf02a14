#pragma once

// The window's controls on Qt, made from the design's table (window/layout.h). The converter
// window makes its controls here, and so does the bench's start-up floor, which thereby costs
// exactly what the design's window costs in Qt.

#include <QString>

#include <string_view>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace vorlane {

/// UTF-16 text as a QString.
QString qtText(std::u16string_view text);

/// The controls of the table, each kind in the table's order.
struct QtControls {
    std::vector<QLineEdit*> boxes;
    std::vector<QPushButton*> buttons;
    std::vector<QLabel*> labels;
    QGroupBox* frame = nullptr;
    std::vector<QRadioButton*> options;
};

/// Gives `window` the design's caption, default font, icon and fixed client size, and makes
/// every control of the table as its child (the mode buttons as the frame's): each named after
/// its design name, in its font, at its place with twips taken at `dotsPerInch`, in the table's
/// tab order. Labels and the frame take no focus; no mode button is selected.
QtControls createWindowControls(QWidget& window, int dotsPerInch);

/// Gives every control of `window` that the table names the accessible name and description of
/// window/accessibility.h, which the Windows window announces too. The silent ones, the two "："
/// separators, give assistive technology no name, text or description, and are reported
/// invisible (qt/accessibility.cpp).
void describeControls(QWidget& window);

} // namespace vorlane
