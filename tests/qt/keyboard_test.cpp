#include "formmain_fixture.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

namespace {

// Puts a text into a box as a paste would (no key events), focuses the box and puts the caret.
void prepare(QLineEdit* box, const QString& text, int caret) {
    box->setFocus(Qt::OtherFocusReason);
    box->setText(text);
    box->setCursorPosition(caret);
}

// The key rules decide (tests/window); the box carries the decision out: it replaces its text,
// gets the passed-on key for its own handling, or drops the key.
TEST_F(QtWindowTest, TypedCharactersFollowTheKeyRules) {
    const struct {
        int box; // -1 the frame box, else the time box index
        QString before;
        int caret;
        QString keys; // "\b" is Backspace
        QString after;
        int caretAfter;
    } rows[] = {
        {-1, "0", 0, "1800", "1800", 4}, // the 1 replaces the 0, the rest are inserted
        {2, "12.", 3, ".", "12.", 3},    // a second point is swallowed
        {1, "5", 0, "\b\b", "0", 1},     // never emptied one character at a time
        {-1, "45", 2, "\b", "4", 1},     // two or more characters: the box's own deletion
    };
    for (const auto& row : rows) {
        QLineEdit* box = row.box < 0 ? form->Textフレーム番号 : form->Text時刻[row.box];
        SCOPED_TRACE((box->objectName() + " " + row.before + " + " + row.keys).toStdString());
        prepare(box, row.before, row.caret);
        for (const QChar key : row.keys) {
            if (key == u'\b')
                press(box, Qt::Key_Backspace);
            else
                QTest::keyClicks(box, key);
        }
        EXPECT_EQ(box->text(), row.after);
        EXPECT_EQ(box->cursorPosition(), row.caretAfter);
        EXPECT_FALSE(box->hasSelectedText());
    }
}

// Which codes each box swallows is the key rules' (tests/window); here the swallowed keys never
// reach the box.
TEST_F(QtWindowTest, OtherCharactersAndControlKeysAreSwallowed) {
    QApplication::clipboard()->setText("123");
    QLineEdit* box = form->Text時刻[2];
    prepare(box, "12", 1);
    QTest::keyClicks(box, "a Z+-,e");
    press(box, Qt::Key_Escape);
    press(box, Qt::Key_V, Qt::ControlModifier); // the keyboard cannot paste
    press(box, Qt::Key_A, Qt::ControlModifier);
    press(box, Qt::Key_X, Qt::ControlModifier);
    // A real X11 keyboard sends Ctrl+V with the text U+0016.
    QKeyEvent x11Paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
    QApplication::sendEvent(box, &x11Paste);
    for (const QString& wide : {QStringLiteral("１"), QStringLiteral("あ")}) {
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, wide);
        QApplication::sendEvent(box, &typed);
    }
    EXPECT_EQ(box->text(), "12");
    EXPECT_EQ(box->cursorPosition(), 1);
}

TEST_F(QtWindowTest, KeysWithoutTextReachTheBoxUntouched) {
    QLineEdit* box = form->Textフレーム番号;
    prepare(box, "1234", 4);
    for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Left, Qt::Key_Delete})
        press(box, key);
    EXPECT_EQ(box->text(), "124");
    EXPECT_EQ(box->cursorPosition(), 2);
}

// Tab and a click are moves from another control (tests/window has the rule); a click ends with
// the whole text selected, after QLineEdit's own handling of it.
TEST_F(QtWindowTest, GainingTheFocusSelectsTheWholeText) {
    form->Textフレーム番号->setFocus(Qt::OtherFocusReason);
    press(form->Textフレーム番号, Qt::Key_Tab);
    press(form->CommandF2T, Qt::Key_Tab);
    EXPECT_TRUE(wholeTextSelected(form->Text時刻[0]));
    form->Text時刻[2]->setText("12.34");
    QTest::mouseClick(form->Text時刻[2], Qt::LeftButton, Qt::NoModifier, QPoint(3, 5));
    EXPECT_TRUE(QTest::qWaitFor([this] { return wholeTextSelected(form->Text時刻[2]); }));
    EXPECT_EQ(QApplication::focusWidget(), form->Text時刻[2]);
}

// The focus coming back to a box from its context menu leaves the caret and the selection where
// the user left them (from another window: x11_test.cpp, with a real window manager).
TEST_F(QtWindowTest, FocusComingBackFromTheMenuKeepsTheCaretAndTheSelection) {
    QLineEdit* box = form->Textフレーム番号;
    const struct {
        QString text;
        int selectionStart, selectionLength;
        QString item; // nothing: the menu is closed with Escape
        QString textAfter, selectedAfter, clipboardAfter;
    } rows[] = {
        {"1800", 0, 2, "コピー(&C)", "1800", "18", "18"},
        {"123", 2, 1, "削除", "12", "", "unchanged"},
        {"1800", 1, 2, "", "1800", "80", "unchanged"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text.toStdString() + " " + row.item.toStdString());
        QApplication::clipboard()->setText("unchanged");
        prepare(box, row.text, 0);
        box->setSelection(row.selectionStart, row.selectionLength);
        QContextMenuEvent request(QContextMenuEvent::Mouse, box->rect().center(),
                                  box->mapToGlobal(box->rect().center()));
        QApplication::sendEvent(box, &request);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions())
            if (!row.item.isEmpty() && action->text() == row.item)
                chosen = action;
        if (chosen)
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                              menu->actionGeometry(chosen).center());
        else
            QTest::keyClick(menu, Qt::Key_Escape);
        ASSERT_TRUE(QTest::qWaitFor([] { return !QApplication::activePopupWidget(); }));
        EXPECT_EQ(QApplication::focusWidget(), box);
        EXPECT_EQ(box->text(), row.textAfter);
        EXPECT_EQ(box->selectedText(), row.selectedAfter);
        EXPECT_EQ(QApplication::clipboard()->text(), row.clipboardAfter);
    }
}

} // namespace
