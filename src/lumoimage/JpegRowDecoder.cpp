#include "lumoimage/JpegRowDecoder.h"

#include "lumoimage/ExifReader.h"
#include "lumoimage/JpegDecoder.h"
#include "lumoimage/JpegErrors.h"
#include "lumoimage/JpegFileSource.h"
#include "lumoimage/PixelBuffer.h"
#include "lumoimage/RowConversionThread.h"
#include "lumoimage/SrgbConversion.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>

namespace {

// Rows handed to libjpeg per call: small enough that a cancel is seen within
// a few milliseconds, large enough that the calls cost nothing.
constexpr int kRowsPerBatch = 32;
// Pictures shorter than this are converted to sRGB on the decoding thread.
constexpr int kRowsOnThreadFrom = 512;

// Refusals of what the header says, before any pixel memory is taken.
bool CheckHeader(const jpeg_decompress_struct& info, QString* error) {
    if (info.num_components != 1 && info.num_components != 3 && info.num_components != 4) {
        *error = QStringLiteral("The JPEG file uses an unsupported colour layout.");
        return false;
    }
    if (qint64(info.image_width) * info.image_height > kMaxDecodePixels) {
        *error = QStringLiteral("The picture is too large (%1 × %2 pixels).")
                     .arg(info.image_width)
                     .arg(info.image_height);
        return false;
    }
    return true;
}

// The decode proper, apart from everything with a destructor: longjmp may
// leave it at any libjpeg call. With `image` null only the header is read.
// `icc` and `conversion` are the caller's: nothing here has a destructor.
// With `conversion` null the profile is not looked at.
RowDecodeResult Run(jpeg_decompress_struct* info, JpegErrorJump* errors, const std::uint8_t* data,
                    std::size_t size, JpegFileSource* source, int num, int denom,
                    DecodeControl* control, RowTarget* target, QSize* stored, QImage* image,
                    bool* cmyk, QByteArray* icc, std::shared_ptr<const SrgbConversion>* conversion,
                    std::unique_ptr<RowConversionThread>* rowThread, QString* error) {
    volatile bool inHeader = true;
    if (setjmp(errors->jump)) {
        *error = JpegFaultText(*errors, inHeader);
        return RowDecodeResult::Failed;
    }
    if (source)
        source->Attach(info);
    else
        jpeg_mem_src(info, data, static_cast<unsigned long>(size));
    if (conversion)
        jpeg_save_markers(info, JPEG_APP0 + 2, 0xFFFF); // the ICC profile's chunks
    jpeg_read_header(info, TRUE);
    if (!CheckHeader(*info, error))
        return RowDecodeResult::Failed;
    *stored = QSize(int(info->image_width), int(info->image_height));
    *cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    JOCTET* profile = nullptr;
    unsigned profileSize = 0;
    if (conversion && info->num_components > 1 &&
        jpeg_read_icc_profile(info, &profile, &profileSize)) {
        *icc = QByteArray(reinterpret_cast<const char*>(profile), qsizetype(profileSize));
        std::free(profile);
        *conversion = SrgbConversionFor(*icc, *cmyk);
    }
    if (!image && !target)
        return RowDecodeResult::Done;
    const SrgbConversion* convert = conversion->get();
    info->scale_num = static_cast<unsigned>(num);
    info->scale_denom = static_cast<unsigned>(denom);
    // Format_RGB32 is B, G, R, 0xFF in memory on little-endian machines;
    // libjpeg-turbo's BGRX writes 0xFF into the padding byte.
    info->out_color_space = *cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_calc_output_dimensions(info);
    const int width = int(info->output_width);
    const int height = int(info->output_height);
    // Photos take well over 1/32 byte per pixel; a stream far smaller than
    // its claimed size is most likely truncated or forged, so its memory is
    // not committed up front.
    uchar* bits = nullptr;
    qsizetype bytesPerLine = 0;
    int skipRows = 0;
    if (target) {
        // The caller's memory, sized for this decode.
        if (target->width != width || target->firstRow + height > target->height) {
            *error = QStringLiteral("The picture does not fit the memory given for it.");
            return RowDecodeResult::Failed;
        }
        bits = target->bits + target->firstRow * target->bytesPerLine;
        bytesPerLine = target->bytesPerLine;
        skipRows = target->skipRows;
    } else {
        // Photos take well over 1/32 byte per pixel; a stream far smaller than
        // its claimed size is most likely truncated or forged, so its memory is
        // not committed up front.
        const bool plausible = source || qint64(size) * 32 >= qint64(width) * height;
        *image = AllocateRgb32(width, height, plausible);
        if (image->isNull()) {
            *error = QStringLiteral("Not enough memory for a picture of %1 × %2 pixels.")
                         .arg(info->image_width)
                         .arg(info->image_height);
            return RowDecodeResult::Failed;
        }
        bits = image->bits();
        bytesPerLine = image->bytesPerLine();
    }
    if (control)
        control->rowsTotal = height;
    // A large picture's rows are converted on a thread of their own while
    // the next ones are decoded.
    if (convert && height >= kRowsOnThreadFrom && !(target && target->watched))
        *rowThread = std::make_unique<RowConversionThread>(*convert, width);
    inHeader = false;
    errors->endStops = info->progressive_mode;
    jpeg_start_decompress(info);
    JSAMPROW rows[kRowsPerBatch];
    while (int(info->output_scanline) < height) {
        if (control && control->cancel)
            return RowDecodeResult::Cancelled;
        const int first = int(info->output_scanline);
        int count = std::min(kRowsPerBatch, height - first);
        if (target && target->limit) {
            count = std::min(count, target->limit->Allow(first + count) - first);
            if (count <= 0)
                return RowDecodeResult::Done; // the rest is another part's
        }
        for (int i = 0; i < count; ++i)
            rows[i] = (first + i < skipRows ? target->skipped : bits) + (first + i) * bytesPerLine;
        int done = 0;
        while (done < count)
            done += int(jpeg_read_scanlines(info, rows + done, JDIMENSION(count - done)));
        if (*rowThread)
            (*rowThread)->Add(rows, count);
        else if (convert)
            for (int i = 0; i < count; ++i)
                convert->Convert(rows[i], width);
        else if (target && *cmyk)
            for (int i = 0; i < count; ++i)
                CmykRowToRgb32(rows[i], width);
        if (control)
            control->rowsDone = first + count;
    }
    // Reads up to the end marker: a file cut after its last row, or with
    // damage there, is refused as well.
    jpeg_finish_decompress(info);
    return RowDecodeResult::Done;
}

// Refusals that need no libjpeg.
bool CheckBytes(const std::uint8_t* data, std::size_t size, QString* error) {
    if (size > std::size_t(ULONG_MAX)) {
        *error = QStringLiteral("The file is too large to be a photo.");
        return false;
    }
    // The frame header tells what libjpeg would only report as a confusing error.
    JpegHeaderInfo frame;
    if (ScanJpegHeader(data, size, &frame) && frame.hasFrame && frame.precision != 8) {
        *error = QStringLiteral("The JPEG file stores %1-bit samples; only 8-bit JPEG pictures "
                                "are supported.")
                     .arg(frame.precision);
        return false;
    }
    // libjpeg refuses sizes past 65500 with a confusing error of its own.
    if (frame.hasFrame && qint64(frame.width) * frame.height > kMaxDecodePixels) {
        *error = QStringLiteral("The picture is too large (%1 × %2 pixels).")
                     .arg(frame.width)
                     .arg(frame.height);
        return false;
    }
    return true;
}

// With `image` null only the header is read; with `conversion` null the
// profile is not looked at (a decode always looks).
RowDecodeResult Session(const std::uint8_t* data, std::size_t size, JpegFileSource* source, int num,
                        int denom, DecodeControl* control, RowTarget* target, QSize* stored,
                        QImage* image, bool* cmyk,
                        std::shared_ptr<const SrgbConversion>* conversion, QString* error) {
    if (!CheckBytes(data, size, error))
        return RowDecodeResult::Failed;
    jpeg_decompress_struct info;
    JpegErrorJump errors;
    UseJpegErrorJump(&info, &errors);
    jpeg_create_decompress(&info);
    QByteArray icc;
    std::unique_ptr<RowConversionThread> rowThread;
    const RowDecodeResult result =
        Run(&info, &errors, data, size, source, num, denom, control, target, stored, image, cmyk,
            &icc, conversion, &rowThread, error);
    jpeg_destroy_decompress(&info);
    if (result == RowDecodeResult::Done && rowThread)
        rowThread->Finish();
    rowThread.reset(); // before the picture can go
    if (result == RowDecodeResult::Done && !target && image && *cmyk && !*conversion)
        CmykToRgb32(image);
    return result;
}

} // namespace

