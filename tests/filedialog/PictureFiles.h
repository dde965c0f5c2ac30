#pragma once
// Picture files made by the tests, and waiting for the preview worker.

#include "common/Pictures.h"
#include "filedialog/AsyncPreviewLoader.h"

#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>

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
    return ColourDistance(a, b) < 12;
}
