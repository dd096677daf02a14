// The toolkit's floor for the start-up figures: one empty window and nothing else.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.show();
    return app.exec();
}
