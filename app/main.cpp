#include "window/formmain.h"
#include "window/startup.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char* argv[]) {
    if (!vorlane::checkDisplay())
        return EXIT_FAILURE;
    QApplication app(argc, argv);
    vorlane::prepareApplication();
    FormMain window;
    window.show();
    return app.exec();
}
