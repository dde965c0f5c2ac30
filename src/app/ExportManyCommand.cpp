// tessamar --export-many OUTDIR PHOTO... [--force] [--keep-location]: every photo's annotated
// picture into OUTDIR, on every core, a line per photo as each finishes.
#include "app/CommandLine.h"
#include "app/ExportMessages.h"
#include "app/HeadlessCommand.h"

#include "output/BatchExport.h"

#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

namespace {
// Writes the finished photos' lines on stderr; on a terminal a progress
// figure stays on the last line, replaced as each photo finishes.
class ProgressLines {
public:
    explicit ProgressLines(int total) : m_total(total), m_terminal(isatty(STDERR_FILENO) == 1) {}
    ~ProgressLines() {
        if (m_terminal)
            std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }

    void Finished(const BatchExportItem& item, const QString& repeated, int done) {
        QString line;
        if (!repeated.isEmpty())
            line = QStringLiteral("%1 is the photo %2 given again: exported once")
                       .arg(ShownPath(item.photo), ShownPath(repeated));
        else if (item.result.Succeeded())
            line = QStringLiteral("%1 -> %2").arg(ShownPath(item.photo), ShownPath(item.out));
        else
            line = ExportFailureMessage(item.photo, item.out, item.result);
        // Still one line for the photo.
        if (item.result.referenceDamaged)
            line += QStringLiteral("; ") + DamagedExtensionWarning(item.result.infoPath);
        if (m_terminal)
            std::fputs("\r\033[K", stderr);
        Say(line);
        if (m_terminal)
            std::fprintf(stderr, "tessamar: %d/%d (%d%%)", done, m_total, done * 100 / m_total);
        std::fflush(stderr);
    }

private:
    int m_total;
    bool m_terminal;
};
} // namespace

int RunExportMany(int argc, char** argv, const QString& outDir, const QStringList& photos,
                  bool overwrite, bool keepLocation) {
    if (!QFileInfo(outDir).isDir())
        return Fail(QStringLiteral("%1 is not a folder").arg(outDir));
    const auto app = StartHeadless(argc, argv, HeadlessApp::Gui);

    BatchExportOptions options;
    options.overwrite = overwrite;
    options.keepLocation = keepLocation;
    int failed = 0;
    int distinct = 0;
    {
        ProgressLines lines(static_cast<int>(photos.size()));
        const std::vector<BatchExportItem> items = ExportPhotoFiles(
            photos, outDir, options, [&lines, &photos](const BatchExportItem& item, int done) {
                lines.Finished(item, item.repeatOf >= 0 ? photos[item.repeatOf] : QString(), done);
            });
        for (const BatchExportItem& item : items) {
            if (item.repeatOf >= 0)
                continue;
            ++distinct;
            failed += item.result.Succeeded() ? 0 : 1;
        }
    }
    if (failed > 0)
        return Fail(QStringLiteral("%1 of %2 photos failed").arg(failed).arg(distinct));
    return 0;
}
