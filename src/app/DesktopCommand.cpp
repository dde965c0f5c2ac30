#include "app/CMeasureApp.h"
#include "app/CommandLine.h"
#include "app/DesktopPrompter.h"
#include "app/InterfaceLanguage.h"
#include "dialog/ControlIds.h"
#include "dialog/ResourceArt.h"
#include "platform/LogFont.h"

#include <QApplication>

int RunDesktop(int argc, char** argv, const QString& photo) {
    QApplication app(argc, argv);
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
