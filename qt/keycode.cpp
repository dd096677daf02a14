#include "qt/keycode.h"

#include "window/keyrules.h"

namespace vorlane {
namespace {
// What a code the rules treat as "other" is does not matter, as long as no rule names it.
constexpr int ControlBackspace = 127;
constexpr int ControlEnter = 10;
constexpr int Escape = 27;
constexpr int OtherCode = -1;
} // namespace

std::optional<int> characterCode(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return std::nullopt;
    case Qt::Key_Backspace:
        return control ? ControlBackspace : KeyBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return control ? ControlEnter : KeyEnter;
    case Qt::Key_Escape:
        return Escape;
    default:
        break;
    }
    // Decided on the key, not the text: an X11 keyboard gives U+0016 for Ctrl+V, a synthetic
    // event gives "v", and both must be the control code.
    if (control && key >= Qt::Key_A && key <= Qt::Key_Z)
        return key - Qt::Key_A + 1;
    if (text.isEmpty())
        return std::nullopt;
    if (control)
        return OtherCode;
    return static_cast<int>(text.at(0).unicode());
}

} // namespace vorlane
