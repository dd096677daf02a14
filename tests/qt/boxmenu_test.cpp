#include "formmain_fixture.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>

namespace {

QStringList texts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts << action->text();
    return texts;
}

// The menu as the logic gives it (tests/window), drawn with Qt's Japanese texts and no
// shortcut after a tab; a right-click opens it at the pointer, Shift+F10 at the caret.
TEST_F(QtWindowTest, TheBoxMenuIsJapaneseAndOpensAtThePointerOrTheCaret) {
    // "|" parts the items; an empty item is a separator.
    const QStringList expected = QStringLiteral("タイムコードをコピー|タイムコードを貼り付け||"
                                                "元に戻す(&U)|やり直す(&R)||切り取り(&T)|"
                                                "コピー(&C)|貼り付け(&P)|削除||すべてを選択")
                                     .split(u'|');
    QLineEdit* box = form->Text時刻[1];
    box->setFocus(Qt::TabFocusReason);
    box->setCursorPosition(1);
    const QPoint caret =
        box->mapToGlobal(box->inputMethodQuery(Qt::ImCursorRectangle).toRect().center());
    const QPoint pointer = box->mapToGlobal(QPoint(2, 2));
    for (const bool keyboard : {false, true}) {
        if (keyboard) {
            press(box, Qt::Key_F10, Qt::ShiftModifier);
        } else {
            QContextMenuEvent request(QContextMenuEvent::Mouse, {2, 2}, pointer);
            QApplication::sendEvent(box, &request);
        }
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(texts(*menu), expected);
        EXPECT_LE((menu->pos() - (keyboard ? caret : pointer)).manhattanLength(), 2);
        menu->close();
    }
    // The standard buttons of Qt's dialogs speak Japanese too.
    QMessageBox warning(QMessageBox::Warning, "", "", QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(warning.button(QMessageBox::Ok)->text(), "OK");
    EXPECT_EQ(warning.button(QMessageBox::Cancel)->text(), "キャンセル");
}

// The edit shortcuts that the menu may not name stay swallowed; the keyboard's other ones for
// copy, cut and paste work.
TEST_F(QtWindowTest, EditShortcutsOutsideTheKeyRulesWork) {
    QLineEdit* box = form->Text時刻[2];
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString text, clipboard; // afterwards
    } rows[] = {
        {Qt::Key_C, Qt::ControlModifier, "12345", "x"},
        {Qt::Key_Z, Qt::ControlModifier, "12345", "x"},
        {Qt::Key_Y, Qt::ControlModifier, "12345", "x"},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "12345", "x"},
        {Qt::Key_Insert, Qt::ControlModifier, "12345", "23"},
        {Qt::Key_Delete, Qt::ShiftModifier, "145", "23"},
        {Qt::Key_Insert, Qt::ShiftModifier, "1x45", "x"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(QKeySequence(row.key | row.modifiers).toString().toStdString());
        QApplication::clipboard()->setText("x");
        box->setFocus(Qt::TabFocusReason);
        // "12345", with an edit to undo ("1234") and one to redo ("612345"); "23" selected.
        box->setText("1234");
        box->end(false);
        box->insert("5");
        box->home(false);
        box->insert("6");
        box->undo();
        box->setSelection(1, 2);
        press(box, row.key, row.modifiers);
        EXPECT_EQ(box->text(), row.text);
        EXPECT_EQ(QApplication::clipboard()->text(), row.clipboard);
    }
}

// Opens a box's context menu as a right-click does and clicks one of its items.
void chooseFromMenu(QLineEdit* box, const QString& item) {
    QContextMenuEvent request(QContextMenuEvent::Mouse, {2, 2}, box->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(box, &request);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions()) {
        if (action->text() == item) {
            ASSERT_TRUE(action->isEnabled());
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                              menu->actionGeometry(action).center());
        }
    }
    ASSERT_TRUE(QTest::qWaitFor([] { return !QApplication::activePopupWidget(); }));
}

// What the menu's Paste brings passes no key rule; the copy item puts the time boxes' timecode
// on the clipboard.
TEST_F(QtWindowTest, TheMenusPasteIsNotFilteredAndCopyTimecodeReachesTheClipboard) {
    QApplication::clipboard()->setText("-5abc");
    form->Text時刻[0]->setText("");
    chooseFromMenu(form->Text時刻[0], "貼り付け(&P)");
    EXPECT_EQ(form->Text時刻[0]->text(), "-5abc");
    setMode(true);
    for (int index = 0; index < 3; ++index)
        form->Text時刻[index]->setText(QStringList({"0", "01", "00.02"})[index]);
    chooseFromMenu(form->Textフレーム番号, "タイムコードをコピー");
    EXPECT_EQ(QApplication::clipboard()->text(), "00:01:00;02");
}

// The paste item converts what the clipboard holds. A timecode ends as "＜" does: the hours box
// focused with its whole text selected, also when the menu was the hours box's own, where the
// focus does not move.
TEST_F(QtWindowTest, PasteTimecodeEndsInTheHoursBox) {
    setMode(true);
    form->Text時刻[0]->setFocus(Qt::TabFocusReason);
    QApplication::clipboard()->setText("00:01:00:00");
    chooseFromMenu(form->Text時刻[0], "タイムコードを貼り付け");
    EXPECT_EQ(timeTexts(), QStringList({"0", "01", "00.00"}));
    EXPECT_EQ(form->Textフレーム番号->text(), "1800");
    EXPECT_TRUE(form->OptionFps[0]->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), form->Text時刻[0]);
    EXPECT_TRUE(wholeTextSelected(form->Text時刻[0]));
    EXPECT_TRUE(warnings.isEmpty());
}

} // namespace
