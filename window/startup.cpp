#include "window/startup.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace vorlane {

bool checkDisplay() {
    if (std::getenv("QT_QPA_PLATFORM") || std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"))
        return true;
    std::fputs("vorlane: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
               "Run it on a desktop session, or under a virtual X server:\n"
               "    xvfb-run -a vorlane\n",
               stderr);
    return false;
}

void nameApplication() {
    // WM_CLASS's class under X11 (StartupWMClass=Vorlane) and the Wayland app id (the desktop
    // entry's name).
    QGuiApplication::setApplicationName(QStringLiteral("Vorlane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vorlane.Vorlane"));
}

} // namespace vorlane
