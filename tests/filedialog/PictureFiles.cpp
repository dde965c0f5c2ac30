#include "PictureFiles.h"

#include "filedialog/AsyncPreviewLoader.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageWriter>
#include <QWidget>

QString WriteJpeg(const QString& path, int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    return writer.write(image) ? path : QString();
}

bool WriteBrokenJpeg(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write("\xFF\xD8\xFF\xE0 this is not a picture") > 0;
}

void SettleWorkers() {
    AsyncPreviewLoader::WaitForWorkers();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

QColor PixelOf(QWidget* widget, int x, int y) {
    const QImage image = widget->grab().toImage();
    return image.pixelColor(x, y);
}

bool Near(QColor a, QColor b) {
    return qAbs(a.red() - b.red()) < 12 && qAbs(a.green() - b.green()) < 12 &&
           qAbs(a.blue() - b.blue()) < 12;
}
