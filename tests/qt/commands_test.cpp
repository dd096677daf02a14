#include "formmain_fixture.h"

#include "window/layout.h"

#include <QGroupBox>
#include <QMessageBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>

namespace {

const QString TooManyFrames = QStringLiteral("フレーム数が大き過ぎです。");

// Every control of the table, under its design name, with its caption, which fits, and its place at
// 96 DPI (15 twips a pixel); the boxes take no input method, labels and the frame no focus. The
// window starts with the frame box focused and selected.
TEST_F(QtWindowTest, ControlsCarryTheirDesignNamesCaptionsAndGeometry) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("ヴォルレーン"));
    EXPECT_EQ(form->size(), QSize(289, 131));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    using enum vorlane::ControlKind;
    for (const vorlane::ControlRow& row : vorlane::Controls) {
        const QString name = QString::fromStdU16String(std::u16string(row.name));
        SCOPED_TRACE(name.toStdString());
        const auto* control = form->findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr);
        const QString caption =
            control->property(row.kind == GroupFrame ? "title" : "text").toString();
        if (row.kind != TextBox) {
            EXPECT_EQ(caption, QString::fromStdU16String(std::u16string(row.caption)));
        }
        // The caption's ink, measured with the control's font, fits the room the control gives
        // it (a mode button's stands beside its indicator); tests/qt/CMakeLists.txt runs this
        // under the locales whose fonts differ. The ink, not the advance: the separators'
        // full-width "：" stands in a narrower label.
        QStyleOptionButton option;
        option.initFrom(control);
        const QStyle* style = control->style();
        EXPECT_LE(
            control->fontMetrics().tightBoundingRect(caption).right() + 1,
            row.kind == OptionButton
                ? style->subElementRect(QStyle::SE_RadioButtonContents, &option, control).width()
                : control->width())
            << control->font().family().toStdString();
        EXPECT_EQ(control->geometry(), QRect(row.place.left / 15, row.place.top / 15,
                                             row.place.width / 15, row.place.height / 15));
        EXPECT_EQ(control->focusPolicy() == Qt::NoFocus,
                  row.kind == Label || row.kind == GroupFrame);
        if (const auto* box = qobject_cast<const QLineEdit*>(control)) {
            EXPECT_FALSE(box->testAttribute(Qt::WA_InputMethodEnabled));
            EXPECT_GE(box->maxLength(), 32767);
        }
    }
    EXPECT_FALSE(form->CommandF2T->isDefault() || form->CommandF2T->autoDefault());
    EXPECT_FALSE(form->CommandT2F->isDefault() || form->CommandT2F->autoDefault());
    EXPECT_TRUE(form->Textフレーム番号->hasFocus());
    EXPECT_TRUE(wholeTextSelected(form->Textフレーム番号));
}

// The mode buttons are one Tab stop, the selected one, from which Left and Right move and select.
TEST_F(QtWindowTest, TabCyclesTheControlsInDesignOrderAndTheArrowsChooseTheMode) {
    const QList<QWidget*> order = {form->CommandF2T,      form->Text時刻[0], form->Text時刻[1],
                                   form->Text時刻[2],     form->CommandT2F,  form->OptionFps[1],
                                   form->Textフレーム番号};
    for (QWidget* expected : order) {
        press(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), expected) << expected->objectName().toStdString();
    }
    press(form->Textフレーム番号, Qt::Key_Backtab);
    press(form->OptionFps[1], Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), form->OptionFps[0]);
    EXPECT_TRUE(form->OptionFps[0]->isChecked());
    press(form->Textフレーム番号, Qt::Key_Tab);
    for (int tab = 0; tab < 6; ++tab)
        press(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->OptionFps[0]);
    press(form->OptionFps[0], Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), form->OptionFps[1]);
    EXPECT_TRUE(form->OptionFps[1]->isChecked());
}

