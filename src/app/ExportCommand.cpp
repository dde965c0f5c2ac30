// tessamar --export PHOTO OUT: the annotated picture, drawn without a display.
#include "app/CommandLine.h"
#include "app/ExportMessages.h"
#include "app/QuietQtMessages.h"

#include "output/PhotoFileExport.h"
#include "platform/LogFont.h"

#include <QGuiApplication>

#include <cstdio>
#include <memory>
#include <new>

namespace {
int Fail(const QString& message) {
    std::fprintf(stderr, "tessamar: %s\n", message.toLocal8Bit().constData());
    return 1;
}
} // namespace

int RunExport(int argc, char** argv, const QString& photo, const QString& out, bool keepLocation) {
    // Text needs a GUI application for its fonts, but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) {
        // Our own process: quiet until it ends (Qt may still speak at exit).
        QuietQtMessages();
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    InstallFontSubstitutes();

    PhotoFileExport result;
    try {
        result = ExportPhotoFile(photo, out, ExistingFile::Replace, keepLocation);
    } catch (const std::bad_alloc&) {
        return Fail(QStringLiteral("cannot export %1: the photo and its records are too large "
                                   "for the memory available")
                        .arg(photo));
    }
    if (result.referenceDamaged)
        std::fprintf(stderr, "tessamar: %s\n",
                     DamagedExtensionWarning(result.infoPath).toLocal8Bit().constData());
    if (result.Succeeded())
        return 0;
    return Fail(ExportFailureMessage(photo, out, result));
}
