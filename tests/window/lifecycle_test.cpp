#include "formmain_fixture.h"
#include "testsupport.h"
#include "window/sessionend.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QWindow>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// "[位置]" and the other names in code page 932, as the program writes them.
const QByteArray Position = QByteArray::fromHex("5b88ca92755d");
const QByteArray Options = QByteArray::fromHex("5b90dd92e85d");
const QByteArray DropFrameKey = QByteArray::fromHex("8368838d836283768374838c815b8380");

QByteArray settingsFile(const QByteArray& x, const QByteArray& y, const QByteArray& dropFrame) {
    return Position + "\r\nX=" + x + "\r\nY=" + y + "\r\n" + Options + "\r\n" + DropFrameKey + "=" +
           dropFrame + "\r\n";
}

// Calls back when the watched widget gets an event of the type.
class EventWatch : public QObject {
public:
    EventWatch(std::function<void()> onEvent, QEvent::Type type)
        : m_onEvent(std::move(onEvent)), m_type(type) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == m_type)
            m_onEvent();
        return false;
    }

private:
    std::function<void()> m_onEvent;
    QEvent::Type m_type;
};

TEST_F(FormMainTest, FirstStartWritesTheDefaults) {
    EXPECT_EQ(readAll(settingsPath()), settingsFile("0", "0", "True"));
    EXPECT_EQ(form->pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    EXPECT_TRUE(form->OptionFps[1]->isChecked());
    EXPECT_TRUE(warnings.isEmpty());
}

TEST_F(FormMainTest, ClosingStoresPositionAndMode) {
    setMode(false);
    form->move(80, 60); // 1200 and 900 twips
    form->close();
    EXPECT_EQ(readAll(settingsPath()), settingsFile("1200", "900", "False"));
}

// Another program holding the file's lock delays the save, not the window: it goes at once.
TEST_F(FormMainTest, ClosingHidesTheWindowBeforeTheSaveWaits) {
    const vorlane::test::LockHolder holder(settingsPath().toStdString(), std::chrono::seconds(20));
    ASSERT_TRUE(holder.locked());
    QElapsedTimer clock;
    qint64 hiddenAfter = -1;
    bool platformWindowVisible = true;
    EventWatch watch(
        [&] {
            hiddenAfter = clock.elapsed();
            platformWindowVisible = form->windowHandle()->isVisible();
        },
        QEvent::Hide);
    form->installEventFilter(&watch);
    clock.start();
    form->close();
    EXPECT_GE(clock.elapsed(), 4500) << "the save waits for the lock";
    EXPECT_GE(hiddenAfter, 0);
    EXPECT_LT(hiddenAfter, 500);
    EXPECT_FALSE(platformWindowVisible);
}

// The event loop ending without the window's close (QCoreApplication::exit leaves the windows
// open, unlike quit) closes the window, which saves; a window that the user has closed already
// is not closed, nor saved, again.
// A file that only a save rewrites, and what the save of an unmoved window writes.
const QByteArray Unsaved = settingsFile("abc", "abc", "1");
const QByteArray Saved = settingsFile("0", "0", "True");

TEST_F(FormMainTest, TheEventLoopEndingClosesTheWindowOnce) {
    for (const bool closedBefore : {false, true}) {
        SCOPED_TRACE(closedBefore ? "closed before" : "open");
        form->show();
        vorlane::SessionEnd sessionEnd;
        sessionEnd.closes(*form);
        if (closedBefore)
            form->close();
        writeAll(settingsPath(), Unsaved);
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        QApplication::exec();
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(readAll(settingsPath()), closedBefore ? Unsaved : Saved);
    }
}

// A logout's SIGTERM while a warning box waits for its OK closes the window, which saves, and
// ends the box's wait.
TEST_F(FormMainTest, ASignalDuringAWarningClosesTheWindow) {
    form->showWarning = [this](const QString& text) { form->showWarningBox(text); };
    vorlane::SessionEnd sessionEnd;
    sessionEnd.closes(*form);
    writeAll(settingsPath(), Unsaved);
    QTimer::singleShot(100, [] { std::raise(SIGTERM); });
    bool answeredByHand = false; // after 5 s, so that a box left waiting fails the test
    QTimer answer;
    answer.setSingleShot(true);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            answeredByHand = true;
            box->accept();
        }
    });
    answer.start(5000);
    form->Textフレーム番号->setText("2592000");
    form->CommandF2T_Click(); // returns when the box's wait has ended
    EXPECT_FALSE(answeredByHand);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(readAll(settingsPath()), Saved);
    // The end asked every event loop to stop; one run of the application's loop clears that for
    // the tests that follow.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QApplication::exec();
}

