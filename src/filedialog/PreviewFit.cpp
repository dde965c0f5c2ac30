#include "filedialog/PreviewFit.h"

#include <cstdint>

QRect FitPictureRect(QSize picture, QSize client) {
    const int64_t W = picture.width(), H = picture.height();
    const int64_t w = client.width(), h = client.height();
    if (W <= 0 || H <= 0 || w <= 0 || h <= 0)
        return QRect();
    if (W * h > H * w) {
        const int64_t height = H * w / W;
        return QRect(0, static_cast<int>((h - height) / 2), static_cast<int>(w),
                     static_cast<int>(height));
    }
    if (W * h < H * w) {
        const int64_t width = W * h / H;
        return QRect(static_cast<int>((w - width) / 2), 0, static_cast<int>(width),
                     static_cast<int>(h));
    }
    return QRect(0, 0, static_cast<int>(w), static_cast<int>(h));
}
