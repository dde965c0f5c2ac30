#pragma once
// Picture files made by the tests, and waiting for the preview worker.

#include "filedialog/AsyncPreviewLoader.h"

#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>

// Writes a flat-coloured JPEG of the given size into `dir`; returns its path.
inline QString WriteJpeg(const QTemporaryDir& dir, const char* name, int width, int height,
                         QColor colour = Qt::red) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(QString::fromLatin1(name));
    return QImageWriter(path, "jpeg").write(image) ? path : QString();
}

// Lets every outstanding decode finish and delivers what it posted.
inline void SettleWorkers() {
    AsyncPreviewLoader::WaitForWorkers();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Colour of a pixel of a widget as painted.
inline QColor PixelOf(QWidget* widget, int x, int y) {
    return widget->grab().toImage().pixelColor(x, y);
}

// Colours equal but for JPEG rounding.
inline bool Near(QColor a, QColor b) {
    return qAbs(a.red() - b.red()) < 12 && qAbs(a.green() - b.green()) < 12 &&
           qAbs(a.blue() - b.blue()) < 12;
}