TEST_F(FormMainTest, StartsWhereItWasClosedInTheModeChosen) {
    struct Row {
        QByteArray x, y, dropFrame;
        QPoint expected; // pixels
        bool dropFrameMode;
    };
    const QPoint origin = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
    const Row rows[] = {
        {"1200", "900", "False", {80, 60}, false},
        {"-1500", "300", "TRUE", {-100, 20}, true}, // partly off-screen: placed as stored
        {"100.5", "101.5", "0", {7, 7}, false},     // 100 and 102 twips
        {"12abc", "1e3", "-1", {1, 67}, true},
        {"abc", " 1 200 ", "false", {0, 80}, false},
        {"1,200", "0", "1", {0, 0}, true},
        {"9999999999", "0", "maybe", {0, 0}, true},     // beyond 32 bits, not a word: defaults
        {"1500000", "1500000", "False", origin, false}, // nowhere on a screen: top-left instead
        {"-1500000", "0", "False", origin, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE((row.x + " " + row.y + " " + row.dropFrame).toStdString());
        const QByteArray stored = settingsFile(row.x, row.y, row.dropFrame);
        writeAll(settingsPath(), stored);
        FormMain again(settingsPath());
        again.showWarning = [this](const QString& text) { warnings << text; };
        EXPECT_EQ(again.pos(), row.expected);
        EXPECT_EQ(again.OptionFps[1]->isChecked(), row.dropFrameMode);
        EXPECT_EQ(again.OptionFps[0]->isChecked(), !row.dropFrameMode);
        EXPECT_EQ(again.Text時刻[2]->text(), "00.00");
        EXPECT_TRUE(again.LastF2T);
        // Values that cannot be used stay in the file until the window closes.
        EXPECT_EQ(readAll(settingsPath()), stored);
    }
    EXPECT_TRUE(warnings.isEmpty());
}

TEST_F(FormMainTest, StartsWhateverTheSettingsFileHolds) {
    const QByteArray garbage[] = {
        QByteArray("\xff\xfe\x00[\x81]\x80\r\r\n=\n", 11),
        QByteArray(10 * 1024 * 1024, 'X'),
        Position + "\r\nX=" + QByteArray(100000, '9') + "\r\n",
    };
    for (const QByteArray& bytes : garbage) {
        writeAll(settingsPath(), bytes);
        FormMain again(settingsPath());
        again.showWarning = [this](const QString& text) { warnings << text; };
        EXPECT_EQ(again.Text時刻[0]->text(), "0");
    }
    // A folder where the file should be: nothing can be read or written, and nothing breaks.
    QFile::remove(settingsPath());
    ASSERT_TRUE(QDir().mkpath(settingsPath()));
    FormMain again(settingsPath());
    again.showWarning = [this](const QString& text) { warnings << text; };
    EXPECT_TRUE(again.OptionFps[1]->isChecked());
    again.close();
    EXPECT_TRUE(QFileInfo(settingsPath()).isDir());
    EXPECT_TRUE(warnings.isEmpty());
}

TEST(SettingsBesideTheExecutable, ARenamedCopyUsesItsOwnName) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString copy = folder.filePath("Cutter.bin");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VORLANE_EXECUTABLE), copy));
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(copy, {});
    ASSERT_TRUE(program.waitForStarted());
    // The program creates its settings file with the defaults as it loads.
    const QString expected = folder.filePath("Cutter.ini");
    for (int wait = 0; wait < 100 && readAll(expected) != settingsFile("0", "0", "True"); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished();
    EXPECT_EQ(readAll(expected), settingsFile("0", "0", "True"));
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("vorlane.ini")));
}

// Without a display Qt would abort with a core dump; the program says how to run it instead.
TEST(ProgramStart, WithoutADisplaySaysHowToRunIt) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(VORLANE_EXECUTABLE), {});
    ASSERT_TRUE(program.waitForFinished());
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), EXIT_FAILURE);
    EXPECT_TRUE(program.readAllStandardError().contains("xvfb-run -a vorlane"));
}

} // namespace