TEST_F(QtWindowTest, WindowIconHoldsTheThreeImages) {
    const QList<QSize> sizes = form->windowIcon().availableSizes();
    for (const int side : {16, 32, 128}) // 128: sharp at a scale factor of 2 and more
        EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
    EXPECT_FALSE(form->windowIcon().pixmap(32, 32).isNull());
}

// The buttons run the commands, whose rules tests/window checks; here the boxes, the mode
// buttons and the warning are the real controls.
TEST_F(QtWindowTest, TheButtonsConvertAndAModeClickRepeats) {
    form->Textフレーム番号->setText("2592000");
    click(form->CommandF2T);
    EXPECT_EQ(warnings, QStringList{TooManyFrames});
    EXPECT_EQ(QApplication::focusWidget(), form->CommandF2T);
    for (int i = 0; i < 3; ++i)
        form->Text時刻[i]->setText(QStringList({"24", "0", "0"})[i]);
    click(form->CommandT2F);
    EXPECT_EQ(form->Textフレーム番号->text(), "2589408");
    click(form->OptionFps[0]);
    EXPECT_EQ(form->Textフレーム番号->text(), "2592000");
    EXPECT_EQ(QApplication::focusWidget(), form->Text時刻[0]);
    EXPECT_TRUE(wholeTextSelected(form->Text時刻[0]));
}

// An arrow key that changes the mode after "＜" ends, as "＜" does, in the hours box selected:
// the focus moves to the other mode button before the conversion that the change repeats.
TEST_F(QtWindowTest, AnArrowKeyAfterTimeToFrameEndsInTheHoursBox) {
    setMode(false);
    for (int i = 0; i < 3; ++i)
        form->Text時刻[i]->setText(QStringList({"0", "1", "0"})[i]);
    click(form->CommandT2F);
    form->OptionFps[0]->setFocus(Qt::TabFocusReason);
    press(form->OptionFps[0], Qt::Key_Right);
    EXPECT_TRUE(form->OptionFps[1]->isChecked());
    EXPECT_EQ(form->Textフレーム番号->text(), "1798");
    EXPECT_EQ(QApplication::focusWidget(), form->Text時刻[0]);
    EXPECT_TRUE(wholeTextSelected(form->Text時刻[0]));
}

// Typed keys and Enter through the real boxes: a frame number converts, and Enter in the last
// time box normalises and converts back (the walk between the boxes is tests/window's).
TEST_F(QtWindowTest, TypingAndEnterConvertBothWays) {
    type(form->Textフレーム番号, "3598");
    press(form->Textフレーム番号, Qt::Key_Return);
    EXPECT_EQ(timeTexts(), QStringList({"0", "02", "00.02"}));
    EXPECT_TRUE(wholeTextSelected(form->Textフレーム番号));
    form->Text時刻[1]->setText("0");
    type(form->Text時刻[2], "75.45");
    press(form->Text時刻[2], Qt::Key_Return);
    EXPECT_EQ(timeTexts(), QStringList({"0", "01", "16.15"}));
    EXPECT_EQ(form->Textフレーム番号->text(), "2293");
    EXPECT_EQ(QApplication::focusWidget(), form->Text時刻[0]);
    EXPECT_TRUE(wholeTextSelected(form->Text時刻[0]));
}

TEST_F(QtWindowTest, RealWarningBoxIsAModalWarningWithOneOkButton) {
    form->warningBox = [this](const QString& text) { form->showWarningBox(text); };
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = true;
        EXPECT_EQ(box->windowTitle(), "Vorlane");
        EXPECT_EQ(box->text(), TooManyFrames);
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        EXPECT_EQ(box->buttons().size(), 1);
        EXPECT_TRUE(box->isModal());
        box->button(QMessageBox::Ok)->click();
    });
    form->Textフレーム番号->setText("2592000");
    form->form().CommandF2T_Click();
    EXPECT_TRUE(shown);
    EXPECT_EQ(timeTexts(), QStringList({"0", "00", "00.00"}));
}

} // namespace
