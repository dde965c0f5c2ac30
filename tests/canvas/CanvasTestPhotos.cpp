#include "canvas/CanvasTestPhotos.h"

#include "canvas/CPhotoCanvas.h"

#include <QImageWriter>
#include <QTemporaryDir>

QString WriteTestJpeg(const QTemporaryDir& dir, const QString& name, int width, int height,
                      QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    if (colour.isValid()) {
        image.fill(colour);
    } else {
        for (int y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const int v = x * 255 / std::max(1, width - 1);
                row[x] = qRgb(v, v, (y * 255) / std::max(1, height - 1));
            }
        }
    }
    const QString path = dir.filePath(name);
    QImageWriter writer(path, "jpeg");
    writer.setQuality(95);
    writer.write(image);
    return path;
}

void ShowPhotoOnCanvas(CPhotoCanvas& canvas, const QImage& photo) {
    canvas.m_dib.Image() = photo.convertToFormat(QImage::Format_RGB32);
    canvas.ResetAnnotations();
    canvas.UpdateLayout();
}

QImage Checkerboard(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = ((x + y) & 1) ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    }
    return image;
}
