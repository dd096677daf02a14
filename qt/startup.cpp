#include "qt/startup.h"

#include <QGuiApplication>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace vorlane {

QtArguments::QtArguments(int argc, const char* const* argv)
    : m_name(argc > 0 && argv[0] != nullptr ? argv[0] : "vorlane"), m_values{m_name.data()} {}

bool checkDisplay() {
    if (std::getenv("QT_QPA_PLATFORM") || std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"))
        return true;
    std::fputs("vorlane: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
               "Run it on a desktop session, or under a virtual X server:\n"
               "    xvfb-run -a vorlane\n",
               stderr);
    return false;
}

detail::BeforeQt::BeforeQt(int argc, char** argv)
    : m_signalPipe(catchEndSignals()), m_arguments(argc, argv) {
    if (!checkDisplay())
        std::exit(EXIT_FAILURE);
}

Application::Application(int argc, char** argv)
    : BeforeQt(argc, argv), QApplication(m_arguments.count(), m_arguments.values()),
      m_sessionEnd(m_signalPipe) {
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
