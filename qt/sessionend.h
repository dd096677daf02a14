#pragma once

// The ends of the program that the user's close does not start: a logout or shutdown (SIGTERM,
// or the desktop session's end through Qt's session management), `kill`, a closed terminal
// (SIGHUP) and Ctrl+C (SIGINT). Each closes the window as the user's close does, so that its
// close handler saves the settings.

#include <array>
#include <csignal>
#include <memory>

class QSocketNotifier;

namespace vorlane {

/// From its creation on, SIGTERM, SIGHUP and SIGINT, and Qt's request to save at the end of the
/// desktop session (commitDataRequest), close the application's windows (its shown top-level
/// windows other than dialogs) and end the program with status 0, also from inside a warning
/// box. The event loop ending without the windows' close (aboutToQuit) closes them too. A
/// window that is already closed is not closed again, and a signal during the close's save
/// changes nothing. A signal that the program was started to ignore (nohup) stays ignored.
/// Create it after the application and before the window: a signal that comes while the window
/// is being built is held until the event loop runs. One at a time.
class SessionEnd {
public:
    SessionEnd();
    ~SessionEnd();
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

private:
    void endProgram();
    void closeWindows();

    std::array<int, 2> m_pipe{-1, -1};
    std::array<struct sigaction, 3> m_previous{};
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace vorlane
