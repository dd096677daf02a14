#pragma once

#include "window/formmain.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable failure messages for Qt's strings.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* os) {
    *os << '{' << texts.join(QStringLiteral(", ")).toStdString() << '}';
}

// A shown, active FormMain whose warnings are recorded instead of shown.
class FormMainTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        form = std::make_unique<FormMain>(settingsPath());
        form->showWarning = [this](const QString& text) { warnings << text; };
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    void TearDown() override { form.reset(); }

    // Types into a box as a user does: focus it, then real key events.
    void type(QLineEdit* box, const QString& keys) {
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(box, keys);
    }

    void press(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(widget, key, modifiers);
    }

    void click(QAbstractButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
    }

    void setMode(bool dropFrame) {
        QRadioButton* option = form->OptionFps[dropFrame ? 1 : 0];
        if (!option->isChecked())
            click(option);
    }

    QStringList timeTexts() const {
        return {form->Text時刻[0]->text(), form->Text時刻[1]->text(), form->Text時刻[2]->text()};
    }

    static bool wholeTextSelected(const QLineEdit* box) {
        return box->selectionStart() == (box->text().isEmpty() ? -1 : 0) &&
               box->selectedText() == box->text();
    }

    QString settingsPath() const { return folder.filePath(QStringLiteral("vorlane.ini")); }

    QTemporaryDir folder; // every test keeps its settings file here, never beside the binary
    std::unique_ptr<FormMain> form;
    QStringList warnings;
};
