#include "app/DesktopPrompter.h"
#include "app/InterfaceLanguage.h"
#include "platform/LogFont.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Test discovery runs the program without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings (the recent photos) go to a folder of the run's own, for this
    // process and the programs it starts, never to the user's.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    // One language whatever the machine's locale: Chinese, the program's own
    // texts, here and in the programs the tests start.
    qputenv("TESSAMAR_LANG", "zh_TW");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    InstallFontSubstitutes();
    // Qt's own texts as shipped: the command line's English messages are
    // tested in this process too.
    UseInterfaceLanguage(InterfaceLanguage::Chinese, QtTexts::AsShipped);
    // As the program does at start-up; tests that answer prompts install their own.
    DesktopPrompter desktop;
    ScopedPrompter prompts(&desktop);
    return RUN_ALL_TESTS();
}
