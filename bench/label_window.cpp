// A second floor for the start-up figures: one window with one label of Japanese text. It is
// the least that makes Qt initialise fontconfig, build its font database and load a font, which
// the empty window never does before its first paint.

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    QLabel label(QStringLiteral("フレーム番号"), &window);
    window.show();
    return app.exec();
}
