#include "app/CMeasureApp.h"
#include "app/CommandLine.h"
#include "app/DesktopPrompter.h"
#include "app/InterfaceLanguage.h"
#include "dialog/ControlIds.h"
#include "dialog/ResourceArt.h"
#include "platform/LogFont.h"
#include "platform/SettingsFiles.h"

#include <QApplication>
#include <QStandardPaths>
#include <cstdio>

int RunDesktop(int argc, char** argv, const QString& photo) {
    QApplication app(argc, argv);
    // Before anything reads the settings.
    for (const QString& warning : SetAsideOversizedSettings(
             QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)))
        std::fprintf(stderr, "tessamar: %s\n", warning.toLocal8Bit().constData());
    InstallFontSubstitutes();
    UseInterfaceLanguage(InterfaceLanguageFromEnvironment());
    QApplication::setApplicationName(QStringLiteral("tessamar"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tessamar"));
    QApplication::setWindowIcon(ResourceIcon(IDR_MAINFRAME));

    DesktopPrompter desktop;
    ScopedPrompter prompts(&desktop);
    CMeasureApp measureApp(photo);
    return measureApp.InitInstance();
}
