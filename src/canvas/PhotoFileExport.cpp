#include "canvas/PhotoFileExport.h"

#include "canvas/AnnotatedExport.h"
#include "canvas/AnnotationRenderer.h"
#include "canvas/ExportTarget.h"
#include "canvas/RecordDrawing.h"
#include "document/PhotoInfo.h"
#include "lumoimage/CDibDC.h"

#include <future>
#include <system_error>

namespace {
// Decodes on a thread of its own; in this thread, later, when none can be had.
std::future<bool> StartDecode(CDibDC& picture, const QString& path) {
    auto decode = [&picture, path] { return picture.Load(path, 32); };
    try {
        return std::async(std::launch::async, decode);
    } catch (const std::system_error&) {
        return std::async(std::launch::deferred, decode);
    }
}
} // namespace

PhotoFileExport ExportPhotoFile(const QString& photoPath, const QString& outPath) {
    using Failure = PhotoFileExport::Failure;
    PhotoFileExport result;
    result.infoPath = InfoFilePathFor(photoPath);
    // Never over its own input nor a special file: refused before any work.
    result.detail = RefuseExportTarget(photoPath, outPath);
    if (!result.detail.isEmpty()) {
        result.failure = Failure::Output;
        return result;
    }

    CDibDC picture;
    // Declared after `picture`: if anything below throws, the decode is waited
    // for before the picture goes.
    std::future<bool> decoded = StartDecode(picture, photoPath);

    PhotoInfo info;
    const InfoReadStatus status = info.Read(result.infoPath);
    AnnotationRenderer renderer;
    if (status == InfoReadStatus::Read)
        PrepareAllRecords(renderer, info, nullptr);

    // A photo that cannot be read is reported first, whatever the info file.
    if (!decoded.get()) {
        result.failure = Failure::Photo;
        result.detail = picture.ErrorString();
        return result;
    }
    switch (status) {
    case InfoReadStatus::Read:
        break;
    case InfoReadStatus::Missing:
        break; // no file means no records yet
    case InfoReadStatus::Unreadable:
        result.failure = Failure::InfoUnreadable;
        result.detail = info.LastReadError();
        return result;
    case InfoReadStatus::TooLarge:
        result.failure = Failure::InfoTooLarge;
        result.detail = info.LastReadError();
        return result;
    case InfoReadStatus::NotInfoFile:
        result.failure = Failure::NotInfoFile;
        return result;
    case InfoReadStatus::Damaged:
        result.failure = Failure::InfoDamaged;
        return result;
    }

    // The decoded photo itself becomes the picture: no second full-size copy.
    if (!ExportAnnotatedPicture(std::move(picture.Image()), info, outPath, &result.detail,
                                &renderer))
        result.failure = Failure::Output;
    return result;
}
