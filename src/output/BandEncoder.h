#pragma once
// A picture made and encoded band by band: the caller fills a band of rows,
// a worker encodes it as the next rows of the JPEG stream while the caller
// fills the next band in the other of two band buffers. Only two bands are
// ever held; the bytes go to the sink as the encoder makes them.

#include "lumoimage/JpegRowEncoder.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>
#include <vector>

// Rows of the picture finished so far, of all its rows; called on the thread
// that encodes, after each band.
using PictureProgress = std::function<void(int rowsDone, int rows)>;

// Puts the picture's rows [top, top + band.height()) into `band` (32-bit RGB).
using BandFiller = std::function<void(QImage& band, int top)>;

// A marker segment written after the stream's header (APP1 Exif, COM).
struct JpegMarker {
    int marker = 0;
    QByteArray payload;
};

// Encodes a `width` × `height` picture with the export's settings
// (CDibDC::ExportSettings), `bandRows` rows at a time (1..height). False with
// `error` set when it could not be made (not enough memory for the bands,
// the encoder or the sink failed).
bool EncodeInBands(int width, int height, int bandRows, const std::vector<JpegMarker>& markers,
                   const BandFiller& fill, const JpegSink& sink, const PictureProgress& progress,
                   QString* error);
