#include "app/DesktopPrompter.h"
#include "platform/LogFont.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Test discovery runs the program without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    InstallFontSubstitutes();
    // As the program does at start-up; tests that answer prompts install their own.
    DesktopPrompter desktop;
    ScopedPrompter prompts(&desktop);
    return RUN_ALL_TESTS();
}
