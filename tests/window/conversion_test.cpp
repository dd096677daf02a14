#include "formmain_fixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

namespace {

const QString TooManyFrames = QStringLiteral("フレーム数が大き過ぎです。");
const QString TooFewFrames = QStringLiteral("フレーム数が小さ過ぎです。");
const QString TimeTooLarge = QStringLiteral("時刻が大き過ぎです。");
const QString TimeTooSmall = QStringLiteral("時刻が小さ過ぎです。");

TEST_F(FormMainTest, StartsShowingFrameZeroInDropFrameMode) {
    EXPECT_EQ(form->Textフレーム番号->text(), "0");
    EXPECT_EQ(timeTexts(), QStringList({"0", "00", "00.00"}));
    EXPECT_TRUE(form->OptionFps[1]->isChecked());
    EXPECT_FALSE(form->OptionFps[0]->isChecked());
    EXPECT_TRUE(form->LastF2T);
    EXPECT_TRUE(form->Textフレーム番号->hasFocus());
    EXPECT_TRUE(wholeTextSelected(form->Textフレーム番号));
    EXPECT_TRUE(warnings.isEmpty());
}

TEST_F(FormMainTest, ControlsCarryTheirDesignNamesCaptionsAndGeometry) {
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

TEST_F(FormMainTest, BoxesTakeNoInputMethodAndLabelsTakeNoFocus) {
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

TEST_F(FormMainTest, TabCyclesTheControlsInDesignOrder) {
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

TEST_F(FormMainTest, WindowIconHoldsTheThreeImages) {
    const QList<QSize> sizes = form->windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(128, 128))); // sharp at a scale factor of 2 and more
    EXPECT_FALSE(form->windowIcon().pixmap(32, 32).isNull());
}

// The commands' rules are those of convertFrameText and convertTimeTexts, whose tables are in
// tests/arithmetic. Here a row for each outcome shows the window reading the boxes and the mode,
// wording the warning and writing the result.
struct FrameRow {
    const char* frameText;
    bool dropFrame;
    QStringList time;
    QString warning;
};

TEST_F(FormMainTest, FrameToTimecodeByButton) {
    const FrameRow rows[] = {
        {"1800", false, {"0", "01", "00.00"}, {}},
        {"1800", true, {"0", "01", "00.02"}, {}},
        {"2592000", false, {"0", "00", "00.00"}, TooManyFrames},
        {"-1", true, {"0", "00", "00.00"}, TooFewFrames},
    };
    for (const FrameRow& row : rows) {
        SCOPED_TRACE(row.frameText);
        setMode(row.dropFrame);
        form->Text時刻[0]->setText("x");
        warnings.clear();
        // Pasted text: the key rules would not let most of these be typed.
        form->Textフレーム番号->setText(QString::fromUtf8(row.frameText));
        click(form->CommandF2T);
        EXPECT_EQ(timeTexts(), row.time);
        EXPECT_EQ(warnings, row.warning.isEmpty() ? QStringList() : QStringList{row.warning});
        // The frame box is never rewritten, and ends with its whole text selected.
        EXPECT_EQ(form->Textフレーム番号->text(), QString::fromUtf8(row.frameText));
        EXPECT_EQ(form->Textフレーム番号->selectedText(), form->Textフレーム番号->text());
        EXPECT_TRUE(form->LastF2T);
    }
}

TEST_F(FormMainTest, FrameToTimecodeLeavesTheFocusWhereItWas) {
    click(form->CommandF2T);
    EXPECT_EQ(QApplication::focusWidget(), form->CommandF2T);
}

struct TimeRow {
    QStringList time;
    bool dropFrame;
    QString frame;
    QString warning;
};

TEST_F(FormMainTest, TimecodeToFrameByButton) {
    const TimeRow rows[] = {
        {{"24", "0", "0"}, false, "2592000", {}},
        {{"24", "0", "0"}, true, "2589408", {}},
        {{"25", "0", "0"}, false, "0", TimeTooLarge},
        {{"0", "-1", "0"}, true, "0", TimeTooSmall},
    };
    for (const TimeRow& row : rows) {
        SCOPED_TRACE(row.time.join('|').toStdString());
        setMode(row.dropFrame);
        warnings.clear();
        for (int i = 0; i < 3; ++i)
            form->Text時刻[i]->setText(row.time[i]);
        form->Textフレーム番号->setText("x");
        click(form->CommandT2F);
        EXPECT_EQ(form->Textフレーム番号->text(), row.frame);
        EXPECT_EQ(warnings, row.warning.isEmpty() ? QStringList() : QStringList{row.warning});
        // The time boxes are not rewritten by the conversion.
        EXPECT_EQ(timeTexts(), row.time);
        EXPECT_EQ(QApplication::focusWidget(), form->Text時刻[0]);
        EXPECT_TRUE(wholeTextSelected(form->Text時刻[0]));
        EXPECT_FALSE(form->LastF2T);
    }
}

TEST_F(FormMainTest, ModeClickRepeatsTheLastConversion) {
    // After a frame-to-timecode conversion the same frame number is converted again.
    setMode(false);
    form->Textフレーム番号->setText("1800");
    click(form->CommandF2T);
    EXPECT_EQ(timeTexts(), QStringList({"0", "01", "00.00"}));
    click(form->OptionFps[1]);
    EXPECT_EQ(timeTexts(), QStringList({"0", "01", "00.02"}));
    EXPECT_TRUE(form->LastF2T);

    // After a timecode-to-frame conversion the same timecode is converted again.
    for (int i = 0; i < 3; ++i)
        form->Text時刻[i]->setText(QStringList({"24", "0", "0"})[i]);
    click(form->CommandT2F);
    EXPECT_EQ(form->Textフレーム番号->text(), "2589408");
    click(form->OptionFps[0]);
    EXPECT_EQ(form->Textフレーム番号->text(), "2592000");
    EXPECT_FALSE(form->LastF2T);
    EXPECT_EQ(QApplication::focusWidget(), form->Text時刻[0]);
}

TEST_F(FormMainTest, ClickingTheSelectedModeConvertsNothing) {
    form->Textフレーム番号->setText("1800");
    click(form->CommandF2T);
    form->Text時刻[0]->setText("x");
    click(form->OptionFps[1]);
    EXPECT_EQ(form->Text時刻[0]->text(), "x");
}

TEST_F(FormMainTest, TypedFrameNumberConvertsWithEnter) {
    setMode(true);
    type(form->Textフレーム番号, "3598");
    press(form->Textフレーム番号, Qt::Key_Return);
    EXPECT_EQ(timeTexts(), QStringList({"0", "02", "00.02"}));
    EXPECT_EQ(form->Textフレーム番号->text(), "3598");
    EXPECT_TRUE(form->Textフレーム番号->hasFocus());
    EXPECT_TRUE(wholeTextSelected(form->Textフレーム番号));
}

TEST_F(FormMainTest, RealWarningBoxIsAModalWarningWithOneOkButton) {
    form->showWarning = [this](const QString& text) { form->showWarningBox(text); };
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
    form->CommandF2T_Click();
    EXPECT_EQ(title, "Vorlane");
    EXPECT_EQ(text, TooManyFrames);
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons.size(), 1);
    EXPECT_TRUE(modal);
    EXPECT_EQ(timeTexts(), QStringList({"0", "00", "00.00"}));
}

} // namespace
