#pragma once
// Opaque one-pixel lines and small filled triangles written straight into the
// pixels of a QImage that a QPainter is drawing on, when that is equivalent
// to drawing through the painter: the device is a 32-bit QImage, the painter
// has no transform beyond a whole-pixel shift, no clipping, full opacity and
// the normal composition. Otherwise Available() is false and callers draw
// through the painter.
//
// Lines include both end pixels; each step along the major axis sets one
// pixel, the minor coordinate rounded half away from the start
// (y = y0 + floor((2k·|dy| + |dx|) / 2|dx|) for a mostly horizontal line).
// A triangle fills the pixels whose centres lie inside it; its outline is
// drawn with the line rule on top. Everything is clipped to the image first,
// so far-away coordinates cost nothing.

#include <QImage>
#include <QPoint>

class QPainter;

class PixelRaster {
public:
    explicit PixelRaster(QPainter& painter);

    bool Available() const { return m_bits != nullptr; }

    void Line(QPoint a, QPoint b, QRgb colour);
    // Filled triangle with its outline, all in one colour.
    void Triangle(const QPoint pts[3], QRgb colour);

private:
    void Put(long long x, long long y, QRgb colour) {
        if (x >= 0 && y >= 0 && x < m_width && y < m_height)
            reinterpret_cast<QRgb*>(m_bits + y * m_stride)[x] = colour;
    }

    uchar* m_bits = nullptr;
    long long m_stride = 0;
    int m_width = 0;
    int m_height = 0;
    QPoint m_shift; // the painter's whole-pixel translation
};
