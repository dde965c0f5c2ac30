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
#include <vector>

struct PdfJpegImage {
    QSize standInSize; // unique among the pictures of one document
    QByteArray jpeg;   // a baseline or progressive JPEG stream, 3 components
    QSize size;        // the JPEG's pixel size
};

// A stand-in picture of `size`, to draw where the JPEG goes.
QImage PdfStandInImage(QSize size);

// Replaces in `pdf` (as QPdfWriter wrote it) the image object of every
// stand-in by its JPEG. False with `error` set, and `pdf` unchanged, when the
// document is not laid out as expected or a stand-in is not found.
bool PutJpegImagesIntoPdf(QByteArray* pdf, const std::vector<PdfJpegImage>& images, QString* error);
