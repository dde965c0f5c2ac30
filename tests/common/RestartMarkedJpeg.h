#pragma once
// Photos with restart markers, as many cameras and phones write them:
// libjpeg's own encoder (libjpeg-turbo's one-call encoder has no restart
// option), 4:2:0 at the given quality, a marker every `rows` rows of blocks
// or, with `units` > 0, every `units` blocks units whatever the rows.

#include <QByteArray>
#include <QImage>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

inline QByteArray EncodeRestartMarkedJpeg(const QImage& image, int quality, int rows, int units = 0,
                                          bool grey = false) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    if (grey)
        jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    jpeg_set_quality(&info, quality, TRUE);
    info.restart_in_rows = units > 0 ? 0 : rows;
    info.restart_interval = units > 0 ? unsigned(units) : 0;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const QByteArray jpeg(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    return jpeg;
}
