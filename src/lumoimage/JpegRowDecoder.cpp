#include "lumoimage/JpegRowDecoder.h"

#include "lumoimage/JpegDecoder.h"
#include "lumoimage/PixelBuffer.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// Rows handed to libjpeg per call: small enough that a cancel is seen within
// a few milliseconds, large enough that the calls cost nothing.
constexpr int kRowsPerBatch = 32;

// libjpeg reports errors by calling error_exit, which must not return: it
// jumps back into DecodeJpegRows. Warnings (level -1) end the decode too.
struct ErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    bool warning = false;
    char message[JMSG_LENGTH_MAX] = {};
};

void ExitWithError(j_common_ptr info) {
    auto* self = reinterpret_cast<ErrorJump*>(info->err);
    (*info->err->format_message)(info, self->message);
    std::longjmp(self->jump, 1);
}

void StopOnWarning(j_common_ptr info, int level) {
    if (level >= 0)
        return; // trace messages
    auto* self = reinterpret_cast<ErrorJump*>(info->err);
    self->warning = true;
    (*info->err->format_message)(info, self->message);
    std::longjmp(self->jump, 1);
}

// The decode proper, apart from everything with a destructor: longjmp may
// leave it at any libjpeg call.
RowDecodeResult Run(jpeg_decompress_struct* info, ErrorJump* errors, const std::uint8_t* data,
                    std::size_t size, int num, int denom, DecodeControl* control, QImage* image,
                    bool* cmyk, QString* error) {
    if (setjmp(errors->jump)) {
        const QString message = QString::fromLocal8Bit(errors->message).trimmed();
        *error = errors->warning
                     ? QStringLiteral("The JPEG file is damaged or incomplete (%1).").arg(message)
                     : QStringLiteral("The JPEG file could not be decoded (%1).").arg(message);
        return RowDecodeResult::Failed;
    }
    jpeg_mem_src(info, data, static_cast<unsigned long>(size));
    jpeg_read_header(info, TRUE);
    info->scale_num = static_cast<unsigned>(num);
    info->scale_denom = static_cast<unsigned>(denom);
    // Format_RGB32 is B, G, R, 0xFF in memory on little-endian machines;
    // libjpeg-turbo's BGRX writes 0xFF into the padding byte.
    *cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    info->out_color_space = *cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_calc_output_dimensions(info);
    const int width = int(info->output_width);
    const int height = int(info->output_height);
    // Photos take well over 1/32 byte per pixel; a stream far smaller than
    // its claimed size is most likely truncated or forged, so its memory is
    // not committed up front.
    const bool plausible = qint64(size) * 32 >= qint64(width) * height;
    *image = AllocateRgb32(width, height, plausible);
    if (image->isNull()) {
        *error = QStringLiteral("Not enough memory for a picture of %1 × %2 pixels.")
                     .arg(info->image_width)
                     .arg(info->image_height);
        return RowDecodeResult::Failed;
    }
    if (control)
        control->rowsTotal = height;
    jpeg_start_decompress(info);
    JSAMPROW rows[kRowsPerBatch];
    while (int(info->output_scanline) < height) {
        if (control && control->cancel)
            return RowDecodeResult::Cancelled;
        const int first = int(info->output_scanline);
        const int count = std::min(kRowsPerBatch, height - first);
        for (int i = 0; i < count; ++i)
            rows[i] = image->scanLine(first + i);
        int done = 0;
        while (done < count)
            done += int(jpeg_read_scanlines(info, rows + done, JDIMENSION(count - done)));
        if (control)
            control->rowsDone = first + count;
    }
    jpeg_finish_decompress(info);
    return RowDecodeResult::Done;
}

} // namespace

RowDecodeResult DecodeJpegRows(const std::uint8_t* data, std::size_t size, int num, int denom,
                               DecodeControl* control, QImage* out, QString* error) {
    // The same checks and refusals as the one-call decoder, with its words.
    QSize stored;
    {
        JpegDecoder header;
        if (!header.ReadSize(data, size, &stored, error))
            return RowDecodeResult::Failed;
    }
    if (qint64(stored.width()) * stored.height() > kMaxDecodePixels) {
        *error = QStringLiteral("The picture is too large (%1 × %2 pixels).")
                     .arg(stored.width())
                     .arg(stored.height());
        return RowDecodeResult::Failed;
    }
    jpeg_decompress_struct info;
    ErrorJump errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = ExitWithError;
    errors.manager.emit_message = StopOnWarning;
    jpeg_create_decompress(&info);
    QImage image;
    bool cmyk = false;
    const RowDecodeResult result =
        Run(&info, &errors, data, size, num, denom, control, &image, &cmyk, error);
    jpeg_destroy_decompress(&info);
    if (result != RowDecodeResult::Done)
        return result;
    if (cmyk)
        CmykToRgb32(&image);
    *out = std::move(image);
    return RowDecodeResult::Done;
}
