#include "canvas/AnnotatedExport.h"

#include "canvas/AnnotationRenderer.h"
#include "canvas/RecordDrawing.h"
#include "document/PhotoInfo.h"
#include "lumoimage/CDibDC.h"

#include <QCoreApplication>
#include <QPainter>
#include <memory>

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
                            QString* error, AnnotationRenderer* renderer) {
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (photo.isNull())
        return fail(QCoreApplication::translate("Export", "no photo is loaded"));
    CDibDC surface;
    surface.Image() = std::move(photo);
    if (surface.Image().format() != QImage::Format_RGB32)
        surface.Image() = surface.Image().convertToFormat(QImage::Format_RGB32);
    DrawRecordsAtPhotoScale(surface.Image(), info, renderer);
    if (surface.Image().isNull())
        return fail(QCoreApplication::translate("Export", "not enough memory for the picture"));
    if (!surface.Save(path))
        return fail(surface.ErrorString());
    if (error)
        error->clear();
    return true;
}
