// tessamar --export PHOTO OUT: the annotated picture, drawn without a display.
#include "app/CommandLine.h"

#include "canvas/AnnotatedExport.h"
#include "document/PhotoInfo.h"
#include "lumoimage/CDibDC.h"
#include "platform/LogFont.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <memory>

namespace {
QtMessageHandler g_previousHandler = nullptr;

// The command speaks for itself in one line per failure; Qt's own notes about
// the headless platform (runtime folder, fonts) would only add noise.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        g_previousHandler(type, context, message);
}

int Fail(const QString& message) {
    std::fprintf(stderr, "tessamar: %s\n", message.toLocal8Bit().constData());
    return 1;
}
} // namespace

int RunExport(int argc, char** argv, const QString& photo, const QString& out) {
    // Text needs a GUI application for its fonts, but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) {
        // Our own process: quiet until it ends (Qt may still speak at exit).
        g_previousHandler = qInstallMessageHandler(QuietHandler);
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    InstallFontSubstitutes();

    CDibDC picture;
    if (!picture.Load(photo, 32))
        return Fail(
            QStringLiteral("cannot read the photo %1: %2").arg(photo, picture.ErrorString()));

    const QString infoPath = InfoFilePathFor(photo);
    PhotoInfo info;
    switch (info.Read(infoPath)) {
    case InfoReadStatus::Read:
        break;
    case InfoReadStatus::Missing:
        // No file means no records yet; a file that is there must be readable.
        if (QFileInfo::exists(infoPath))
            return Fail(QStringLiteral("cannot open the photo-info file %1").arg(infoPath));
        break;
    case InfoReadStatus::NotInfoFile:
        return Fail(QStringLiteral("%1 is not a photo-info file").arg(infoPath));
    case InfoReadStatus::Damaged:
        return Fail(QStringLiteral("the photo-info file %1 is damaged").arg(infoPath));
    }

    // The decoded photo itself becomes the picture: no second full-size copy.
    QString error;
    if (!ExportAnnotatedPicture(std::move(picture.Image()), info, out, &error))
        return Fail(QStringLiteral("cannot write %1: %2").arg(out, error));
    return 0;
}
