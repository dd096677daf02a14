// The built program in child processes, started and ended as desktops and users do.

#include "testsupport.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <set>

namespace {

using namespace std::chrono_literals;
using vorlane::test::cp932;
using vorlane::test::readBytes;
using vorlane::test::settingsFile;
using vorlane::test::TempFolder;
using vorlane::test::writeBytes;

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s,
             std::chrono::microseconds every = 10ms) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(every);
    }
    return true;
}

// A program started with arguments and additions to the environment (NAME=value); one still
// running at the end is killed.
class Program : public QProcess {
public:
    Program(const std::string& executable, const QStringList& arguments,
            const QStringList& settings) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& setting : settings)
            environment.insert(setting.section('=', 0, 0), setting.section('=', 1));
        setProcessEnvironment(environment);
        start(QString::fromStdString(executable), arguments);
    }
    ~Program() override {
        kill();
        waitForFinished();
    }

    void signal(int number) const { ::kill(static_cast<pid_t>(processId()), number); }
    /// True when the program has ended within 10 s with exit status 0.
    bool exitsWithZero() {
        return (state() == NotRunning || waitForFinished(10000)) && exitStatus() == NormalExit &&
               exitCode() == 0;
    }
    /// True once the program catches the signal: its bit in SigCgt of /proc/PID/status.
    bool catches(int number) const {
        std::ifstream status("/proc/" + std::to_string(processId()) + "/status");
        unsigned long long mask = 0;
        for (std::string line; std::getline(status, line);)
            if (line.starts_with("SigCgt:"))
                std::istringstream(line.substr(7)) >> std::hex >> mask;
        return (mask >> (number - 1)) & 1U;
    }
};

QStringList offscreen(const TempFolder& runtime) {
    return {"QT_QPA_PLATFORM=offscreen",
            "XDG_RUNTIME_DIR=" + QString::fromStdString(runtime.path())};
}

// Qt's wayland platform loads Mesa's EGL driver, which keeps no frame pointers and is unloaded
// before the leak report. LeakSanitizer's fast unwinder stops inside it, so the stack of a block
// the driver keeps never reaches the Qt library that scripts/lsan.supp names; the slow unwinder
// follows the whole stack. It slows every allocation, so only processes that load the driver get
// it. A common flag: the leak checker in ASan reads it from LSAN_OPTIONS, after ASAN_OPTIONS.
QString wholeLeakStacks() {
    QString options = qEnvironmentVariable("LSAN_OPTIONS");
    if (!options.isEmpty())
        options += ':';
    return "LSAN_OPTIONS=" + options + "fast_unwind_on_malloc=0";
}

// Waits until the program's start-up has written `loaded` (what the file lacked), then puts
// `stored` in its place: only a save writes it again.
::testing::AssertionResult startedWith(const std::string& path, const std::string& loaded,
                                       const std::string& stored) {
    if (!waitFor([&] { return readBytes(path) == loaded; }))
        return ::testing::AssertionFailure() << "start-up wrote " << readBytes(path).value_or("");
    writeBytes(path, stored);
    return ::testing::AssertionSuccess();
}

// A copy of the built program in the folder, which then keeps its vorlane.ini.
std::string copyOfProgram(const std::string& folder) {
    const std::string copy = folder + "/vorlane";
    std::filesystem::copy_file(VORLANE_EXECUTABLE, copy);
    return copy;
}
std::string copyOfProgram(const TempFolder& folder) {
    return copyOfProgram(folder.path());
}

std::set<std::string> entries(const TempFolder& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        names.insert(entry.path().filename().string());
    return names;
}

// What a first start writes, and what only a save turns back into it (at 0, 0 on offscreen).
const std::string Defaults = settingsFile("0", "0", "True");
const std::string Unsaved = settingsFile("abc", "abc", "1");

// Every SIGTERM, SIGHUP and SIGINT ends the program through the window's close, which saves, with
// status 0: from the moment it catches them, before the window exists, to its very end.
TEST(ProgramEnd, EverySignalEndsItThroughTheCloseWithZero) {
    const struct {
        int first;
        bool atStart;
    } rows[] = {{SIGTERM, true}, {SIGTERM, false}, {SIGHUP, false}, {SIGINT, false}};
    for (const auto [first, atStart] : rows) {
        SCOPED_TRACE(std::string(::strsignal(first)) + (atStart ? " from the start" : ""));
        const TempFolder folder, runtime;
        const std::string path = folder.file("vorlane.ini");
        if (atStart)
            writeBytes(path, Unsaved); // start-up keeps what it cannot read; the close does not
        Program program(copyOfProgram(folder), {}, offscreen(runtime));
        ASSERT_TRUE(program.waitForStarted());
        if (atStart)
            ASSERT_TRUE(waitFor([&] { return program.catches(SIGTERM); }, 10s, 100us));
        else
            ASSERT_TRUE(startedWith(path, Defaults, Unsaved));
        const int numbers[] = {first, SIGTERM, SIGINT, SIGHUP};
        for (int sent = 0; sent < 20000 && !program.waitForFinished(1); ++sent)
            program.signal(numbers[sent % 4]);
        EXPECT_TRUE(program.exitsWithZero());
        EXPECT_EQ(readBytes(path), Defaults);
    }
}

