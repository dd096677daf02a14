// Runs on a real X server, which ctest starts with xvfb-run: OnX11 without a window manager,
// WithWindowManager with openbox, which the suite starts itself.

#include "formmain_fixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>

#include <xcb/xcb.h>

namespace {

// An image of the same size as image, all black: what Xvfb shows where no window is.
QImage blank(const QImage& image) {
    QImage black(image.size(), image.format());
    black.fill(Qt::black);
    return black;
}

TEST(OnX11, TheWindowReopensWhereItWasClosedInTheModeChosen) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const vorlane::SettingsFile settings{folder.filePath("vorlane.ini").toStdString()};
    {
        vorlane::QtFormMain form(settings);
        form.show();
        form.activateWindow(); // no window manager under Xvfb activates it for us
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.move(210, 135);
        QTest::mouseClick(form.OptionFps[0], Qt::LeftButton, Qt::NoModifier,
                          form.OptionFps[0]->rect().center());
        ASSERT_TRUE(form.OptionFps[0]->isChecked());
        EXPECT_TRUE(QTest::qWaitFor([&] { return form.pos() == QPoint(210, 135); }));
        form.close();
    }
    vorlane::QtFormMain again(settings);
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    EXPECT_EQ(again.pos(), QPoint(210, 135));
    EXPECT_TRUE(again.OptionFps[0]->isChecked());
    EXPECT_FALSE(again.OptionFps[1]->isChecked());
}

