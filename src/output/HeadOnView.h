#pragma once
// Where a head-on picture of the reference plane lies on the plane, and the
// projective maps between it, the plane and the photo. The picture shows the
// plane's rectangle extended to where the photo's edges reach on the plane,
// cut at the plane's horizon (only the part in front of the camera) and at
// most kHeadOnReach times the rectangle's longer side beyond each of its
// sides, so a photo that runs towards the horizon gives no endless picture.
// Its scale is the one asked for, made coarser when the longer side would
// pass kHeadOnMaxSide pixels.

#include "document/MeasureReference.h"

#include <QRectF>
#include <QSize>
#include <QTransform>

#include <optional>

constexpr double kHeadOnReach = 5;
constexpr int kHeadOnMaxSide = 8000;
constexpr double kDefaultMmPerPixel = 1;

struct HeadOnView {
    QRectF plane;              // mm on the plane, x along the rectangle's width
    double mmPerPixel = 1;     // the picture's scale
    QSize size;                // pixels
    QTransform planeToPhoto;   // mm on the plane -> photo pixels, weight > 0 in front
    QTransform photoToPicture; // photo pixels -> the picture's pixels, weight > 0 in front

    // The plane point at the centre of the picture's pixel (x, y).
    double PlaneX(int x) const { return plane.left() + (x + 0.5) * mmPerPixel; }
    double PlaneY(int y) const { return plane.top() + (y + 0.5) * mmPerPixel; }
};

// The view of `reference`'s plane on a photo of `photoSize` at `mmPerPixel`
// (positive); none without a usable plane.
std::optional<HeadOnView> HeadOnViewOf(const MeasureReference& reference, QSize photoSize,
                                       double mmPerPixel = kDefaultMmPerPixel);
