#include "output/AnnotatedExport.h"

#include "document/PhotoInfo.h"
#include "drawing/AnnotationRenderer.h"
#include "drawing/RecordDrawing.h"
#include "output/BandedPicture.h"
#include "platform/DurableFile.h"

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
    // The bytes go to the temporary file as the encoder makes them; the
    // target is replaced only when the whole picture is on the disk.
    DurableFileWriter file;
    QString why;
    if (!file.Open(path, &why, existing))
        return fail(why);
    QString writeError;
    const JpegSink sink = [&file, &writeError](const char* data, qsizetype size) {
        return file.Append(data, size, &writeError);
    };
    if (!EncodeAnnotatedPicture(photo, info, *renderer, sink, &why, options))
        return fail(writeError.isEmpty() ? why : writeError);
    if (!file.Commit(&why))
        return fail(why);
    if (error)
        error->clear();
    return true;
}
