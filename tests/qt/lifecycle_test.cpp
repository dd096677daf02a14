#include "formmain_fixture.h"
#include "qt/startup.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QScreen>
#include <QWindow>

#include <chrono>
#include <csignal>
#include <cstdlib>

namespace {

using vorlane::test::settingsFile;
using vorlane::test::writeBytes;

std::string readAll(const QString& path) {
    return vorlane::test::readBytes(path.toStdString()).value_or("");
}

// Calls back when the watched widget hides.
struct HideWatch : QObject {
    std::function<void()> onHide;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide)
            onHide();
        return false;
    }
};

// Pixels become twips (15 twips a pixel at 96 DPI): a first start at the top-left corner, a
// close that stores where the window stands. What is stored and read is tested in tests/window,
// the start where the window was closed in x11_test.cpp.
TEST_F(QtWindowTest, StartsAtTheTopLeftAndStoresWhereItWasClosed) {
    EXPECT_EQ(readAll(settingsPath()), settingsFile("0", "0", "True"));
    EXPECT_EQ(form->pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    setMode(false);
    form->move(-100, 20);
    form->close();
    EXPECT_EQ(readAll(settingsPath()), settingsFile("-1500", "300", "False"));
}

// Another program holding the file's lock delays the save, not the window: it goes at once.
TEST_F(QtWindowTest, ClosingHidesTheWindowBeforeTheSaveWaits) {
    const vorlane::test::LockHolder holder(settingsPath().toStdString(), std::chrono::seconds(20));
    ASSERT_TRUE(holder.locked());
    QElapsedTimer clock;
    qint64 hiddenAfter = -1;
    bool platformWindowVisible = true;
    HideWatch watch;
    watch.onHide = [&] {
        hiddenAfter = clock.elapsed();
        platformWindowVisible = form->windowHandle()->isVisible();
    };
    form->installEventFilter(&watch);
    clock.start();
    form->close();
    EXPECT_GE(clock.elapsed(), 250) << "the save waits for the lock";
    EXPECT_GE(hiddenAfter, 0);
    EXPECT_LT(hiddenAfter, 200);
    EXPECT_FALSE(platformWindowVisible);
}

// The event loop ending without the window's close (QCoreApplication::exit leaves the windows
// open, unlike quit) closes the window, which saves.
// A file that only a save rewrites, and what the save of an unmoved window writes.
const std::string Unsaved = settingsFile("abc", "abc", "1");
const std::string Saved = settingsFile("0", "0", "True");

TEST_F(QtWindowTest, TheEventLoopEndingClosesTheWindow) {
    vorlane::SessionEnd sessionEnd;
    writeBytes(settingsPath().toStdString(), Unsaved);
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QApplication::exec();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(readAll(settingsPath()), Saved);
}

// A logout's SIGTERM while a warning box waits for its OK closes the window, which saves, and
// ends the box's wait.
TEST_F(QtWindowTest, ASignalDuringAWarningClosesTheWindow) {
    form->warningBox = [this](const QString& text) { form->showWarningBox(text); };
    vorlane::SessionEnd sessionEnd;
    writeBytes(settingsPath().toStdString(), Unsaved);
    QTimer::singleShot(100, [] { std::raise(SIGTERM); });
    bool answeredByHand = false; // after 5 s, so that a box left waiting fails the test
    const QObject answerer;      // ends the answer's timer with the test
    QTimer::singleShot(5000, &answerer, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            answeredByHand = true;
            box->accept();
        }
    });
    form->Textフレーム番号->setText("2592000");
    form->form().CommandF2T_Click(); // returns when the box's wait has ended
    EXPECT_FALSE(answeredByHand);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(readAll(settingsPath()), Saved);
    // The end asked every event loop to stop; one run of the application's loop clears that for
    // the tests that follow.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QApplication::exec();
}

// Where Qt can open no display it aborts with a core dump; the program says what it tried and
// how to run it instead, and ends with status 1. No display at all, and displays named where no
// server answers: a variable left from an ended session, ssh without X forwarding. (xvfb-run -a
// counts down from :99, so :197 stays free of its servers.)
TEST(ProgramStart, WithoutADisplaySaysHowToRunIt) {
    const struct {
        QStringList environment;
        const char* says;
    } rows[] = {
        {{}, "neither DISPLAY nor WAYLAND_DISPLAY is set"},
        {{"DISPLAY=:197"}, "tried xcb at DISPLAY=:197)"},
        {{"DISPLAY=:197", "QT_QPA_PLATFORM=xcb"}, "tried xcb at DISPLAY=:197)"},
        {{"DISPLAY=:197", "WAYLAND_DISPLAY=vorlane-none"},
         "tried wayland at WAYLAND_DISPLAY=vorlane-none, xcb at DISPLAY=:197)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.environment.join(' ').toStdString());
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"})
            environment.remove(QString::fromLatin1(name));
        for (const QString& setting : row.environment)
            environment.insert(setting.section('=', 0, 0), setting.section('=', 1));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(VORLANE_EXECUTABLE), {});
        ASSERT_TRUE(program.waitForFinished());
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), EXIT_FAILURE);
        const QByteArray error = program.readAllStandardError();
        EXPECT_TRUE(error.contains(row.says) && error.contains("xvfb-run -a vorlane"))
            << error.toStdString();
    }
}

} // namespace
