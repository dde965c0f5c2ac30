#include "canvas/ExportTarget.h"

#include "document/PhotoInfo.h"
#include "platform/FileStamp.h"

QString RefuseExportTarget(const QString& photoPath, const QString& outPath) {
    const FileStamp out = FileStamp::Of(outPath);
    if (!out.Exists())
        return QString();
    if (!out.IsRegular())
        return out.NotRegularText();
    if (out.SameFileAs(FileStamp::Of(photoPath)))
        return QStringLiteral("It is the photo itself.");
    if (out.SameFileAs(FileStamp::Of(InfoFilePathFor(photoPath))))
        return QStringLiteral("It is the photo's info file.");
    return QString();
}
