#include "document/InfoFileRead.h"

#include "document/PhotoInfo.h"

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
        break;
    case InfoReadStatus::Unreadable:
        result.outcome = InfoFileOutcome::Unreadable;
        result.reason = info.LastReadError();
        break;
    case InfoReadStatus::TooLarge:
        result.outcome = InfoFileOutcome::TooLarge;
        result.reason = info.LastReadError();
        break;
    }
    info.Clear();
    return result;
}
