#include "document/InfoFileRead.h"

#include "document/PhotoInfo.h"

#include <QFile>
#include <QFileInfo>

InfoFileRead ReadInfoFile(const QString& infoPath, PhotoInfo& info) {
    InfoFileRead result;
    result.path = infoPath;
    info.Clear();
    switch (info.Read(infoPath)) {
    case InfoReadStatus::Read:
        result.outcome = InfoFileOutcome::Read;
        return result;
    case InfoReadStatus::NotInfoFile:
        result.outcome = InfoFileOutcome::NotInfoFile;
        break;
    case InfoReadStatus::Damaged:
        result.outcome = InfoFileOutcome::Damaged;
        break;
    case InfoReadStatus::Missing:
        if (QFileInfo::exists(infoPath)) {
            // There, but not to be opened: ask again for the reason.
            QFile file(infoPath);
            file.open(QIODevice::ReadOnly);
            result.outcome = InfoFileOutcome::Unreadable;
            result.reason = file.errorString();
        }
        break;
    }
    info.Clear();
    return result;
}

InfoFileRead ReadInfoFileOfPhoto(const QString& photoPath, PhotoInfo& info) {
    return ReadInfoFile(InfoFilePathFor(photoPath), info);
}
