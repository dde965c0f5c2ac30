#include "app/HeadlessCommand.h"

#include "app/InterfaceLanguage.h"
#include "app/QuietQtMessages.h"
#include "drawing/ComputedShapes.h"
#include "platform/LogFont.h"

#include <QApplication>

#include <cstdio>

std::unique_ptr<QGuiApplication> StartHeadless(int& argc, char** argv, HeadlessApp kind) {
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) {
        // Text needs a GUI application for its fonts, but never a screen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QuietQtMessages();
        if (kind == HeadlessApp::Widgets)
            app = std::make_unique<QApplication>(argc, argv);
        else
            app = std::make_unique<QGuiApplication>(argc, argv);
    }
    InstallFontSubstitutes();
    // The pictures' area labels follow the interface's language (坪 or not).
    SetAreaPingDefault(InterfaceLanguageFromEnvironment() == InterfaceLanguage::Chinese);
    return app;
}

void Say(const QString& text) {
    std::fprintf(stderr, "tessamar: %s\n", text.toLocal8Bit().constData());
}

int Fail(const QString& text) {
    Say(text);
    return 1;
}
