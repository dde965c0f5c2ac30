#include "lumoimage/JpegDecoder.h"

#include "lumoimage/JpegRowDecoder.h"

#include <turbojpeg.h>

void CmykRowToRgb32(uchar* row, int width) {
    auto* p = row;
    for (int x = 0; x < width; ++x, p += 4) {
        const unsigned c = p[0], m = p[1], ye = p[2], k = p[3];
        const unsigned r = c * k / 255, g = m * k / 255, b = ye * k / 255;
        p[0] = std::uint8_t(b);
        p[1] = std::uint8_t(g);
        p[2] = std::uint8_t(r);
        p[3] = 0xFF;
    }
}

void CmykToRgb32(QImage* image) {
    for (int y = 0; y < image->height(); ++y)
        CmykRowToRgb32(image->scanLine(y), image->width());
}

bool JpegDecoder::ReadSize(const std::uint8_t* data, std::size_t size, QSize* stored,
                           QString* error) {
    return ReadJpegSize(data, size, stored, error);
}

bool JpegDecoder::Decode(const std::uint8_t* data, std::size_t size, int num, int denom,
                         QImage* out, QString* error) {
    return DecodeJpegRows(data, size, num, denom, nullptr, out, error) == RowDecodeResult::Done;
}

void JpegDecoder::ChooseScale(QSize stored, QSize needed, int* num, int* denom) {
    *num = 1;
    *denom = 1;
    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    qint64 bestPixels = qint64(stored.width()) * stored.height();
    for (int i = 0; factors && i < count; ++i) {
        const tjscalingfactor f = factors[i];
        if (f.num > f.denom)
            continue;
        const int w = TJSCALED(stored.width(), f);
        const int h = TJSCALED(stored.height(), f);
        if (w < needed.width() || h < needed.height())
            continue;
        if (qint64(w) * h < bestPixels) {
            bestPixels = qint64(w) * h;
            *num = f.num;
            *denom = f.denom;
        }
    }
}
