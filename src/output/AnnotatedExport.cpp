#include "output/AnnotatedExport.h"

#include "document/PhotoInfo.h"
#include "drawing/AnnotationRenderer.h"
#include "drawing/RecordDrawing.h"
#include "output/BandedPicture.h"
#include "output/DurableJpeg.h"

#include <QCoreApplication>
#include <QPainter>
#include <memory>

void DrawRecordsAtPhotoScale(QImage& picture, const PhotoInfo& info, AnnotationRenderer* renderer) {
    if (!HasRecords(info))
        return;
    std::unique_ptr<AnnotationRenderer> own;
    if (!renderer) {
        own = std::make_unique<AnnotationRenderer>();
        renderer = own.get();
    }
    // Never selected: the picture shows no selection.
    QPainter painter(&picture);
    DrawAllRecords(*renderer, painter, info, nullptr);
}

bool ExportAnnotatedPicture(const QImage& photo, const PhotoInfo& info, const QString& path,
                            QString* error, AnnotationRenderer* renderer,
                            const BandedPictureOptions& options, ExistingFile existing) {
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (photo.isNull())
        return fail(QCoreApplication::translate("Export", "no photo is loaded"));
    std::unique_ptr<AnnotationRenderer> own;
    if (!renderer) {
        own = std::make_unique<AnnotationRenderer>(kBandedLabelBytes);
        renderer = own.get();
    }
    return WriteJpegDurably(
        path,
        [&](const JpegSink& sink, QString* why) {
            return EncodeAnnotatedPicture(photo, info, *renderer, sink, why, options);
        },
        error, existing);
}
