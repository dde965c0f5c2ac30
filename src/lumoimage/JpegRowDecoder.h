#pragma once
// Decoding JPEG bytes a batch of rows at a time with libjpeg's scanline
// interface, so the work can be given up between batches and its progress
// read from another thread. The pixels are the same as JpegDecoder's.

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <cstddef>
#include <cstdint>

// Shared between the thread that decodes and the one that watches it.
struct DecodeControl {
    std::atomic<bool> cancel{false}; // raised: stop at the next batch of rows
    std::atomic<int> rowsDone{0};    // rows of the output written so far
    std::atomic<int> rowsTotal{0};   // rows the output will have (0: not known yet)
};

enum class RowDecodeResult { Done, Failed, Cancelled };

class JpegFileSource;

// For a decode of one part of a photo: asked before each batch of rows, it
// answers how many of the stream's rows this decode may write (at most
// `upTo`); the decode stops, done, when that is no more than it has written.
class RowLimit {
public:
    virtual ~RowLimit() = default;
    virtual int Allow(int upTo) = 0;
};

// Memory of the caller's that a decode writes its rows into, at `firstRow`
// and down, instead of a picture of its own: the stand-in the window shows
// while it fills, or one part of a photo decoded in parts. The memory must
// hold `height` rows of `width` RGB32 pixels. The first `skipRows` rows of
// the stream go to `skipped` (as many rows, thrown away) instead.
struct RowTarget {
    uchar* bits = nullptr;
    qsizetype bytesPerLine = 0;
    int width = 0;
    int height = 0;
    int firstRow = 0;
    RowLimit* limit = nullptr; // null: every row
    int skipRows = 0;
    uchar* skipped = nullptr;
    // The rows are drawn while the decode goes on: each batch is converted
    // to sRGB before DecodeControl counts it (never on a thread of its own).
    bool watched = false;
};

// Decodes the stream reduced by num/denom (one of libjpeg-turbo's scaling
// factors; 1/1 = full size) into a Format_RGB32 picture, as stored (not
// turned upright). A picture is decoded when every row of it decodes: junk
// bytes between its segments are let pass (see JpegErrors.h); a file that
// ends early or whose coded data is damaged is refused, saying which. A
// photo with an ICC profile comes out in sRGB (SrgbConversion.h), each batch
// of rows converted as it is decoded.
// `*out` is only replaced when the result is Done; `*error` says why when it
// is Failed. `control` may be null.
// Reads and checks the header only: the refusals DecodeJpegRows would make
// before decoding a row.
bool ReadJpegSize(const std::uint8_t* data, std::size_t size, QSize* stored, QString* error);

// Applies the photo's own profile to a picture decoded from its Exif
// thumbnail (which carries none), in place, so the stand-in and the preview
// show the photo's colours. `photo` is the photo's bytes; its head is enough.
void ConvertAsPhoto(const std::uint8_t* photo, std::size_t size, QImage* thumbnail);

RowDecodeResult DecodeJpegRows(const std::uint8_t* data, std::size_t size, int num, int denom,
                               DecodeControl* control, QImage* out, QString* error);

// The same, reading from `source` (JpegFileSource.h); `head` is the start of
// the stream as the source gives it (its header, for the refusals made before
// libjpeg reads). With `target` the rows go there and `out` is left alone.
RowDecodeResult DecodeJpegSourceRows(JpegFileSource* source, const QByteArray& head, int num,
                                     int denom, DecodeControl* control, RowTarget* target,
                                     QImage* out, QString* error);
