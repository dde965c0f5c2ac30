#pragma once
// A photo of a room for the benchmarks, of any size: realistic content and
// sensor noise, so its JPEG is as large as a camera's.

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <algorithm>

// A room as a camera sees it: a lit wall with a window, a wooden floor, a
// cupboard and a lamp's glow, soft shading, and sensor noise on every pixel.
inline QImage MakeRoom(int width, int height, int scene) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient wall(0, 0, width, height * 0.65);
    wall.setColorAt(0, QColor(236 - scene * 8, 226, 206 + scene * 6));
    wall.setColorAt(1, QColor(150, 140 + scene * 5, 128));
    p.fillRect(0, 0, width, height * 2 / 3, wall);
    QLinearGradient floor(0, height * 2 / 3, 0, height);
    floor.setColorAt(0, QColor(120, 84, 52));
    floor.setColorAt(1, QColor(76, 50, 30));
    p.fillRect(0, height * 2 / 3, width, height / 3 + 1, floor);
    QRandomGenerator rng(100 + scene);
    for (int x = 0; x < width; x += 180 + static_cast<int>(rng.bounded(60))) {
        p.setPen(QPen(QColor(60, 40, 24, 140), 3));
        p.drawLine(x, height * 2 / 3, x - 900 + 300 * scene, height);
    }
    const QRect window(900 + scene * 500, 500, 1500, 1300);
    QLinearGradient sky(window.topLeft(), window.bottomLeft());
    sky.setColorAt(0, QColor(190, 215, 245));
    sky.setColorAt(1, QColor(245, 248, 252));
    p.fillRect(window, sky);
    p.setPen(QPen(QColor(250, 250, 250), 40));
    p.drawRect(window);
    p.drawLine(window.center().x(), window.top(), window.center().x(), window.bottom());
    QLinearGradient wood(0, 0, 900, 0);
    wood.setColorAt(0, QColor(96, 62, 40));
    wood.setColorAt(1, QColor(140, 98, 64));
    p.fillRect(3800 - scene * 400, 1400, 1400, 1600, wood);
    QRadialGradient glow(QPointF(4800, 900), 900);
    glow.setColorAt(0, QColor(255, 240, 200, 150));
    glow.setColorAt(1, QColor(255, 240, 200, 0));
    p.fillRect(image.rect(), glow);
    p.end();
    // Sensor noise: realistic entropy for the JPEG.
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int n = static_cast<int>(rng.bounded(13u)) - 6;
            const QRgb c = row[x];
            row[x] = qRgb(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255),
                          std::clamp(qBlue(c) + n, 0, 255));
        }
    }
    return image;
}
