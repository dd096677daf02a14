#pragma once

// The program's own steps around Qt's usual start-up, so that main stays as short as Qt's
// examples: create the application, create the window, show it, run the event loop. And the
// ends of the program that the user's close does not start: a logout or shutdown (SIGTERM, or
// the desktop session's end through Qt's session management), `kill`, a closed terminal
// (SIGHUP) and Ctrl+C (SIGINT). Each closes the window as the user's close does, so that its
// close handler saves the settings.

#include <QApplication>

#include <array>
#include <memory>
#include <string>

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

/// Gives the running application the names by which desktops match its window to its menu
/// entry and icon, and Qt's own texts (the boxes' context menu, the standard buttons) in
/// Japanese, from the translation built into the program.
void prepareApplication();

namespace detail {
// What must happen before QApplication's constructor runs: a base class listed before it.
class BeforeQt {
protected:
    /// Catches the end signals first of all. Without a display (neither QT_QPA_PLATFORM, DISPLAY
    /// nor WAYLAND_DISPLAY set), where Qt would abort with a core dump, says on standard error why
    /// the program cannot start and how to run it anyway (under xvfb-run), and ends it with
    /// status 1. Until QApplication has opened its platform, Qt's abort where it can open none of
    /// the platforms it tries (a DISPLAY where no X server answers: ssh without X forwarding, a
    /// variable left from an ended session) becomes a message of the same kind, naming what Qt
    /// tried, and the end with status 1, without a core dump.
    BeforeQt(int argc, char** argv);
    int m_signalPipe; // catchEndSignals
    // The command line handed to QApplication, which keeps references to it: the program's name
    // alone, from argv[0] ("vorlane" when there is none). The program takes no arguments, and Qt
    // would act on its own options otherwise (-geometry, -reverse, -style, -platform and the
    // rest); the platform is chosen through QT_QPA_PLATFORM.
    std::string m_name;
    int m_argc = 1;
    std::array<char*, 2> m_argv{};
};
} // namespace detail

/// QApplication as the program runs it: started with its name alone after BeforeQt, prepared by
/// prepareApplication, and ended by SessionEnd as well as by the window's close.
class Application : private detail::BeforeQt, public QApplication {
public:
    Application(int argc, char** argv);

private:
    SessionEnd m_sessionEnd;
};

} // namespace vorlane
