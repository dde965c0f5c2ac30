#pragma once
// Turning a decoded picture upright according to its Exif orientation
// (1 = already upright, 2..8 = the mirrored and rotated variants).

#include <QImage>
#include <QSize>

// The size of the picture once upright: width and height swap for 5..8.
QSize UprightSize(QSize stored, int orientation);

// The picture turned upright. Returns a null image when memory for the turned
// copy could not be had; orientation 1 (or any unknown value) returns `image`.
QImage TurnUpright(const QImage& image, int orientation);
