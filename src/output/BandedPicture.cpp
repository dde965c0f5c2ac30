#include "output/BandedPicture.h"

#include "document/PhotoInfo.h"
#include "drawing/RecordDrawing.h"
#include "lumoimage/CDibDC.h"
#include "lumoimage/PixelBuffer.h"
#include "platform/BackgroundWork.h"

#include <QCoreApplication>
#include <QPainter>
#include <QScopeGuard>

#include <algorithm>
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
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (photo.isNull())
        return fail(QCoreApplication::translate("Export", "no photo is loaded"));
    const int width = photo.width();
    const int height = photo.height();
    // The smoothed strokes of a reference plane come out a little different
    // when the painter's device is a band (the rasterizer's rounding follows
    // the part of the picture it covers), so a photo with a plane is drawn
    // in one band, as a whole copy: the same picture for more memory.
    const int bandRows = info.reference.hasPlane ? height : std::clamp(options.bandRows, 1, height);
    // Two bands' memory, used in turn: a worker encodes one band while this
    // thread draws the next.
    const int buffers = bandRows < height ? 2 : 1;
    QImage memory[2];
    for (int i = 0; i < buffers; ++i) {
        memory[i] = AllocateRgb32(width, bandRows);
        if (memory[i].isNull())
            return fail(QCoreApplication::translate("Export", "not enough memory for the picture"));
    }

    JpegRowEncoder encoder;
    if (!encoder.Start(width, height, CDibDC::ExportSettings(), sink, error))
        return false;
    if (!options.exif.isEmpty() && !encoder.WriteMarker(0xE1 /* APP1 */, options.exif, error))
        return false;
    QFuture<bool> encoding;
    QString encodeError;
    int encodedRows = 0; // once `encoding` has finished
    // Nothing the worker uses goes before it has finished, whatever happens.
    const auto waitForEncoding = qScopeGuard([&encoding] { encoding.waitForFinished(); });
    auto encoded = [&]() {
        if (!encoding.isValid())
            return true;
        const bool ok = encoding.result();
        encoding = QFuture<bool>();
        if (ok && options.progress)
            options.progress(encodedRows, height);
        return ok;
    };

    const bool anyRecord = HasRecords(info);
    int which = 0;
    for (int top = 0; top < height; top += bandRows) {
        const int rows = std::min(bandRows, height - top);
        QImage band(memory[which].bits(), width, rows, memory[which].bytesPerLine(),
                    QImage::Format_RGB32);
        CopyRows(photo, top, band);
        if (anyRecord) {
            // Never selected: the picture shows no selection. Records that
            // miss the band are skipped before their labels are looked at.
            QPainter painter(&band);
            painter.translate(0, -top);
            DrawAllRecords(renderer, painter, info, nullptr);
        }
        if (!encoded()) {
            if (error)
                *error = encodeError;
            return false;
        }
        encodedRows = top + rows;
        encoding = SharedWorkers().Run(
            [&encoder, band, &encodeError] { return encoder.WriteRows(band, &encodeError); });
        which = (which + 1) % buffers;
    }
    if (!encoded()) {
        if (error)
            *error = encodeError;
        return false;
    }
    return encoder.Finish(error);
}
