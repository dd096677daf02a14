#include "qt/startup.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // The window tests need no display: Qt's offscreen platform renders nowhere.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vorlane::prepareApplication(); // Qt's own texts in Japanese, as the program has them
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