// While the close waits for another program's lock, more signals change nothing: the save
// still runs whole once the lock is free.
TEST(ProgramEnd, MoreSignalsDuringTheSaveChangeNothing) {
    const TempFolder folder, runtime;
    const std::string path = folder.file("vorlane.ini");
    Program program(copyOfProgram(folder), {}, offscreen(runtime));
    ASSERT_TRUE(startedWith(path, Defaults, Unsaved));
    {
        const vorlane::test::LockHolder holder(path, 40s);
        ASSERT_TRUE(holder.locked());
        program.signal(SIGTERM);
        EXPECT_FALSE(program.waitForFinished(300)) << "the save waits for the lock";
        for (const int number : {SIGTERM, SIGINT, SIGHUP})
            program.signal(number);
        EXPECT_FALSE(program.waitForFinished(300));
        EXPECT_EQ(readBytes(path), Unsaved);
    }
    EXPECT_TRUE(program.exitsWithZero());
    EXPECT_EQ(readBytes(path), Defaults);
}

// An archive made on Windows unpacks into a folder named in code page 932 bytes, which are no
// valid UTF-8: the settings file in it is read and written all the same.
TEST(ProgramStart, AFolderNamedInCodePage932KeepsItsSettings) {
    const TempFolder parent, runtime;
    const std::string folder = parent.path() + "/" + cp932("設定ツール");
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    const std::string path = folder + "/vorlane.ini";
    writeBytes(path, cp932("[位置]\r\nX=3000\r\nY=1500\r\n"));
    // Started through a link with a plain name, which QProcess can pass on; the program finds
    // its real folder itself.
    const std::string link = parent.file("link");
    std::filesystem::create_symlink(copyOfProgram(folder), link);
    Program program(link, {}, offscreen(runtime));
    ASSERT_TRUE(startedWith(path, settingsFile("3000", "1500", "True"), Unsaved));
    program.signal(SIGTERM);
    EXPECT_TRUE(program.exitsWithZero());
    EXPECT_EQ(readBytes(path), settingsFile("3000", "1500", "True"));
}

// An upgrade renames a new executable over the running one, as install and package managers do.
// The save at close still goes to the file that start-up read, and no other file appears.
TEST(ProgramEnd, AnUpgradeWhileItRunsKeepsTheSettingsFile) {
    const TempFolder folder, runtime;
    const std::string path = folder.file("vorlane.ini");
    const std::string executable = copyOfProgram(folder);
    Program program(executable, {}, offscreen(runtime));
    ASSERT_TRUE(startedWith(path, Defaults, Unsaved));
    std::filesystem::copy_file(VORLANE_EXECUTABLE, folder.file("vorlane.new"));
    std::filesystem::rename(folder.file("vorlane.new"), executable);
    program.signal(SIGTERM);
    EXPECT_TRUE(program.exitsWithZero());
    EXPECT_EQ(readBytes(path), Defaults);
    EXPECT_EQ(entries(folder), (std::set<std::string>{"vorlane", "vorlane.ini"}));
}

