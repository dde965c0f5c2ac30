#pragma once
// The one place where the preview decodes a picture file. Safe to call from
// any thread: it touches no widget.

#include <QImage>
#include <QSize>
#include <QString>

struct PreviewPicture {
    bool ok = false;
    QImage image;   // upright, already reduced to the size it is drawn at
    QSize fullSize; // upright size of the whole picture in pixels
    QString error;  // why the file could not be shown
};

// Decodes `path` only as large as needed to fill `box` (device pixels), then
// reduces it smoothly to exactly the rectangle it is drawn into.
PreviewPicture LoadPreviewPicture(const QString& path, QSize box);
