#pragma once

// The program's own steps around Qt's usual start-up, so that main stays as short as Qt's
// examples: create the application, create the window, show it, run the event loop.

#include "qt/sessionend.h"

#include <QApplication>

#include <array>
#include <string>

namespace vorlane {

/// The command line that the program hands to QApplication: the program's name alone, from
/// argv[0] ("vorlane" when there is none). The program takes no arguments, and Qt would act on
/// its own options otherwise (-geometry, -reverse, -style, -platform and the rest); the
/// platform is chosen through QT_QPA_PLATFORM. QApplication keeps the references, so this
/// object must outlive it.
class QtArguments {
public:
    QtArguments(int argc, const char* const* argv);
    QtArguments(const QtArguments&) = delete;
    QtArguments& operator=(const QtArguments&) = delete;

    int& count() { return m_count; }
    char** values() { return m_values.data(); }

private:
    std::string m_name;
    int m_count = 1;
    std::array<char*, 2> m_values{};
};

/// True when Qt has a display to open the window on: QT_QPA_PLATFORM names a platform, or
/// DISPLAY or WAYLAND_DISPLAY is set. Otherwise writes to standard error why the program cannot
/// start and how to run it anyway (under xvfb-run), and gives false. Call it before creating the
/// application: without a display Qt would abort with a core dump.
bool checkDisplay();

/// Gives the running application the names by which desktops match its window to its menu
/// entry and icon, and Qt's own texts (the boxes' context menu, the standard buttons) in
/// Japanese, from the translation built into the program.
void prepareApplication();

namespace detail {
// What must happen before QApplication's constructor runs: a base class listed before it.
class BeforeQt {
protected:
    /// Catches the end signals first of all; without a display, ends the program with status 1
    /// after checkDisplay's message. Until QApplication has opened its platform, Qt's abort where
    /// it can open none of the platforms it tries (a DISPLAY where no X server answers: ssh
    /// without X forwarding, a variable left from an ended session) becomes a message of the
    /// same kind, naming what Qt tried, and the end with status 1, without a core dump.
    BeforeQt(int argc, char** argv);
    int m_signalPipe; // catchEndSignals
    QtArguments m_arguments;
};
} // namespace detail

/// QApplication as the program runs it: started with QtArguments after catchEndSignals and
/// checkDisplay, prepared by prepareApplication, and ended by SessionEnd as well as by the
/// window's close.
class Application : private detail::BeforeQt, public QApplication {
public:
    Application(int argc, char** argv);

private:
    SessionEnd m_sessionEnd;
};

} // namespace vorlane