bool ReadJpegSize(const std::uint8_t* data, std::size_t size, QSize* stored, QString* error) {
    bool cmyk = false;
    return Session(data, size, nullptr, 1, 1, nullptr, nullptr, stored, nullptr, &cmyk, nullptr,
                   error) == RowDecodeResult::Done;
}

void ConvertAsPhoto(const std::uint8_t* photo, std::size_t size, QImage* thumbnail) {
    QSize stored;
    bool cmyk = false;
    std::shared_ptr<const SrgbConversion> conversion;
    QString ignored;
    // A CMYK photo's profile says nothing of its thumbnail's RGB.
    if (Session(photo, size, nullptr, 1, 1, nullptr, nullptr, &stored, nullptr, &cmyk, &conversion,
                &ignored) != RowDecodeResult::Done ||
        cmyk || !conversion || thumbnail->format() != QImage::Format_RGB32)
        return;
    for (int y = 0; y < thumbnail->height(); ++y)
        conversion->Convert(thumbnail->scanLine(y), thumbnail->width());
}

RowDecodeResult DecodeJpegRows(const std::uint8_t* data, std::size_t size, int num, int denom,
                               DecodeControl* control, QImage* out, QString* error) {
    QSize stored;
    QImage image;
    bool cmyk = false;
    std::shared_ptr<const SrgbConversion> conversion;
    const RowDecodeResult result = Session(data, size, nullptr, num, denom, control, nullptr,
                                           &stored, &image, &cmyk, &conversion, error);
    if (result == RowDecodeResult::Done)
        *out = std::move(image);
    return result;
}

RowDecodeResult DecodeJpegSourceRows(JpegFileSource* source, const QByteArray& head, int num,
                                     int denom, DecodeControl* control, RowTarget* target,
                                     QImage* out, QString* error) {
    QSize stored;
    QImage image;
    bool cmyk = false;
    std::shared_ptr<const SrgbConversion> conversion;
    const auto* data = reinterpret_cast<const std::uint8_t*>(head.constData());
    const RowDecodeResult result =
        Session(data, std::size_t(head.size()), source, num, denom, control, target, &stored,
                target ? nullptr : &image, &cmyk, &conversion, error);
    if (result == RowDecodeResult::Done && !target)
        *out = std::move(image);
    return result;
}
