#include "qt/startup.h"

#include <QSessionManager>
#include <QSocketNotifier>
#include <QTranslator>
#include <QWidget>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace vorlane {
namespace {

constexpr std::array<int, 3> EndSignals{SIGTERM, SIGHUP, SIGINT};

// The write end of the pipe that the handler writes to.
std::atomic<int> pipeWriteEnd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "read inside a signal handler");

// Only async-signal-safe work here: one byte into the pipe, which the event loop reads. A full
// pipe drops the byte, and a byte already waiting says the same.
extern "C" void onEndSignal(int) {
    const int savedErrno = errno;
    const char byte = 0;
    static_cast<void>(::write(pipeWriteEnd.load(), &byte, 1));
    errno = savedErrno;
}

void closeWindows() {
    // A warning box is a dialog of the window: it ends with the event loops, not by a close.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowType() == Qt::Window)
            window->close();
    }
}

void endProgram() {
    closeWindows();
    // Also leaves a warning box's event loop, which would otherwise keep the program running.
    QCoreApplication::exit(0);
}

constexpr const char* HowToRun = "Run it on a desktop session, or under a virtual X server:\n"
                                 "    xvfb-run -a vorlane\n";

QByteArray environment(const char* name, const char* unset) {
    return qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray(unset);
}

// What Qt 6.4 tries, in its order, each with the display it names: the platforms of
// QT_QPA_PLATFORM ("wayland;xcb"), else Wayland first where the session is one, then X11.
QByteArray platformsTried() {
    QByteArray platforms = qgetenv("QT_QPA_PLATFORM");
    if (platforms.isEmpty())
        platforms =
            qEnvironmentVariableIsSet("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland"
                ? "wayland;xcb"
                : "xcb";
    QByteArrayList tried;
    for (const QByteArray& platform : platforms.split(';')) {
        const QByteArray name = platform.split(':').first();
        if (name == "xcb")
            tried << name + " at DISPLAY=" + environment("DISPLAY", "(not set)");
        else if (name.startsWith("wayland"))
            tried << name + " at WAYLAND_DISPLAY=" + environment("WAYLAND_DISPLAY", "wayland-0");
        else if (!name.isEmpty())
            tried << name;
    }
    return tried.isEmpty() ? QByteArray("nothing") : tried.join(", ");
}

QtMessageHandler qtMessages = nullptr;

// In place of Qt's last message before it aborts where it opens no platform; every other message,
// Qt's warnings about what failed included, passes on.
void endWithoutPlatform(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg && text.contains(u"no Qt platform plugin could be initialized")) {
        std::fprintf(stderr, "vorlane: no display could be opened (tried %s).\n%s",
                     platformsTried().constData(), HowToRun);
        std::_Exit(EXIT_FAILURE); // inside Qt's start: nothing of it may run any more
    }
    qtMessages(type, context, text);
}

} // namespace

int catchEndSignals() {
    static const int readEnd = [] {
        std::array<int, 2> ends{};
        if (::pipe2(ends.data(), O_CLOEXEC | O_NONBLOCK) != 0)
            return -1;
        pipeWriteEnd = ends[1];
        struct sigaction action {};
        action.sa_handler = onEndSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int number : EndSignals) {
            struct sigaction previous {};
            if (sigaction(number, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN)
                sigaction(number, &action, nullptr);
        }
        return ends[0];
    }();
    return readEnd;
}

SessionEnd::SessionEnd(int signalPipe) {
    // Without the pipe the signals keep their default effect; nothing else changes.
    if (signalPipe < 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(signalPipe, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [signalPipe] {
        char bytes[16];
        while (::read(signalPipe, bytes, sizeof bytes) > 0) {
        }
        endProgram();
    });
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, m_notifier.get(), endProgram);
    QObject::connect(qGuiApp, &QCoreApplication::aboutToQuit, m_notifier.get(), closeWindows);
}

SessionEnd::~SessionEnd() = default;

detail::BeforeQt::BeforeQt(int argc, char** argv)
    : m_signalPipe(catchEndSignals()),
      m_name(argc > 0 && argv[0] ? argv[0] : "vorlane"), m_argv{m_name.data()} {
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
        !std::getenv("WAYLAND_DISPLAY")) {
        std::fprintf(stderr,
                     "vorlane: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n%s",
                     HowToRun);
        std::exit(EXIT_FAILURE);
    }
    qtMessages = qInstallMessageHandler(endWithoutPlatform);
}

Application::Application(int argc, char** argv)
    : BeforeQt(argc, argv), QApplication(m_argc, m_argv.data()), m_sessionEnd(m_signalPipe) {
    qInstallMessageHandler(qtMessages); // Qt has opened its platform
    prepareApplication();
}

void prepareApplication() {
    // WM_CLASS's class under X11 (StartupWMClass=Vorlane) and the Wayland app id (the desktop
    // entry's name).
    QGuiApplication::setApplicationName(QStringLiteral("Vorlane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vorlane.Vorlane"));
    // Japanese whatever the user's locale: the window's own texts are Japanese only.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral(":/vorlane/translations/qtbase_ja.qm")))
        QCoreApplication::installTranslator(translator);
}

} // namespace vorlane
