#include "window/formmain.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    // Without a display Qt would abort with a core dump; say what to do instead.
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
        !std::getenv("WAYLAND_DISPLAY")) {
        std::fputs("vorlane: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                   "Run it on a desktop session, or under a virtual X server:\n"
                   "    xvfb-run -a vorlane\n",
                   stderr);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    // WM_CLASS's class under X11 (StartupWMClass=Vorlane) and the Wayland app id (the desktop
    // entry's name), so that menus and docks match the window to its entry and icon.
    QApplication::setApplicationName(QStringLiteral("Vorlane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vorlane.Vorlane"));
    FormMain window;
    window.show();
    return app.exec();
}
