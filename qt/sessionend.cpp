#include "qt/sessionend.h"

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QWidget>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace vorlane {
namespace {

constexpr std::array<int, 3> EndSignals{SIGTERM, SIGHUP, SIGINT};

// The write end of the pipe that the handler writes to; -1 while no SessionEnd exists.
std::atomic<int> signalPipe{-1};
static_assert(std::atomic<int>::is_always_lock_free, "read inside a signal handler");

// Only async-signal-safe work here: one byte into the pipe, which the event loop reads. A full
// pipe drops the byte, and a byte already waiting says the same.
extern "C" void onEndSignal(int) {
    const int savedErrno = errno;
    const char byte = 0;
    static_cast<void>(::write(signalPipe.load(), &byte, 1));
    errno = savedErrno;
}

} // namespace

SessionEnd::SessionEnd() {
    // Without the pipe the signals keep their default effect; nothing else changes.
    if (::pipe2(m_pipe.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    signalPipe = m_pipe[1];
    struct sigaction action {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < EndSignals.size(); ++i) {
        sigaction(EndSignals[i], nullptr, &m_previous[i]);
        if (m_previous[i].sa_handler != SIG_IGN)
            sigaction(EndSignals[i], &action, nullptr);
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_pipe[0], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] {
        char bytes[16];
        while (::read(m_pipe[0], bytes, sizeof bytes) > 0) {
        }
        endProgram();
    });
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, m_notifier.get(),
                     [this](QSessionManager&) { endProgram(); });
    QObject::connect(qGuiApp, &QCoreApplication::aboutToQuit, m_notifier.get(),
                     [this] { closeWindows(); });
}

SessionEnd::~SessionEnd() {
    if (m_pipe[0] < 0)
        return;
    for (std::size_t i = 0; i < EndSignals.size(); ++i)
        sigaction(EndSignals[i], &m_previous[i], nullptr);
    signalPipe = -1;
    m_notifier.reset();
    for (const int fd : m_pipe)
        ::close(fd);
}

void SessionEnd::endProgram() {
    closeWindows();
    // Also leaves a warning box's event loop, which would otherwise keep the program running.
    QCoreApplication::exit(0);
}

void SessionEnd::closeWindows() {
    // A warning box is a dialog of the window: it ends with the event loops, not by a close.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowType() == Qt::Window)
            window->close();
    }
}

} // namespace vorlane
