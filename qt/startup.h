#pragma once

// The program's own steps around Qt's usual start-up, so that main stays as short as Qt's
// examples: create the application, create the window, show it, run the event loop.

#include "qt/sessionend.h"

#include <QApplication>

#include <array>
#include <string>

namespace vorlane {

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
