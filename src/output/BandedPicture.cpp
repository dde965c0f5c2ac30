#include "output/BandedPicture.h"

#include "document/PhotoInfo.h"
#include "drawing/RecordDrawing.h"
#include "output/BandEncoder.h"

#include <QCoreApplication>
#include <QPainter>
#include <cstring>

namespace {

// Rows [top, top + band.height()) of `photo` into `band` as 32-bit pixels.
void CopyRows(const QImage& photo, int top, QImage& band) {
    if (photo.format() == QImage::Format_RGB32) {
        const size_t rowBytes = static_cast<size_t>(photo.width()) * 4;
        for (int y = 0; y < band.height(); ++y)
            std::memcpy(band.scanLine(y), photo.constScanLine(top + y), rowBytes);
        return;
    }
    const QImage converted =
        photo.copy(0, top, photo.width(), band.height()).convertToFormat(QImage::Format_RGB32);
    const size_t rowBytes = static_cast<size_t>(photo.width()) * 4;
    for (int y = 0; y < band.height() && y < converted.height(); ++y)
        std::memcpy(band.scanLine(y), converted.constScanLine(y), rowBytes);
}

} // namespace

bool EncodeAnnotatedPicture(const QImage& photo, const PhotoInfo& info,
                            AnnotationRenderer& renderer, const JpegSink& sink, QString* error,
                            const BandedPictureOptions& options) {
    if (photo.isNull()) {
        if (error)
            *error = QCoreApplication::translate("Export", "no photo is loaded");
        return false;
    }
    const int height = photo.height();
    // The smoothed strokes of a reference plane come out a little different
    // when the painter's device is a band (the rasterizer's rounding follows
    // the part of the picture it covers), so a photo with a plane is drawn
    // in one band, as a whole copy: the same picture for more memory.
    const int bandRows = info.reference.hasPlane ? height : options.bandRows;
    const bool anyRecord = HasRecords(info);
    const BandFiller fill = [&](QImage& band, int top) {
        CopyRows(photo, top, band);
        if (!anyRecord)
            return;
        // Never selected: the picture shows no selection. Records that miss
        // the band are skipped before their labels are looked at.
        QPainter painter(&band);
        painter.translate(0, -top);
        DrawAllRecords(renderer, painter, info, nullptr);
    };
    return EncodeInBands(photo.width(), height, bandRows, {{0xE1 /* APP1 */, options.exif}}, fill,
                         sink, options.progress, error);
}
