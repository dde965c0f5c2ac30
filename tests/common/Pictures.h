#pragma once
// Pictures and picture files made by the tests, and telling colours apart
// that JPEG has rounded.

#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
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
