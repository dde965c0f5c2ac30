#pragma once
// Builders for the JPEG byte streams the image tests feed to the decoder.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

#include <ostream>

// Encodes with libjpeg-turbo directly (4:4:4 unless told otherwise).
QByteArray EncodeTestJpeg(const QImage& image, int quality = 95, bool subsample420 = false);

// The stream with an Exif APP1 segment spliced in right after SOI, carrying
// the orientation tag and, when given, an IFD1 thumbnail (a JPEG stream).
QByteArray WithExif(const QByteArray& jpeg, int orientation, const QByteArray& thumbnail = {},
                    bool bigEndian = false);

// The stream with the frame header (SOF) claiming another size.
QByteArray WithFrameSize(const QByteArray& jpeg, int width, int height);

// A picture with an 8x8 red block at the top-left corner, a green one at the
// top-right corner, on blue; `width` and `height` are multiples of 8.
QImage CornerMarkedPicture(int width, int height);

// Mean colour of the 4x4 pixels around the centre of the 8x8 block whose
// top-left is (x, y).
QColor BlockColour(const QImage& image, int x, int y);

bool IsNear(const QColor& actual, const QColor& expected, int tolerance);

void PrintTo(const QColor& c, std::ostream* os);
