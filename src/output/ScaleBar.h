#pragma once
// The scale bar of a picture drawn at a known scale: a bar of a round length
// (1, 2 or 5 times a power of ten millimetres, at most a quarter of the
// picture's width) in alternating black and white quarters, its length
// written above it ("500 mm"), in the picture's lower left corner.

#include <QRect>
#include <QSize>

class QPainter;

// The bar's length in mm for a picture `width` pixels wide at `mmPerPixel`.
double ScaleBarMm(int width, double mmPerPixel);

// Where the bar itself goes (without its text), in the picture's pixels.
QRect ScaleBarRect(QSize picture, double mmPerPixel);

// Draws the bar and its text; the painter works in the picture's pixels.
void DrawScaleBar(QPainter& painter, QSize picture, double mmPerPixel);
