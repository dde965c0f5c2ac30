#pragma once
// Records and pictures for the renderer and hit-test tests.

#include "document/Records.h"
#include "platform/Cp950.h"

#include <QImage>
#include <QRect>

inline Dimension MakeDimension(POINT a, POINT b, const char* valueUtf8,
                               COLORREF colour = RGB(0, 0, 255)) {
    Dimension d;
    d.colour = colour;
    d.start = a;
    d.end = b;
    d.font = DefaultLogFont();
    cp950::CopyToField(d.value, cp950::FromQString(QString::fromUtf8(valueUtf8)));
    return d;
}

inline InfoNote MakeNote(POINT anchor, const char* textUtf8) {
    InfoNote n = MakeNewNote(anchor, DefaultLogFont());
    cp950::CopyToField(n.text, cp950::FromQString(QString::fromUtf8(textUtf8)));
    return n;
}

inline QImage WhiteImage(int w = 400, int h = 300) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

inline int CountColour(const QImage& img, QRgb colour, QRect area = QRect()) {
    if (area.isNull())
        area = img.rect();
    area = area.intersected(img.rect());
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

inline QRgb At(const QImage& img, int x, int y) {
    return img.pixel(x, y) & 0xFFFFFF;
}

constexpr QRgb kWhitePx = 0xFFFFFF;
constexpr QRgb kYellowPx = 0xFFFF00;
constexpr QRgb kBlackPx = 0x000000;
constexpr QRgb kRedPx = 0xFF0000;
constexpr QRgb kBluePx = 0x0000FF;
