#pragma once
// Records, pictures and photos shared by the canvas tests.

#include "canvas/CPhotoCanvas.h"
#include "common/TestSupport.h"
#include "platform/Cp950.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

inline Dimension MakeDimension(POINT a, POINT b, const char* valueUtf8 = "",
                               COLORREF colour = RGB(0, 0, 255)) {
    Dimension d{colour, a, b, {}, DefaultLogFont()};
    cp950::CopyToField(d.value, cp950::FromQString(QString::fromUtf8(valueUtf8)));
    return d;
}

inline InfoNote MakeNote(POINT anchor, const char* textUtf8 = "") {
    InfoNote n = MakeNewNote(anchor, DefaultLogFont());
    cp950::CopyToField(n.text, cp950::FromQString(QString::fromUtf8(textUtf8)));
    return n;
}

inline QImage Solid(int w, int h, QColor colour = Qt::white) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

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

constexpr QRgb kWhitePx = 0xFFFFFF, kYellowPx = 0xFFFF00, kBlackPx = 0x000000;
constexpr QRgb kRedPx = 0xFF0000, kBluePx = 0x0000FF, kGreyPx = 0x808080;

// A grey JPEG written into `dir`.
inline QString WriteTestJpeg(const QTemporaryDir& dir, const QString& name, int w, int h) {
    const QString path = dir.filePath(name);
    EXPECT_TRUE(Solid(w, h, QColor(200, 200, 200)).save(path, "jpeg", 95));
    return path;
}

// Puts `photo` into the canvas as if it had been loaded (exact pixels, no
// JPEG loss) and lays it out.
inline void ShowPhotoOnCanvas(CPhotoCanvas& canvas, const QImage& photo) {
    canvas.m_dib.Image() = photo.convertToFormat(QImage::Format_RGB32);
    canvas.ResetAnnotations();
    canvas.UpdateLayout();
}
