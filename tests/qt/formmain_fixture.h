#pragma once

#include "qt/qtformmain.h"
#include "testsupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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

// A shown, active QtFormMain whose warnings are recorded instead of shown.
class QtWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        form = std::make_unique<vorlane::QtFormMain>(settings());
        form->warningBox = [this](const QString& text) { warnings << text; };
        form->show();
        ASSERT_TRUE(activate(form.get()));
    }

    // Asks for window to become the active one, and waits until it is. A window manager may
    // pass over a request made while it is still taking the window on, so it is asked again.
    static bool activate(QWidget* window) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            window->activateWindow();
            if (QTest::qWaitForWindowActive(window, 1000))
                return true;
        }
        return false;
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
    // Short waits: the tests never wait for a file held by another process for long.
    vorlane::SettingsFile settings() const {
        using namespace std::chrono_literals;
        return {settingsPath().toStdString(), 300ms, 300ms};
    }

    // Makes another window the active one, then this window again, as a user switching to
    // another program and back does.
    void switchAwayAndBack() {
        QWidget other;
        other.show();
        ASSERT_TRUE(activate(&other));
        ASSERT_TRUE(activate(form.get()));
    }

    // Shows the real warning boxes from now on, and clicks the OK button of each once it has
    // become the active window, as a user does; their texts are recorded.
    void answerRealWarnings() {
        form->warningBox = [this](const QString& text) { form->showWarningBox(text); };
        auto* timer = new QTimer(form.get());
        QObject::connect(timer, &QTimer::timeout, timer, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box && box->isActiveWindow()) {
                warnings << box->text();
                QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            }
        });
        timer->start(10);
    }

    QTemporaryDir folder; // every test keeps its settings file here, never beside the binary
    std::unique_ptr<vorlane::QtFormMain> form;
    QStringList warnings;
};
