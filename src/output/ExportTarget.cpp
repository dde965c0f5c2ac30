#include "output/ExportTarget.h"

#include "document/PhotoInfo.h"
#include "platform/FileStamp.h"

#include <QFileInfo>

namespace {
// The same name in the same folder, however the folder is spelt: how a file
// that is not there yet is recognised.
bool SamePlace(const QString& a, const QString& b) {
    const QFileInfo first(a), second(b);
    return first.fileName() == second.fileName() &&
           FileStamp::Of(first.absolutePath()).SameFileAs(FileStamp::Of(second.absolutePath()));
}
} // namespace

QString RefuseExportTarget(const QString& photoPath, const QString& outPath) {
    const QString infoPath = InfoFilePathFor(photoPath);
    const FileStamp out = FileStamp::Of(outPath);
    if (!out.Exists()) {
        // A picture where the records will be saved would be taken for a
        // damaged info file.
        if (SamePlace(outPath, infoPath))
            return QStringLiteral("It is the photo's info file.");
        return QString();
    }
    if (!out.IsRegular())
        return out.NotRegularText();
    if (out.SameFileAs(FileStamp::Of(photoPath)))
        return QStringLiteral("It is the photo itself.");
    if (out.SameFileAs(FileStamp::Of(infoPath)))
        return QStringLiteral("It is the photo's info file.");
    return QString();
}
