#pragma once
// The steps of opening a photo in the window, each cheap or interruptible:
// its header read at once (size, orientation, and whether it can be opened
// at all), a reduced stand-in picture, and the full decode on a worker that
// can be given up between batches of rows.

#include "lumoimage/ExifReader.h"
#include "lumoimage/JpegRowDecoder.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

struct PhotoHead {
    QByteArray bytes;      // the start of the file (the whole file when small)
    bool whole = false;    // `bytes` is the whole file
    JpegHeaderInfo header; // as scanned from `bytes`
    QSize stored;          // as stored
    QSize upright;         // once turned upright: the size the photo is shown at
};

// Reads the start of the photo and refuses, with the words the full load
// would use, what could not be opened: no file, no JPEG, an unreadable
// header, an unsupported sample size or colour layout, too many pixels.
bool ReadPhotoHead(const QString& path, PhotoHead* head, QString* error);

// The photo's Exif thumbnail, upright, when it has the photo's proportions;
// a null image otherwise. `sharp`, when given, says whether it can stand in
// alone: a long side of at least 1/16 of the photo's (a fitted view of a
// large photo draws it at 1/4 to 1/8, so the stand-in is at most a few times
// softer than the view). A smaller one (phones store 160 x 120) is the first
// picture all the same, until a reduced decode replaces it.
QImage ThumbnailStandIn(const PhotoHead& head, bool* sharp = nullptr);

// Decodes the photo at `path`, whose head `head` was read by ReadPhotoHead,
// reduced by num/denom, and turns it upright as the head says. The file is
// read a slice at a time as the decoder needs it (JpegFileSource.h), never
// whole into memory. Failures are worded as CDibDC::Load words them.
RowDecodeResult DecodePhotoFileUpright(const QString& path, const PhotoHead& head, int num,
                                       int denom, DecodeControl* control, QImage* out,
                                       QString* error);

// The photo's size as stored, decoded reduced by 1/denom.
QSize ReducedStoredSize(const PhotoHead& head, int denom);

// Turns a decoded picture upright as `orientation` says (1: as it is) into
// `*out`; fails, saying so, when memory for the turned copy cannot be had.
RowDecodeResult TurnDecodedUpright(QImage image, int orientation, QImage* out, QString* error);
