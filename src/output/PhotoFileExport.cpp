#include "output/PhotoFileExport.h"

#include "document/InfoFileRead.h"
#include "document/PhotoInfo.h"
#include "drawing/AnnotationRenderer.h"
#include "drawing/RecordDrawing.h"
#include "lumoimage/CDibDC.h"
#include "lumoimage/ExifExport.h"
#include "output/AnnotatedExport.h"
#include "output/ExportTarget.h"
#include "output/RectifiedExport.h"
#include "platform/BackgroundWork.h"

#include <QScopeGuard>

PhotoFileExport ExportPhotoFileWith(const QString& photoPath, const QString& outPath,
                                    const PhotoPictureWriter& write) {
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
    QFuture<bool> decoded =
        SharedWorkers().Run([&picture, photoPath] { return picture.Load(photoPath, 32); });
    // If anything below throws, the decode is waited for before the picture goes.
    const auto waitForDecode = qScopeGuard([&decoded] { decoded.waitForFinished(); });

    PhotoInfo info;
    const InfoFileRead read = ReadInfoFile(result.infoPath, info);
    AnnotationRenderer renderer;
    if (read.outcome == InfoFileOutcome::Read) {
        result.referenceDamaged = info.ReferenceDamaged();
        PrepareAllRecords(renderer, info, nullptr);
    }

    // A photo that cannot be read is reported first, whatever the info file.
    if (!decoded.result()) {
        result.failure = Failure::Photo;
        result.detail = picture.ErrorString();
        return result;
    }
    // No file means no records yet; a file that is there must be readable.
    switch (read.outcome) {
    case InfoFileOutcome::Read:
    case InfoFileOutcome::Missing:
        break;
    case InfoFileOutcome::Unreadable:
        result.failure = Failure::InfoUnreadable;
        result.detail = read.reason;
        return result;
    case InfoFileOutcome::TooLarge:
        result.failure = Failure::InfoTooLarge;
        result.detail = read.reason;
        return result;
    case InfoFileOutcome::NotInfoFile:
        result.failure = Failure::NotInfoFile;
        return result;
    case InfoFileOutcome::Damaged:
        result.failure = Failure::InfoDamaged;
        return result;
    }

    write(picture.Image(), info, renderer, &result);
    return result;
}

PhotoFileExport ExportPhotoFile(const QString& photoPath, const QString& outPath,
                                ExistingFile existing, bool keepLocation) {
    return ExportPhotoFileWith(photoPath, outPath,
                               [&](const QImage& photo, const PhotoInfo& info,
                                   AnnotationRenderer& renderer, PhotoFileExport* result) {
                                   // Drawn and encoded band by band from the decoded photo: no
                                   // second full-size copy.
                                   BandedPictureOptions options;
                                   options.exif = ExportExifOfPhoto(photoPath, keepLocation);
                                   if (ExportAnnotatedPicture(photo, info, outPath, &result->detail,
                                                              &renderer, options, existing))
                                       return true;
                                   result->failure = PhotoFileExport::Failure::Output;
                                   return false;
                               });
}

PhotoFileExport RectifyPhotoFile(const QString& photoPath, const QString& outPath,
                                 double mmPerPixel) {
    return ExportPhotoFileWith(
        photoPath, outPath,
        [&](const QImage& photo, const PhotoInfo& info, AnnotationRenderer&,
            PhotoFileExport* result) {
            if (!HeadOnViewOf(info.reference, photo.size(), mmPerPixel)) {
                result->failure = PhotoFileExport::Failure::NoPlane;
                return false;
            }
            if (ExportHeadOnPicture(photo, info, photoPath, outPath, mmPerPixel, &result->detail))
                return true;
            result->failure = PhotoFileExport::Failure::Output;
            return false;
        });
}
