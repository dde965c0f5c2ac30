#include "canvas/AnnotatedExport.h"

#include "canvas/AnnotationRenderer.h"
#include "canvas/RecordDrawing.h"
#include "document/PhotoInfo.h"
#include "lumoimage/CDibDC.h"
#include "lumoimage/PixelBuffer.h"
#include "platform/BackgroundWork.h"

#include <QCoreApplication>
#include <QPainter>
#include <cstring>
#include <memory>

namespace {
// A 32-bit copy of `photo` to draw on, in memory that is quick to fill (a
// fresh 96 MB block faulted in page by page costs more than copying it).
QImage DrawableCopy(const QImage& photo) {
    if (photo.format() != QImage::Format_RGB32)
        return photo.convertToFormat(QImage::Format_RGB32);
    QImage copy = AllocateRgb32(photo.width(), photo.height());
    if (copy.isNull())
        return copy;
    const size_t rowBytes = static_cast<size_t>(photo.width()) * 4;
    for (int y = 0; y < photo.height(); ++y)
        std::memcpy(copy.scanLine(y), photo.constScanLine(y), rowBytes);
    return copy;
}
} // namespace

void DrawRecordsAtPhotoScale(QImage& picture, const PhotoInfo& info, AnnotationRenderer* renderer) {
    if (info.dimensions.empty() && info.notes.empty())
        return;
    std::unique_ptr<AnnotationRenderer> own;
    if (!renderer) {
        own = std::make_unique<AnnotationRenderer>();
        renderer = own.get();
    }
    // Never selected: the picture shows no selection.
    QPainter painter(&picture);
    DrawAllDimensions(*renderer, painter, info, -1, nullptr);
    DrawAllNotes(*renderer, painter, info, -1, nullptr);
}

bool ExportAnnotatedPicture(QImage photo, const PhotoInfo& info, const QString& path,
                            QString* error, AnnotationRenderer* renderer, ExistingFile existing) {
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (photo.isNull())
        return fail(QCoreApplication::translate("Export", "no photo is loaded"));
    std::unique_ptr<AnnotationRenderer> own;
    if (!renderer) {
        own = std::make_unique<AnnotationRenderer>();
        renderer = own.get();
    }
    // A photo still shared (the canvas goes on showing it) must be copied
    // before it is drawn on: a worker copies it while this thread makes the
    // labels. Nobody writes to the shared pixels meanwhile.
    QFuture<QImage> copied;
    const bool copying = !photo.isDetached() || photo.format() != QImage::Format_RGB32;
    if (copying)
        copied = SharedWorkers().Run([shared = std::move(photo)] { return DrawableCopy(shared); });
    PrepareAllRecords(*renderer, info, nullptr);
    CDibDC surface;
    surface.Image() = copying ? copied.result() : std::move(photo);
    if (surface.Image().isNull())
        return fail(QCoreApplication::translate("Export", "not enough memory for the picture"));
    DrawRecordsAtPhotoScale(surface.Image(), info, renderer);
    if (!surface.Save(path, existing))
        return fail(surface.ErrorString());
    if (error)
        error->clear();
    return true;
}
