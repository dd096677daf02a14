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

// Qt's standard edit menu in Japanese, with no shortcut after a tab: every one it would name
// (Ctrl+Z, Ctrl+Y, Ctrl+X, Ctrl+C, Ctrl+V, Ctrl+A) is swallowed in the boxes.
TEST_F(FormMainTest, TheBoxMenuIsJapaneseAndNamesNoShortcut) {
    const QStringList expected{"元に戻す(&U)", "やり直す(&R)", "", "切り取り(&T)", "コピー(&C)",
                               "貼り付け(&P)", "削除",         "", "すべてを選択"};
    for (QLineEdit* box :
         {form->Textフレーム番号, form->Text時刻[0], form->Text時刻[1], form->Text時刻[2]}) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_EQ(texts(*form->createBoxMenu(box)), expected);
        // A right-click opens that menu.
        QContextMenuEvent request(QContextMenuEvent::Mouse, {2, 2}, box->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(box, &request);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(texts(*menu), expected);
        menu->close();
    }
    // The standard buttons of Qt's dialogs speak Japanese too.
    QMessageBox box(QMessageBox::Warning, "", "", QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), "OK");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "キャンセル");
}

// The edit shortcuts that the menu may not name stay swallowed; the keyboard's other ones for
// copy, cut and paste work.
TEST_F(FormMainTest, EditShortcutsOutsideTheKeyRulesWork) {
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

} // namespace
