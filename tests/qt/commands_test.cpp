#include "formmain_fixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

namespace {

const QString TooManyFrames = QStringLiteral("フレーム数が大き過ぎです。");

// What the handlers show at the start, and where the window puts the focus as it first shows.
TEST_F(QtWindowTest, StartsWithTheFrameBoxFocusedAndSelected) {
    EXPECT_EQ(timeTexts(), QStringList({"0", "00", "00.00"}));
    EXPECT_TRUE(form->OptionFps[1]->isChecked());
    EXPECT_FALSE(form->OptionFps[0]->isChecked());
    EXPECT_TRUE(form->Textフレーム番号->hasFocus());
    EXPECT_TRUE(wholeTextSelected(form->Textフレーム番号));
    EXPECT_TRUE(warnings.isEmpty());
}

TEST_F(QtWindowTest, ControlsCarryTheirDesignNamesCaptionsAndGeometry) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("ヴォルレーン"));
    // 4335 x 1965 twips at 15 twips a pixel.
    EXPECT_EQ(form->size(), QSize(289, 131));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());

    struct Row {
        QWidget* control;
        const char* name;
        QRect pixels;
    };
    const Row rows[] = {
        {form->Textフレーム番号, "Textフレーム番号", {16, 32, 89, 25}},
        {form->CommandF2T, "CommandF2T", {112, 16, 25, 25}},
        {form->Text時刻[0], "Text時刻(0)", {144, 32, 25, 25}},
        {form->Text時刻[1], "Text時刻(1)", {184, 32, 25, 25}},
        {form->Text時刻[2], "Text時刻(2)", {224, 32, 49, 25}},
        {form->CommandT2F, "CommandT2F", {112, 48, 25, 25}},
        {form->Label1[0], "Label1(0)", {16, 8, 89, 17}},
        {form->Label1[1], "Label1(1)", {144, 8, 129, 17}},
        {form->Label2, "Label2", {168, 32, 17, 25}},
        {form->Label3, "Label3", {208, 32, 17, 25}},
        {form->Frame1, "Frame1", {8, 80, 273, 41}},
        {form->OptionFps[0], "OptionFps(0)", {8, 16, 121, 17}},
        {form->OptionFps[1], "OptionFps(1)", {144, 16, 121, 17}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.control->objectName(), QString::fromUtf8(row.name));
        EXPECT_EQ(row.control->geometry(), row.pixels);
        EXPECT_EQ(form->findChild<QWidget*>(QString::fromUtf8(row.name)), row.control);
    }

    EXPECT_EQ(form->CommandF2T->text(), QStringLiteral("＞"));
    EXPECT_EQ(form->CommandT2F->text(), QStringLiteral("＜"));
    EXPECT_EQ(form->Label1[0]->text(), QStringLiteral("フレーム番号"));
    EXPECT_EQ(form->Label1[1]->text(), QStringLiteral("H：M：S．ﾌﾚｰﾑ"));
    EXPECT_EQ(form->Label2->text(), QStringLiteral("："));
    EXPECT_EQ(form->Label3->text(), QStringLiteral("："));
    EXPECT_EQ(form->Frame1->title(), QStringLiteral("形式"));
    EXPECT_EQ(form->OptionFps[0]->text(), QStringLiteral("ノンドロップフレーム"));
    EXPECT_EQ(form->OptionFps[1]->text(), QStringLiteral("ドロップフレーム"));
    EXPECT_FALSE(form->CommandF2T->isDefault() || form->CommandF2T->autoDefault());
    EXPECT_FALSE(form->CommandT2F->isDefault() || form->CommandT2F->autoDefault());
}

TEST_F(QtWindowTest, BoxesTakeNoInputMethodAndLabelsTakeNoFocus) {
    for (QLineEdit* box :
         {form->Textフレーム番号, form->Text時刻[0], form->Text時刻[1], form->Text時刻[2]}) {
        EXPECT_FALSE(box->testAttribute(Qt::WA_InputMethodEnabled))
            << box->objectName().toStdString();
        EXPECT_GE(box->maxLength(), 32767);
    }
    for (QWidget* still :
         {static_cast<QWidget*>(form->Label1[0]), static_cast<QWidget*>(form->Label1[1]),
          static_cast<QWidget*>(form->Label2), static_cast<QWidget*>(form->Label3),
          static_cast<QWidget*>(form->Frame1)})
        EXPECT_EQ(still->focusPolicy(), Qt::NoFocus) << still->objectName().toStdString();
}

TEST_F(QtWindowTest, TabCyclesTheControlsInDesignOrder) {
    // The two mode buttons form one exclusive group, which Tab visits as one stop.
    const QList<QWidget*> order = {form->CommandF2T,      form->Text時刻[0], form->Text時刻[1],
                                   form->Text時刻[2],     form->CommandT2F,  form->Frame1,
                                   form->Textフレーム番号};
    for (QWidget* expected : order) {
        press(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        if (expected == form->Frame1)
            EXPECT_TRUE(focus == form->OptionFps[0] || focus == form->OptionFps[1]);
        else
            EXPECT_EQ(focus, expected) << expected->objectName().toStdString();
    }
}

TEST_F(QtWindowTest, WindowIconHoldsTheThreeImages) {
    const QList<QSize> sizes = form->windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(128, 128))); // sharp at a scale factor of 2 and more
    EXPECT_FALSE(form->windowIcon().pixmap(32, 32).isNull());
}

