// tessamar --report OUT.pdf PHOTO...: one PDF report, a section per photo,
// drawn without a display.
#include "app/CommandLine.h"
#include "app/ExportMessages.h"
#include "app/HeadlessCommand.h"
#include "app/InterfaceLanguage.h"

#include "output/ExportTarget.h"
#include "output/ReportSections.h"

#include <new>

int RunReport(int argc, char** argv, const QString& out, const QStringList& photos) {
    const auto app = StartHeadless(argc, argv, HeadlessApp::Gui);
    // The report's headings speak the interface's language; the messages
    // stay English.
    if (app)
        UseInterfaceLanguage(InterfaceLanguageFromEnvironment(), QtTexts::AsShipped);

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
                Say(DamagedExtensionWarning(result.infoPath));
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
