#pragma once
// Decoding JPEG bytes in one call into a 32-bit QImage (Format_RGB32), at
// full size or reduced in the DCT by a scaling factor: DecodeJpegRows without
// its progress, with the same refusals.
// The picture comes out as stored: turning it upright is the caller's step.

#include <QImage>
#include <QSize>
#include <QString>

#include <cstddef>
#include <cstdint>

// Pictures with more pixels than this are refused before any allocation
// (4 bytes each: 1 GiB). The largest camera photos are far below it.
constexpr qint64 kMaxDecodePixels = qint64(1) << 28;

class JpegDecoder {
public:
    // Reads the frame size of the stream. False with a reason when the
    // header is not readable.
    bool ReadSize(const std::uint8_t* data, std::size_t size, QSize* stored, QString* error);

    // Decodes the stream reduced by num/denom (one of libjpeg-turbo's scaling
    // factors; 1/1 = full size). A truncated or corrupt stream fails the
    // decode: a damaged photo is never shown as if whole.
    // `*out` is only replaced on success.
    bool Decode(const std::uint8_t* data, std::size_t size, int num, int denom, QImage* out,
                QString* error);

    // The smallest scaling factor (num/denom <= 1) whose result still covers
    // `needed`, for a picture stored at `stored`.
    static void ChooseScale(QSize stored, QSize needed, int* num, int* denom);
};

// Adobe CMYK JPEGs store inverted ink values; libjpeg hands them over as they
// are stored. Turns the 4-byte CMYK pixels into RGB32 in place.
void CmykToRgb32(QImage* image);
// The same for one row of `width` pixels.
void CmykRowToRgb32(uchar* row, int width);
