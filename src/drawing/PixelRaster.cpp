#include "drawing/PixelRaster.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
using Wide = __int128;

// floor(n / d) for d > 0.
Wide FloorDiv(Wide n, Wide d) {
    Wide q = n / d;
    if ((n % d != 0) && (n < 0))
        --q;
    return q;
}
} // namespace

PixelRaster::PixelRaster(QPainter& painter) {
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image)
        return;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format f = image->format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 &&
        f != QImage::Format_ARGB32_Premultiplied)
        return;
    // Writing through bits() must not detach the image from the painter's buffer.
    if (!image->isDetached() || image->devicePixelRatio() != 1.0 || painter.hasClipping() ||
        painter.opacity() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return;
    const QTransform& t = painter.worldTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) ||
        t.dy() != std::floor(t.dy()) || std::abs(t.dx()) > 1e9 || std::abs(t.dy()) > 1e9)
        return;
    m_shift = QPoint(static_cast<int>(t.dx()), static_cast<int>(t.dy()));
    m_width = image->width();
    m_height = image->height();
    m_stride = image->bytesPerLine();
    m_bits = image->bits();
}

void PixelRaster::Line(QPoint a, QPoint b, QRgb colour) {
    colour |= 0xFF000000u;
    const long long x0 = static_cast<long long>(a.x()) + m_shift.x();
    const long long y0 = static_cast<long long>(a.y()) + m_shift.y();
    const long long dx = static_cast<long long>(b.x()) - a.x();
    const long long dy = static_cast<long long>(b.y()) - a.y();
    const long long adx = std::llabs(dx);
    const long long ady = std::llabs(dy);
    const int sx = dx < 0 ? -1 : 1;
    const int sy = dy < 0 ? -1 : 1;
    const bool majorX = adx >= ady;
    const long long steps = majorX ? adx : ady;
    const long long minorLen = majorX ? ady : adx;
    // Steps whose major coordinate lies inside the image.
    const long long major0 = majorX ? x0 : y0;
    const int majorDir = majorX ? sx : sy;
    const long long majorSize = majorX ? m_width : m_height;
    long long kFirst = 0;
    long long kLast = steps;
    if (majorDir > 0) {
        kFirst = std::max(kFirst, -major0);
        kLast = std::min(kLast, majorSize - 1 - major0);
    } else {
        kFirst = std::max(kFirst, major0 - (majorSize - 1));
        kLast = std::min(kLast, major0);
    }
    if (kFirst > kLast)
        return;
    // minor(k) = floor((2k·minorLen + steps) / 2·steps), stepped incrementally
    // from the first visible step.
    long long minor = 0;
    long long rem = 0; // (2k·minorLen + steps) mod 2·steps
    const long long twoSteps = 2 * steps;
    if (steps > 0) {
        const Wide n = Wide(2) * kFirst * minorLen + steps;
        minor = static_cast<long long>(FloorDiv(n, twoSteps));
        rem = static_cast<long long>(n - Wide(minor) * twoSteps);
    }
    const long long twoMinor = 2 * minorLen;
    const long long minor0 = majorX ? y0 : x0;
    const int minorDir = majorX ? sy : sx;
    for (long long k = kFirst; k <= kLast; ++k) {
        const long long mj = major0 + majorDir * k;
        const long long mn = minor0 + minorDir * minor;
        if (majorX)
            Put(mj, mn, colour);
        else
            Put(mn, mj, colour);
        rem += twoMinor;
        if (rem >= twoSteps) {
            rem -= twoSteps;
            ++minor;
        }
    }
}

void PixelRaster::Triangle(const QPoint pts[3], QRgb colour) {
    colour |= 0xFF000000u;
    long long xs[3], ys[3];
    for (int i = 0; i < 3; ++i) {
        xs[i] = static_cast<long long>(pts[i].x()) + m_shift.x();
        ys[i] = static_cast<long long>(pts[i].y()) + m_shift.y();
    }
    const long long top = std::max(0LL, *std::min_element(ys, ys + 3));
    const long long bottom = std::min<long long>(m_height - 1, *std::max_element(ys, ys + 3));
    for (long long y = top; y <= bottom; ++y) {
        // Where the row's centre line y + 0.5 crosses the edges.
        const double cy = static_cast<double>(y) + 0.5;
        double lo = INFINITY, hi = -INFINITY;
        for (int i = 0; i < 3; ++i) {
            const int j = (i + 1) % 3;
            const double ya = static_cast<double>(ys[i]), yb = static_cast<double>(ys[j]);
            if ((cy < ya) == (cy < yb))
                continue;
            const double x = static_cast<double>(xs[i]) +
                             (cy - ya) * static_cast<double>(xs[j] - xs[i]) / (yb - ya);
            lo = std::min(lo, x);
            hi = std::max(hi, x);
        }
        if (!(lo < hi))
            continue;
        // Pixels whose centre x + 0.5 lies in [lo, hi).
        const long long first = std::max(0LL, static_cast<long long>(std::ceil(lo - 0.5)));
        const long long last =
            std::min<long long>(m_width - 1, static_cast<long long>(std::ceil(hi - 0.5)) - 1);
        QRgb* row = reinterpret_cast<QRgb*>(m_bits + y * m_stride);
        for (long long x = first; x <= last; ++x)
            row[x] = colour;
    }
    for (int i = 0; i < 3; ++i)
        Line(pts[i], pts[(i + 1) % 3], colour);
}
