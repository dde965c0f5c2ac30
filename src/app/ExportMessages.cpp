#include "app/ExportMessages.h"

#include "canvas/PhotoFileExport.h"

QString ExportFailureMessage(const QString& photo, const QString& out,
                             const PhotoFileExport& result) {
    using Failure = PhotoFileExport::Failure;
    switch (result.failure) {
    case Failure::None:
        return QString();
    case Failure::Photo:
        return QStringLiteral("cannot read the photo %1: %2").arg(photo, result.detail);
    case Failure::InfoUnreadable:
        return QStringLiteral("cannot open the photo-info file %1: %2")
            .arg(result.infoPath, result.detail);
    case Failure::InfoTooLarge:
        return QStringLiteral("cannot read the photo-info file %1: %2")
            .arg(result.infoPath, result.detail);
    case Failure::NotInfoFile:
        return QStringLiteral("%1 is not a photo-info file").arg(result.infoPath);
    case Failure::InfoDamaged:
        return QStringLiteral("the photo-info file %1 is damaged").arg(result.infoPath);
    case Failure::Output:
        break;
    }
    return QStringLiteral("cannot write %1: %2").arg(out, result.detail);
}
