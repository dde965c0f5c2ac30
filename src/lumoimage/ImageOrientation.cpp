#include "lumoimage/ImageOrientation.h"

#include "lumoimage/PixelBuffer.h"

#include <cstddef>

QSize UprightSize(QSize stored, int orientation) {
    return orientation >= 5 && orientation <= 8 ? stored.transposed() : stored;
}

QImage TurnUpright(const QImage& image, int orientation) {
    if (orientation < 2 || orientation > 8 || image.isNull())
        return image;
    const QImage source = image.format() == QImage::Format_RGB32
                              ? image
                              : image.convertToFormat(QImage::Format_RGB32);
    const int w = source.width(), h = source.height();
    const QSize size = UprightSize(source.size(), orientation);
    QImage target = AllocateRgb32(size.width(), size.height());
    if (target.isNull() || source.isNull())
        return QImage();

    // Upright pixel (x, y) comes from the stored pixel at
    // origin + x * stepX + y * stepY (in pixels, rows of `stride` pixels).
    const std::ptrdiff_t stride = source.bytesPerLine() / 4;
    const std::ptrdiff_t lastRow = std::ptrdiff_t(h - 1) * stride;
    std::ptrdiff_t origin = 0, stepX = 1, stepY = stride;
    switch (orientation) {
    case 2: // mirrored left-right
        origin = w - 1, stepX = -1, stepY = stride;
        break;
    case 3: // half turn
        origin = lastRow + w - 1, stepX = -1, stepY = -stride;
        break;
    case 4: // mirrored top-bottom
        origin = lastRow, stepX = 1, stepY = -stride;
        break;
    case 5: // transposed
        origin = 0, stepX = stride, stepY = 1;
        break;
    case 6: // stored a quarter turn anticlockwise: turn clockwise
        origin = lastRow, stepX = -stride, stepY = 1;
        break;
    case 7: // transverse
        origin = lastRow + w - 1, stepX = -stride, stepY = -1;
        break;
    case 8: // stored a quarter turn clockwise: turn anticlockwise
        origin = w - 1, stepX = stride, stepY = -1;
        break;
    }
    // Square tiles keep both the reads and the writes within cache for the
    // quarter turns, where one side walks across rows.
    constexpr int kTile = 32;
    const auto* src = reinterpret_cast<const quint32*>(source.constBits());
    const int tw = target.width(), th = target.height();
    const std::ptrdiff_t targetStride = target.bytesPerLine() / 4;
    auto* dst = reinterpret_cast<quint32*>(target.bits());
    for (int ty = 0; ty < th; ty += kTile) {
        const int yEnd = qMin(ty + kTile, th);
        for (int tx = 0; tx < tw; tx += kTile) {
            const int xEnd = qMin(tx + kTile, tw);
            for (int y = ty; y < yEnd; ++y) {
                const quint32* from = src + origin + tx * stepX + y * stepY;
                quint32* to = dst + y * targetStride;
                for (int x = tx; x < xEnd; ++x, from += stepX)
                    to[x] = *from;
            }
        }
    }
    return target;
}