// A program that holds the clipboard and never answers, as a hung one does: here a second X
// connection that never reads its requests. The box's menu opens at once; its paste item gives
// up after 5 s, while the event loop runs and a key typed into a box is dropped.
TEST(OnX11, AHungClipboardOwnerHoldsAPasteFiveSecondsAtMost) {
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> owner(
        xcb_connect(nullptr, nullptr), &xcb_disconnect);
    ASSERT_EQ(xcb_connection_has_error(owner.get()), 0);
    const xcb_window_t window = xcb_generate_id(owner.get());
    xcb_create_window(owner.get(), XCB_COPY_FROM_PARENT, window,
                      xcb_setup_roots_iterator(xcb_get_setup(owner.get())).data->root, 0, 0, 1, 1,
                      0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_intern_atom_reply_t* clipboard = xcb_intern_atom_reply(
        owner.get(), xcb_intern_atom(owner.get(), 0, 9, "CLIPBOARD"), nullptr);
    xcb_set_selection_owner(owner.get(), window, clipboard->atom, XCB_CURRENT_TIME);
    std::free(clipboard);
    std::free(xcb_get_input_focus_reply(owner.get(), xcb_get_input_focus(owner.get()), nullptr));

    QTemporaryDir folder;
    vorlane::QtFormMain form({folder.filePath("vorlane.ini").toStdString()});
    form.warningBox = [](const QString&) {};
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QElapsedTimer clock;
    clock.start();
    const std::unique_ptr<QMenu> menu = form.createBoxMenu(vorlane::EntryBox::Frame);
    EXPECT_LT(clock.elapsed(), 1000) << "the menu asked the clipboard";
    const QString frame = form.Textフレーム番号->text();
    bool typed = false;
    QTimer::singleShot(100, &form, [&] {
        QTest::keyClick(form.Textフレーム番号, Qt::Key_7);
        typed = true;
    });
    clock.restart();
    menu->actions().at(1)->trigger(); // タイムコードを貼り付け
    EXPECT_LT(clock.elapsed(), 6000);
    EXPECT_TRUE(typed);
    EXPECT_EQ(form.Textフレーム番号->text(), frame);
}

// What the screen shows where the program's window opens (at 80, 60: 1200 and 900 twips), once
// the window has been drawn and stays unchanged; a null image when nothing is drawn there.
QImage screenOfProgram(const QTemporaryDir& folder, const QStringList& arguments) {
    QProcess program;
    program.start(folder.filePath("vorlane"), arguments);
    QImage previous, shown;
    const auto drawn = [&] {
        const QImage current =
            QGuiApplication::primaryScreen()->grabWindow(0, 80, 60, 289, 131).toImage();
        const bool settled = current == previous && current != blank(current);
        previous = current;
        return settled;
    };
    if (program.waitForStarted() && QTest::qWaitFor(drawn, 10000))
        shown = previous;
    program.terminate();
    program.waitForFinished();
    return shown;
}

// Qt's own options on the command line change nothing: -reverse would mirror the window ("＞"
// drawn as "＜", texts set to the right), -style would change its look and -geometry its place.
TEST(OnX11, QtOptionsOnTheCommandLineChangeNothingOnScreen) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QFile::copy(QStringLiteral(VORLANE_EXECUTABLE), folder.filePath("vorlane")));
    QFile settings(folder.filePath("vorlane.ini"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[\x88\xca\x92\x75]\r\nX=1200\r\nY=900\r\n"); // [位置] in code page 932
    settings.close();
    const QImage plain = screenOfProgram(folder, {});
    ASSERT_FALSE(plain.isNull());
    EXPECT_TRUE(plain == screenOfProgram(
                             folder, {"-reverse", "-style", "windows", "-geometry", "+500+400"}));
}

// The focus rules as a desktop session drives them: the window manager, not the program, moves
// the activation between windows.
class WithWindowManager : public QtWindowTest {
protected:
    static void SetUpTestSuite() {
        const QString openbox = QStandardPaths::findExecutable("openbox");
        if (openbox.isEmpty())
            return; // each test skips, saying why
        // openbox runs its start-up command once it manages the screen.
        ready = std::make_unique<QTemporaryDir>();
        const QString readyFile = ready->filePath("ready");
        windowManager = std::make_unique<QProcess>();
        windowManager->start(openbox, {"--sm-disable", "--startup", "touch " + readyFile});
        if (!windowManager->waitForStarted() ||
            !QTest::qWaitFor([&] { return QFileInfo::exists(readyFile); }, 10000))
            failure = "openbox did not start: " + windowManager->readAllStandardError();
    }
    static void TearDownTestSuite() {
        if (windowManager) {
            windowManager->terminate();
            windowManager->waitForFinished();
            windowManager.reset();
        }
    }
    void SetUp() override {
        if (!windowManager)
            GTEST_SKIP() << "openbox is not installed (scripts/setup test installs it)";
        ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
        QtWindowTest::SetUp();
    }

    static inline std::unique_ptr<QProcess> windowManager;
    static inline QString failure;
    static inline std::unique_ptr<QTemporaryDir> ready;
};

TEST_F(WithWindowManager, SwitchingAwayAndBackKeepsTheCaretAndTheSelection) {
    QLineEdit* box = form->Textフレーム番号;
    type(box, "1800");
    press(box, Qt::Key_Left);
    press(box, Qt::Key_Left);
    switchAwayAndBack();
    ASSERT_EQ(QApplication::focusWidget(), box);
    QTest::keyClicks(box, "5");
    EXPECT_EQ(box->text(), "18500");

    press(box, Qt::Key_Home, Qt::ShiftModifier);
    ASSERT_EQ(box->selectedText(), "185");
    switchAwayAndBack();
    EXPECT_EQ(box->selectedText(), "185");
}

// CommandT2F_Click moves the focus while its warning box is still the active window; the hours
// box still ends up with the focus and its whole text selected.
TEST_F(WithWindowManager, AfterTheTimeWarningTheHoursBoxHasTheFocusAndItsTextSelected) {
    answerRealWarnings();
    type(form->Text時刻[0], "25");
    click(form->CommandT2F);
    EXPECT_EQ(warnings, QStringList{QStringLiteral("時刻が大き過ぎです。")});
    // The window manager hands the activation back once the box is gone.
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(QApplication::focusWidget(), form->Text時刻[0]);
    EXPECT_EQ(form->Text時刻[0]->selectedText(), "25");
}

} // namespace
