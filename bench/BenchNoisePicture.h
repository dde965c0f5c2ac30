#pragma once
// A photo-like picture for the codec benchmarks: smooth colour fields with
// fine noise, which costs the entropy coder about what a real photo does.

#include <QImage>

inline QImage NoisePicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 27) - 16;
            const int r = (x / 24 + y / 40) % 200 + 20 + noise;
            const int g = (x * 180 / width) + ((y / 16) % 30) + noise;
            const int b = (y * 200 / height) + ((x / 50) % 40) + noise;
            row[x] = qRgb(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255));
        }
    }
    return image;
}