// The buttons run the commands, whose rules tests/window checks; here the boxes, the mode
// buttons and the warning are the real controls.
TEST_F(QtWindowTest, TheButtonsConvertAndAModeClickRepeats) {
    setMode(false);
    form->Textフレーム番号->setText("2592000");
    click(form->CommandF2T);
    EXPECT_EQ(warnings, QStringList{TooManyFrames});
    form->Textフレーム番号->setText("1800");
    click(form->CommandF2T);
    EXPECT_EQ(timeTexts(), QStringList({"0", "01", "00.00"}));
    EXPECT_EQ(QApplication::focusWidget(), form->CommandF2T);
    EXPECT_EQ(form->Textフレーム番号->selectedText(), "1800");
    click(form->OptionFps[1]);
    EXPECT_EQ(timeTexts(), QStringList({"0", "01", "00.02"}));

    for (int i = 0; i < 3; ++i)
        form->Text時刻[i]->setText(QStringList({"24", "0", "0"})[i]);
    click(form->CommandT2F);
    EXPECT_EQ(form->Textフレーム番号->text(), "2589408");
    click(form->OptionFps[0]);
    EXPECT_EQ(form->Textフレーム番号->text(), "2592000");
    EXPECT_EQ(QApplication::focusWidget(), form->Text時刻[0]);
    EXPECT_TRUE(wholeTextSelected(form->Text時刻[0]));
    EXPECT_EQ(warnings, QStringList{TooManyFrames});
}

// The arrow keys switch the mode as a click does. After "＜" the repeated conversion ends with
// the hours box focused and selected, as "＜" itself does; after "＞" the focus stays on the
// mode button.
TEST_F(QtWindowTest, TheArrowKeysSwitchTheModeAndTheFocusEndsAsTheCommandLeavesIt) {
    for (const bool timeToFrame : {true, false}) {
        SCOPED_TRACE(timeToFrame ? "after ＜" : "after ＞");
        setMode(false);
        for (int i = 0; i < 3; ++i)
            form->Text時刻[i]->setText(QStringList({"0", "1", "0"})[i]);
        form->Textフレーム番号->setText("1800");
        click(timeToFrame ? form->CommandT2F : form->CommandF2T);
        form->OptionFps[0]->setFocus(Qt::TabFocusReason);
        press(form->OptionFps[0], Qt::Key_Right);
        EXPECT_TRUE(form->OptionFps[1]->isChecked());
        if (timeToFrame) {
            EXPECT_EQ(form->Textフレーム番号->text(), "1798");
            EXPECT_EQ(QApplication::focusWidget(), form->Text時刻[0]);
            EXPECT_TRUE(wholeTextSelected(form->Text時刻[0]));
        } else {
            EXPECT_EQ(timeTexts(), QStringList({"0", "01", "00.02"}));
            EXPECT_EQ(QApplication::focusWidget(), form->OptionFps[1]);
        }
        press(QApplication::focusWidget(), Qt::Key_Left);
        if (!timeToFrame) {
            EXPECT_TRUE(form->OptionFps[0]->isChecked());
            EXPECT_EQ(QApplication::focusWidget(), form->OptionFps[0]);
        }
    }
}

TEST_F(QtWindowTest, ClickingTheSelectedModeConvertsNothing) {
    form->Textフレーム番号->setText("1800");
    click(form->CommandF2T);
    form->Text時刻[0]->setText("x");
    click(form->OptionFps[1]); // already selected: no click handler runs
    EXPECT_EQ(form->Text時刻[0]->text(), "x");
}

TEST_F(QtWindowTest, TypedFrameNumberConvertsWithEnter) {
    setMode(true);
    type(form->Textフレーム番号, "3598");
    press(form->Textフレーム番号, Qt::Key_Return);
    EXPECT_EQ(timeTexts(), QStringList({"0", "02", "00.02"}));
    EXPECT_EQ(form->Textフレーム番号->text(), "3598");
    EXPECT_TRUE(form->Textフレーム番号->hasFocus());
    EXPECT_TRUE(wholeTextSelected(form->Textフレーム番号));
}

TEST_F(QtWindowTest, RealWarningBoxIsAModalWarningWithOneOkButton) {
    form->warningBox = [this](const QString& text) { form->showWarningBox(text); };
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QAbstractButton*> buttons;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->buttons();
        modal = box->isModal();
        box->button(QMessageBox::Ok)->click();
    });
    form->Textフレーム番号->setText("2592000");
    form->form().CommandF2T_Click();
    EXPECT_EQ(title, "Vorlane");
    EXPECT_EQ(text, TooManyFrames);
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons.size(), 1);
    EXPECT_TRUE(modal);
    EXPECT_EQ(timeTexts(), QStringList({"0", "00", "00.00"}));
}

} // namespace
