#pragma once
// Decoding JPEG bytes a batch of rows at a time with libjpeg's scanline
// interface, so the work can be given up between batches and its progress
// read from another thread. The pixels are the same as JpegDecoder's.

#include <QImage>
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

// Decodes the stream reduced by num/denom (one of libjpeg-turbo's scaling
// factors; 1/1 = full size) into a Format_RGB32 picture, as stored (not
// turned upright). Any decoder warning fails the decode, as in JpegDecoder.
// `*out` is only replaced when the result is Done; `*error` says why when it
// is Failed. `control` may be null.
RowDecodeResult DecodeJpegRows(const std::uint8_t* data, std::size_t size, int num, int denom,
                               DecodeControl* control, QImage* out, QString* error);
