#include "app/ExportMessages.h"

#include "app/HeadlessCommand.h"
#include "output/PhotoFileExport.h"

#include <algorithm>

QString ShownPath(const QString& path) {
    const bool plain = std::none_of(path.begin(), path.end(), [](QChar c) {
        return c.unicode() < 0x20 || c.unicode() == 0x7f || c.category() == QChar::Other_Control;
    });
    if (plain)
        return path;
    QString shown = QStringLiteral("\"");
    for (const QChar c : path) {
        switch (c.unicode()) {
        case '\n':
            shown += QStringLiteral("\\n");
            break;
        case '\r':
            shown += QStringLiteral("\\r");
            break;
        case '\t':
            shown += QStringLiteral("\\t");
            break;
        case '"':
        case '\\':
            shown += QLatin1Char('\\');
            shown += c;
            break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7f || c.category() == QChar::Other_Control)
                shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                shown += c;
        }
    }
    return shown + QLatin1Char('"');
}

QString DamagedExtensionWarning(const QString& infoPath) {
    return QStringLiteral("warning: the extension block of the photo-info file %1 is damaged: "
                          "its reference length and plane are left out; the dimensions and "
                          "notes are whole")
        .arg(ShownPath(infoPath));
}

QString ExportFailureMessage(const QString& photoPath, const QString& outPath,
                             const PhotoFileExport& result) {
    const QString photo = ShownPath(photoPath);
    const QString out = ShownPath(outPath);
    const QString infoPath = ShownPath(result.infoPath);
    using Failure = PhotoFileExport::Failure;
    switch (result.failure) {
    case Failure::None:
        return QString();
    case Failure::Photo:
        return QStringLiteral("cannot read the photo %1: %2").arg(photo, result.detail);
    case Failure::InfoUnreadable:
        return QStringLiteral("cannot open the photo-info file %1: %2")
            .arg(infoPath, result.detail);
    case Failure::InfoTooLarge:
        return QStringLiteral("cannot read the photo-info file %1: %2")
            .arg(infoPath, result.detail);
    case Failure::NotInfoFile:
        return QStringLiteral("%1 is not a photo-info file").arg(infoPath);
    case Failure::InfoDamaged:
        return QStringLiteral("the photo-info file %1 is damaged").arg(infoPath);
    case Failure::NoPlane:
        return QStringLiteral("%1 has no reference plane: set one in the window (the canvas "
                              "menu's reference plane) to make its head-on picture")
            .arg(photo);
    case Failure::Output:
        break;
    }
    return QStringLiteral("cannot write %1: %2").arg(out, result.detail);
}

int FinishPhotoFileCommand(const QString& photo, const QString& out,
                           const PhotoFileExport& result) {
    if (result.referenceDamaged)
        Say(DamagedExtensionWarning(result.infoPath));
    if (result.Succeeded())
        return 0;
    return Fail(ExportFailureMessage(photo, out, result));
}
