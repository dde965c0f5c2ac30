#pragma once
// Records, pictures and photos shared by the canvas tests.

#include "canvas/CPhotoCanvas.h"
#include "common/CanvasAccess.h"
#include "common/Pictures.h"
#include "common/RecordBuilders.h"
#include "common/TestSupport.h"

inline QRgb At(const QImage& img, int x, int y) {
    return img.pixel(x, y) & 0xFFFFFF;
}

// Pixels of `colour` inside `area` (the whole image when null).
inline int CountColour(const QImage& img, QRgb colour, QRect area = QRect()) {
    area = area.isNull() ? img.rect() : area.intersected(img.rect());
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += At(img, x, y) == colour;
    return n;
}

constexpr QRgb kWhitePx = 0xFFFFFF, kYellowPx = 0xFFFF00, kRedPx = 0xFF0000;
constexpr QRgb kBluePx = 0x0000FF, kGreyPx = 0x808080;

// Puts `photo` into the canvas as if it had been loaded (exact pixels, no
// JPEG loss) and lays it out.
inline void ShowPhotoOnCanvas(CPhotoCanvas& canvas, const QImage& photo) {
    CanvasAccess::Photo(canvas) = photo.convertToFormat(QImage::Format_RGB32);
    canvas.ResetAnnotations();
    canvas.UpdateLayout();
}
