// The floor that the start-up targets compare vorlane with: the design's window, its controls
// made from the table of window/layout.h by the code that makes vorlane's (qt/controls.h), with
// no logic, no settings and no clipboard. What vorlane takes beyond it is what its own code
// costs; the rest is what the design costs in Qt.

#include "qt/controls.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    int dotsPerInch = 96;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dotsPerInch = qRound(screen->logicalDotsPerInch());
    vorlane::createWindowControls(window, dotsPerInch);
    window.show();
    return app.exec();
}