// Installed where only an administrator may write (a folder of root's, mode 0755), a user's
// copy keeps its settings in ~/.config/vorlane, from the first run on. An administrator's file
// beside the program is read and carried over whole; the user's own read-only file stays as it is.
TEST(ProgramStart, WhereTheUserMayNotWriteTheSettingsGoToTheirConfigFolder) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "starts the program as another user, which only root can";
    constexpr uid_t Nobody = 65534;
    const std::string mode = cp932("[設定]\r\nドロップフレーム=False\r\n");
    const std::string admin = mode + cp932("[社内]\r\n共有=1\r\n");
    const std::string position = cp932("[位置]\r\nX=0\r\nY=0\r\n");
    const std::string kept = settingsFile("0", "0", "False");
    const struct {
        std::string beside;
        uid_t owner;
        mode_t bits;
        std::string perUserBefore;
        std::optional<std::string> loaded, saved;
    } rows[] = {{"", 0, 0, "", Defaults, Defaults},
                {"", 0, 0, mode, mode + position, kept},
                {admin, 0, 0644, "", admin + position, kept},
                {admin, 0, 0444, "", admin + position, kept},
                {admin, Nobody, 0444, "", std::nullopt, std::nullopt}};
    for (const auto& [beside, owner, bits, perUserBefore, loaded, saved] : rows) {
        SCOPED_TRACE(testing::Message() << beside.size() << " " << owner << " " << bits);
        const TempFolder folder, home, runtime;
        const std::string executable = copyOfProgram(folder);
        const std::string besidePath = folder.file("vorlane.ini");
        const std::string perUserPath = home.path() + "/.config/vorlane/vorlane.ini";
        if (!beside.empty()) {
            writeBytes(besidePath, beside);
            ASSERT_EQ(::chown(besidePath.c_str(), owner, owner) | ::chmod(besidePath.c_str(), bits),
                      0);
        }
        if (!perUserBefore.empty()) {
            std::filesystem::create_directories(home.path() + "/.config/vorlane");
            writeBytes(perUserPath, perUserBefore);
        }
        ASSERT_EQ(::chmod(folder.path().c_str(), 0755) | ::chmod(runtime.path().c_str(), 0700), 0);
        for (const TempFolder* owned : {&home, &runtime}) {
            ASSERT_EQ(::chown(owned->path().c_str(), Nobody, Nobody), 0);
            for (const auto& entry : std::filesystem::recursive_directory_iterator(owned->path()))
                ASSERT_EQ(::chown(entry.path().c_str(), Nobody, Nobody), 0);
        }
        Program program("setpriv",
                        {"--reuid=65534", "--regid=65534", "--clear-groups",
                         QString::fromStdString(executable)},
                        offscreen(runtime) +
                            QStringList{"HOME=" + QString::fromStdString(home.path()),
                                        "XDG_CONFIG_HOME=",
                                        // Another user may not reach the leak checker's
                                        // suppressions; the tests above check for leaks.
                                        "LSAN_OPTIONS=detect_leaks=0"});
        if (loaded)
            ASSERT_TRUE(startedWith(perUserPath, *loaded, Unsaved));
        else
            ASSERT_TRUE(waitFor([&] { return program.catches(SIGTERM); }, 10s, 100us));
        program.signal(SIGTERM);
        EXPECT_TRUE(program.exitsWithZero());
        EXPECT_EQ(readBytes(perUserPath), saved);
        EXPECT_EQ(readBytes(besidePath), beside.empty() ? std::nullopt : std::optional(beside));
        EXPECT_EQ(entries(folder).size(), beside.empty() ? 1U : 2U);
    }
}

// The program takes no command line: Qt's own options would move the window (and store that
// position), mirror it, change its style or choose another platform.
TEST(ProgramStart, QtOptionsOnTheCommandLineChangeNothing) {
    const TempFolder folder, runtime;
    const std::string path = folder.file("vorlane.ini");
    writeBytes(path, cp932("[位置]\r\nX=1200\r\nY=900\r\n"));
    Program program(copyOfProgram(folder),
                    {"-geometry", "+500+400", "-reverse", "-style", "nosuchstyle", "-platform",
                     "nosuchplatform", "-qwindowgeometry", "+500+400"},
                    offscreen(runtime));
    ASSERT_TRUE(
        startedWith(path, settingsFile("1200", "900", "True"), settingsFile("1200", "900", "1")));
    program.signal(SIGTERM);
    EXPECT_TRUE(program.exitsWithZero());
    EXPECT_EQ(readBytes(path), settingsFile("1200", "900", "True"));
}

// A Wayland compositor does not tell a window where it stands: the close keeps the stored
// position and saves the mode alone.
TEST(ProgramEnd, OnWaylandTheStoredPositionStays) {
    const QString weston = QStandardPaths::findExecutable("weston");
    const QString plugin =
        QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/libqwayland-generic.so";
    if (weston.isEmpty() || !QFileInfo::exists(plugin))
        GTEST_SKIP() << "needs weston and Qt's wayland platform (scripts/setup test installs "
                        "weston and qt6-wayland)";
    const TempFolder folder, runtime;
    ASSERT_EQ(::chmod(runtime.path().c_str(), 0700), 0);
    const QStringList session{"XDG_RUNTIME_DIR=" + QString::fromStdString(runtime.path()),
                              "WAYLAND_DISPLAY=vorlane-test"};
    Program compositor(weston.toStdString(),
                       {"--backend=headless-backend.so", "--socket=vorlane-test", "--idle-time=0"},
                       session);
    ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(runtime.file("vorlane-test")); }));

    const std::string path = folder.file("vorlane.ini");
    writeBytes(path, cp932("[位置]\r\nX=1200\r\nY=900\r\n"));
    Program program(copyOfProgram(folder), {},
                    session + QStringList{"QT_QPA_PLATFORM=wayland", wholeLeakStacks()});
    ASSERT_TRUE(
        startedWith(path, settingsFile("1200", "900", "True"), settingsFile("1200", "900", "1")));
    program.signal(SIGTERM);
    EXPECT_TRUE(program.exitsWithZero());
    EXPECT_EQ(readBytes(path), settingsFile("1200", "900", "True"));
    compositor.signal(SIGTERM);
}

} // namespace
