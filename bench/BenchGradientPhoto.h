#pragma once
// The benchmarks' common photo: smooth gradients with noise, so that its JPEG
// has realistic entropy, written to `path` at JPEG quality 90.

#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QString>

inline bool WriteGradientPhoto(const QString& path, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator rng(7);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int n = static_cast<int>(rng.bounded(24u));
            row[x] = qRgb((x / 24 + n) & 0xFF, (y / 16 + n) & 0xFF, ((x + y) / 40 + n) & 0xFF);
        }
    }
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    return writer.write(image);
}
