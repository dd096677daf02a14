#pragma once

// The ends of the program that the user's close does not start: a logout or shutdown (SIGTERM,
// or the desktop session's end through Qt's session management), `kill`, a closed terminal
// (SIGHUP) and Ctrl+C (SIGINT). Each closes the window as the user's close does, so that its
// close handler saves the settings.

#include <memory>

class QSocketNotifier;

namespace vorlane {

/// From its first call until the process ends, SIGTERM, SIGHUP and SIGINT each put a byte into a
/// pipe, whose read end it gives (the same on every call); SessionEnd reads it once the event
/// loop runs, so a signal that comes during start-up closes the window once start-up is done.
/// The handlers are never taken back: a signal on the program's way out, after the last
/// SessionEnd, does nothing, where the default action would end the program with status 143. A
/// signal that the program was started to ignore (nohup) stays ignored. -1 when no pipe could be
/// made; the signals then keep their default effect. Call it first thing in main.
int catchEndSignals();

/// From its creation on, the signals of catchEndSignals, and Qt's request to save at the end of
/// the desktop session (commitDataRequest), close the application's windows (its shown top-level
/// windows other than dialogs) and end the program with status 0, also from inside a warning
/// box. The event loop ending without the windows' close (aboutToQuit) closes them too. A window
/// that is already closed is not closed again, and a signal during the close's save changes
/// nothing. Create it after the application and before the window; one at a time.
class SessionEnd {
public:
    explicit SessionEnd(int signalPipe = catchEndSignals());
    ~SessionEnd();
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace vorlane
