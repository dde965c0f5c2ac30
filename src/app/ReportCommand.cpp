// tessamar --report OUT.pdf PHOTO...: one PDF report, a section per photo,
// drawn without a display.
#include "app/CommandLine.h"
#include "app/ExportMessages.h"
#include "app/InterfaceLanguage.h"
#include "app/QuietQtMessages.h"

#include "output/ExportTarget.h"
#include "output/ReportSections.h"
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

int RunReport(int argc, char** argv, const QString& out, const QStringList& photos) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) {
        QuietQtMessages();
        app = std::make_unique<QGuiApplication>(argc, argv);
        // The report's headings speak the interface's language; the
        // messages stay English.
        UseInterfaceLanguage(InterfaceLanguageFromEnvironment(), QtTexts::AsShipped);
    }
    InstallFontSubstitutes();

    // Never over one of its own inputs nor a special file.
    for (const QString& photo : photos) {
        const QString refused = RefuseExportTarget(photo, out);
        if (!refused.isEmpty())
            return Fail(QStringLiteral("cannot write %1: %2").arg(out, refused));
    }
    try {
        // A photo at a time: its picture goes to the disk before the next
        // is decoded.
        ReportFile report(out);
        for (const QString& photo : photos) {
            PhotoFileExport result;
            if (!report.AddFile(photo, &result))
                return Fail(ExportFailureMessage(photo, out, result));
            if (result.referenceDamaged)
                std::fprintf(stderr, "tessamar: %s\n",
                             DamagedExtensionWarning(result.infoPath).toLocal8Bit().constData());
        }
        QString error;
        if (!report.Write(&error))
            return Fail(QStringLiteral("cannot write %1: %2").arg(ShownPath(out), error));
    } catch (const std::bad_alloc&) {
        return Fail(QStringLiteral("cannot make the report %1: the photos are too large for the "
                                   "memory available")
                        .arg(out));
    }
    return 0;
}
