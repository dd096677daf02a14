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

// The timecode items, then Qt's standard edit menu in Japanese, with no shortcut after a tab:
// every one it would name (Ctrl+Z, Ctrl+Y, Ctrl+X, Ctrl+C, Ctrl+V, Ctrl+A) is swallowed in the
// boxes.
TEST_F(FormMainTest, TheBoxMenuIsJapaneseAndNamesNoShortcut) {
    const QStringList expected{"タイムコードをコピー",
                               "タイムコードを貼り付け",
                               "",
                               "元に戻す(&U)",
                               "やり直す(&R)",
                               "",
                               "切り取り(&T)",
                               "コピー(&C)",
                               "貼り付け(&P)",
                               "削除",
                               "",
                               "すべてを選択"};
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

// Runs one of the timecode items of a box's menu, as a click on it does.
void triggerItem(FormMain& form, QLineEdit* box, int item) {
    std::unique_ptr<QMenu> menu = form.createBoxMenu(box);
    menu->actions().at(item)->trigger();
}

// Copy writes the timecode that the time boxes denote, in the current counting; with nothing
// convertible in them the item is disabled.
TEST_F(FormMainTest, CopyTimecodePutsTheBoxesOnTheClipboard) {
    const struct {
        bool dropFrame;
        QStringList boxes;
        const char* clipboard; // nullptr: the item is disabled
    } rows[] = {
        {true, {"0", "01", "00.02"}, "00:01:00;02"}, {false, {"0", "01", "00.00"}, "00:01:00:00"},
        {true, {"0", "01", "00.00"}, "00:00:59;28"}, {false, {"25", "00", "00.00"}, nullptr},
        {false, {"-1", "00", "00.00"}, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.boxes.join(' ').toStdString());
        setMode(row.dropFrame);
        for (int index = 0; index < 3; ++index)
            form->Text時刻[index]->setText(row.boxes[index]);
        QApplication::clipboard()->setText("x");
        std::unique_ptr<QMenu> menu = form->createBoxMenu(form->Textフレーム番号);
        QAction* copy = menu->actions().at(0);
        EXPECT_EQ(copy->isEnabled(), row.clipboard != nullptr);
        copy->trigger();
        EXPECT_EQ(QApplication::clipboard()->text(), row.clipboard ? row.clipboard : "x");
        EXPECT_EQ(timeTexts(), row.boxes);
    }
    EXPECT_TRUE(warnings.isEmpty());
}

// Paste fills the boxes in the counting the text names and converts exactly once, ending as
// "＜" or "＞" ends; other text is refused with one warning and changes nothing.
TEST_F(FormMainTest, PasteTimecodeConvertsInTheCountingOfTheText) {
    const QString refused = "タイムコードの形式が正しくありません。";
    enum Focus { FrameBox, HoursBox, Unmoved };
    const struct {
        const char* clipboard;
        bool dropFrameBefore;
        QStringList time;
        QString frame;
        bool dropFrameAfter;
        QStringList warnings;
        bool lastF2T;
        Focus focus;
    } rows[] = {
        {"00:01:00:00\n", true, {"0", "01", "00.00"}, "1800", false, {}, false, HoursBox},
        {"0:1:0;2", false, {"0", "01", "00.02"}, "1800", true, {}, false, HoursBox},
        {"25;00;00;00",
         true,
         {"25", "00", "00.00"},
         "0",
         true,
         {"時刻が大き過ぎです。"},
         false,
         HoursBox},
        {" 1800 ", true, {"0", "01", "00.02"}, "1800", true, {}, true, FrameBox},
        {"00:01:00;00", false, {"0", "00", "00.07"}, "7", false, {refused}, true, Unmoved},
        {"１８００", true, {"0", "00", "00.07"}, "7", true, {refused}, true, Unmoved},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.clipboard);
        setMode(row.dropFrameBefore);
        form->Textフレーム番号->setText("7");
        form->CommandF2T_Click();
        form->Text時刻[1]->setFocus(Qt::TabFocusReason);
        warnings.clear();
        QApplication::clipboard()->setText(row.clipboard);

        triggerItem(*form, form->Text時刻[1], 1);
        EXPECT_EQ(timeTexts(), row.time);
        EXPECT_EQ(form->Textフレーム番号->text(), row.frame);
        EXPECT_EQ(form->OptionFps[1]->isChecked(), row.dropFrameAfter);
        EXPECT_NE(form->OptionFps[0]->isChecked(), row.dropFrameAfter);
        EXPECT_EQ(warnings, row.warnings);
        EXPECT_EQ(form->LastF2T, row.lastF2T);
        QLineEdit* focused = row.focus == FrameBox   ? form->Textフレーム番号
                             : row.focus == HoursBox ? form->Text時刻[0]
                                                     : form->Text時刻[1];
        EXPECT_TRUE(focused->hasFocus());
        if (row.focus != Unmoved) {
            EXPECT_TRUE(wholeTextSelected(focused));
        }
    }
}

} // namespace
