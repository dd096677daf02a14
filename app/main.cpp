#include "qt/qtformmain.h"
#include "qt/startup.h"

int main(int argc, char* argv[]) {
    vorlane::Application app(argc, argv);
    vorlane::QtFormMain window;
    window.show();
    return app.exec();
}
