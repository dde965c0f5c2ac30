#include "app/CommandLine.h"
#include "app/ExportMessages.h"
#include "app/HeadlessCommand.h"
#include "document/InfoFileRead.h"
#include "document/PhotoInfo.h"
#include "document/PhotoInfoJson.h"

#include <QFileInfo>
#include <cstdio>

// Needs no display and no application object: only files and text. The JSON
// goes out a record at a time, so it never needs a copy of its own.
int RunPrintInfo(const QString& path) {
    PhotoInfo info;
    const QString shownPath = QFileInfo(path).filePath();
    auto fail = [&shownPath](const QString& reason) {
        return Fail(QStringLiteral("%1: %2").arg(shownPath, reason));
    };
    switch (const InfoFileRead read = ReadInfoFile(path, info); read.outcome) {
    case InfoFileOutcome::Read:
        break;
    case InfoFileOutcome::Missing:
        return fail(QStringLiteral("no such file"));
    case InfoFileOutcome::Unreadable:
    case InfoFileOutcome::TooLarge:
        return fail(read.reason);
    case InfoFileOutcome::NotInfoFile:
        return fail(QStringLiteral("not a photo-info file"));
    case InfoFileOutcome::Damaged:
        return fail(QStringLiteral("damaged photo-info file (it ends early or holds "
                                   "impossible counts or lengths)"));
    }
    if (info.ReferenceDamaged())
        Say(DamagedExtensionWarning(shownPath));
    const bool written = WritePhotoInfoJson(info, [](const QByteArray& piece) {
        return std::fwrite(piece.constData(), 1, static_cast<size_t>(piece.size()), stdout) ==
               static_cast<size_t>(piece.size());
    });
    if (!written || std::fputc('\n', stdout) == EOF || std::fflush(stdout) != 0)
        return Fail(QStringLiteral("cannot write to standard output"));
    return 0;
}
