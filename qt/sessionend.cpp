#include "qt/sessionend.h"

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QWidget>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
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

} // namespace vorlane
