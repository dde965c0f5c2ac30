#pragma once
// Putting JPEG pictures into a PDF as they are. QPdfWriter encodes every
// picture it is given again (a second lossy encode); so the report draws a
// small stand-in picture of a size of its own where each photo goes, and
// this replaces each stand-in's image object by one that carries the JPEG
// stream unchanged (DCTDecode), then writes the cross-reference table anew.
// The page content places an image in a unit square, so the stand-in's size
// plays no part in where or how large the picture is drawn.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

// Where the document's bytes go, a piece at a time; false stops the writing.
using PdfSink = std::function<bool(const char* data, qint64 size)>;

struct PdfJpegImage {
    QSize standInSize; // unique among the pictures of one document
    QSize size;        // the JPEG's pixel size
    qint64 jpegSize = 0;
    // Passes the JPEG stream (baseline or progressive, 3 components) of
    // `jpegSize` bytes to the sink, a piece at a time.
    std::function<bool(const PdfSink&)> writeJpeg;
};

// A stand-in picture of `size`, to draw where the JPEG goes.
QImage PdfStandInImage(QSize size);

// Writes `pdf` (as QPdfWriter wrote it) to `out` with the image object of
// every stand-in replaced by its JPEG, each JPEG passed through as it comes,
// never gathered in memory. False with `error` set when the document is not
// laid out as expected or a stand-in is not found (then nothing was written),
// or when the sink or a JPEG's source fails.
bool WritePdfWithJpegImages(const QByteArray& pdf, const std::vector<PdfJpegImage>& images,
                            const PdfSink& out, QString* error);
