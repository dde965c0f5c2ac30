// The tests of input that goes through a real X server, run under
// tools/run-under-x (a private Xvfb with a window manager, the xcb platform);
// keys are sent through the server with XTest. Listing the tests needs no
// server.

#include "app/InterfaceLanguage.h"
#include "platform/LogFont.h"

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Chinese whatever the machine's locale, here and in the programs started.
    qputenv("TESSAMAR_LANG", "zh_TW");
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return RUN_ALL_TESTS();
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "test_x11: no X server; run it under tools/run-under-x\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    int result = 1;
    {
        QApplication app(argc, argv);
        InstallFontSubstitutes();
        UseInterfaceLanguage(InterfaceLanguage::Chinese, QtTexts::AsShipped);
        result = RUN_ALL_TESTS();
    }
    return result;
}
