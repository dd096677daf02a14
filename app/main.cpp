#include "window/formmain.h"
#include "window/sessionend.h"
#include "window/startup.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char* argv[]) {
    if (!vorlane::checkDisplay())
        return EXIT_FAILURE;
    vorlane::QtArguments arguments(argc, argv);
    QApplication app(arguments.count(), arguments.values());
    vorlane::prepareApplication();
    vorlane::SessionEnd sessionEnd;
    FormMain window;
    sessionEnd.closes(window);
    window.show();
    return app.exec();
}
