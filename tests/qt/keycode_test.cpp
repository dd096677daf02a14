#include "qt/keycode.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(CharacterCode, GivesTheCodeAKeyboardWouldForEachKeyPress) {
    struct Row {
        const char* what;
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
        std::optional<int> expected;
    };
    const QString ctrlV(QChar(22)); // what a real X11 keyboard sends for Ctrl+V
    const Row rows[] = {
        {"Backspace", Qt::Key_Backspace, Qt::NoModifier, "\b", 8},
        {"Return", Qt::Key_Return, Qt::NoModifier, "\r", 13},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, "\r", 13},
        {"Escape", Qt::Key_Escape, Qt::NoModifier, QString(QChar(27)), 27},
        {"Ctrl+V, synthetic", Qt::Key_V, Qt::ControlModifier, "v", 22},
        {"Ctrl+V, X11", Qt::Key_V, Qt::ControlModifier, ctrlV, 22},
        {"Ctrl+A without text", Qt::Key_A, Qt::ControlModifier, "", 1},
        {"digit", Qt::Key_5, Qt::NoModifier, "5", '5'},
        {"point", Qt::Key_Period, Qt::NoModifier, ".", '.'},
        {"full-width digit", Qt::Key_unknown, Qt::NoModifier, QStringLiteral("１"), 0xFF11},
        {"Tab", Qt::Key_Tab, Qt::NoModifier, "\t", std::nullopt},
        {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier, "", std::nullopt},
        {"Delete", Qt::Key_Delete, Qt::NoModifier, QString(QChar(127)), std::nullopt},
        {"Left", Qt::Key_Left, Qt::NoModifier, "", std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(vorlane::characterCode(row.key, row.modifiers, row.text), row.expected)
            << row.what;
}

// Ctrl with Backspace or Enter, or with a key that is not a letter, must not pass for the plain
// key or for a character that the rules admit.
TEST(CharacterCode, ControlKeysNeverPassForACharacterTheRulesAdmit) {
    const int keys[] = {Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Enter, Qt::Key_5,
                        Qt::Key_Period};
    for (const int key : keys) {
        const auto code = vorlane::characterCode(key, Qt::ControlModifier, "5");
        ASSERT_TRUE(code.has_value()) << key;
        EXPECT_TRUE(*code != 8 && *code != 13 && *code != '.' && (*code < '0' || *code > '9'))
            << key << " gives " << *code;
    }
}

} // namespace
