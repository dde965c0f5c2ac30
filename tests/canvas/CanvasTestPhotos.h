#pragma once
// Photos made by the canvas tests.

#include <QImage>
#include <QString>

class CPhotoCanvas;
class QTemporaryDir;

// A JPEG of the given size, a left-to-right grey ramp, written into `dir`.
QString WriteTestJpeg(const QTemporaryDir& dir, const QString& name, int width, int height,
                      QColor colour = QColor());

// Puts `photo` into the canvas as if it had been loaded (exact pixels, no
// JPEG loss) and lays it out.
void ShowPhotoOnCanvas(CPhotoCanvas& canvas, const QImage& photo);

// A one-pixel black and white checkerboard.
QImage Checkerboard(int width, int height);
