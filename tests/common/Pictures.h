#pragma once
// Pictures and picture files made by the tests, and telling colours apart
// that JPEG has rounded.

#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

// A picture of one colour.
inline QImage Solid(int width, int height, QColor colour = Qt::white) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Writes a flat-coloured JPEG (quality 95) of the given size into `dir`;
// returns its path, or an empty one when it could not be written.
inline QString WriteJpeg(const QTemporaryDir& dir, const QString& name, int width, int height,
                         QColor colour = Qt::red) {
    const QString path = dir.filePath(name);
    QImageWriter writer(path, "jpeg");
    writer.setQuality(95);
    const bool written = writer.write(Solid(width, height, colour));
    EXPECT_TRUE(written) << path.toStdString();
    return written ? path : QString();
}

// The largest difference of one channel between two colours.
inline int ColourDistance(const QColor& a, const QColor& b) {
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                     std::abs(a.blue() - b.blue())});
}

// Colours within `tolerance` of each other in every channel.
inline ::testing::AssertionResult IsNear(const QColor& a, const QColor& b, int tolerance) {
    return ::testing::AssertionResult(ColourDistance(a, b) <= tolerance)
           << a.name().toStdString() << " vs " << b.name().toStdString();
}

// The peak signal-to-noise ratio of `a` against `b` (same size) over the
// three colour channels, in dB; 99 for equal pictures, 0 for other sizes.
inline double Psnr(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull())
        return 0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            const int dr = qRed(p[col]) - qRed(q[col]), dg = qGreen(p[col]) - qGreen(q[col]),
                      db = qBlue(p[col]) - qBlue(q[col]);
            sum += dr * dr + dg * dg + db * db;
        }
    }
    const double mse = sum / (3.0 * x.width() * x.height());
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}
