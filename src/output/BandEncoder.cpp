#include "output/BandEncoder.h"

#include "lumoimage/CDibDC.h"
#include "lumoimage/PixelBuffer.h"
#include "platform/BackgroundWork.h"

#include <QCoreApplication>
#include <QScopeGuard>

#include <algorithm>

bool EncodeInBands(int width, int height, int bandRows, const std::vector<JpegMarker>& markers,
                   const BandFiller& fill, const JpegSink& sink, const PictureProgress& progress,
                   QString* error) {
    bandRows = std::clamp(bandRows, 1, height);
    // Two bands' memory, used in turn: a worker encodes one band while this
    // thread fills the next.
    const int buffers = bandRows < height ? 2 : 1;
    QImage memory[2];
    for (int i = 0; i < buffers; ++i) {
        memory[i] = AllocateRgb32(width, bandRows);
        if (memory[i].isNull()) {
            if (error)
                *error = QCoreApplication::translate("Export", "not enough memory for the picture");
            return false;
        }
    }

    JpegRowEncoder encoder;
    if (!encoder.Start(width, height, CDibDC::ExportSettings(), sink, error))
        return false;
    for (const JpegMarker& marker : markers)
        if (!marker.payload.isEmpty() && !encoder.WriteMarker(marker.marker, marker.payload, error))
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
        if (ok && progress)
            progress(encodedRows, height);
        if (!ok && error)
            *error = encodeError;
        return ok;
    };

    int which = 0;
    for (int top = 0; top < height; top += bandRows) {
        const int rows = std::min(bandRows, height - top);
        QImage band(memory[which].bits(), width, rows, memory[which].bytesPerLine(),
                    QImage::Format_RGB32);
        fill(band, top);
        if (!encoded())
            return false;
        encodedRows = top + rows;
        encoding = SharedWorkers().Run(
            [&encoder, band, &encodeError] { return encoder.WriteRows(band, &encodeError); });
        which = (which + 1) % buffers;
    }
    if (!encoded())
        return false;
    return encoder.Finish(error);
}
