// Runs on a real X server (ctest starts it with xvfb-run): the window's position and mode
// survive a close and a new start through the settings file.

#include "window/formmain.h"

#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(OnX11, TheWindowReopensWhereItWasClosedInTheModeChosen) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString settings = folder.filePath("vorlane.ini");
    {
        FormMain form(settings);
        form.show();
        form.activateWindow(); // no window manager under Xvfb activates it for us
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.move(210, 135);
        QTest::mouseClick(form.OptionFps[0], Qt::LeftButton, Qt::NoModifier,
                          form.OptionFps[0]->rect().center());
        ASSERT_TRUE(form.OptionFps[0]->isChecked());
        QTRY_COMPARE(form.pos(), QPoint(210, 135));
        form.close();
    }
    FormMain again(settings);
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    EXPECT_EQ(again.pos(), QPoint(210, 135));
    EXPECT_TRUE(again.OptionFps[0]->isChecked());
    EXPECT_FALSE(again.OptionFps[1]->isChecked());
}

} // namespace
