#include "output/HeadOnView.h"

#include "document/ComputedLength.h"

#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {
// Points taken along each edge of the photo to find where it reaches.
constexpr int kEdgeSteps = 256;

double Weight(const QTransform& t, QPointF p) {
    return t.m13() * p.x() + t.m23() * p.y() + t.m33();
}

// The same map with a positive weight at `inFront`: Qt's painter keeps only
// what has a positive weight.
QTransform FrontPositive(const QTransform& t, QPointF inFront) {
    if (Weight(t, inFront) > 0)
        return t;
    return QTransform(-t.m11(), -t.m12(), -t.m13(), -t.m21(), -t.m22(), -t.m23(), -t.m31(),
                      -t.m32(), -t.m33());
}

// The part of the plane the photo shows: the rectangle and every point of
// the photo's edges that lies in front of the camera.
// `planeToPhoto` has a positive weight in front, so a photo point lies on
// the plane in front of the camera where its inverse's weight is positive.
QRectF Reach(const QTransform& planeToPhoto, QSizeF rectangle, QSize photo) {
    const QTransform photoToPlane = planeToPhoto.inverted();
    double left = 0, top = 0, right = rectangle.width(), bottom = rectangle.height();
    auto take = [&](double x, double y) {
        if (Weight(photoToPlane, QPointF(x, y)) <= 1e-12)
            return;
        const QPointF p = photoToPlane.map(QPointF(x, y));
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    };
    for (int i = 0; i <= kEdgeSteps; ++i) {
        const double x = photo.width() * double(i) / kEdgeSteps;
        const double y = photo.height() * double(i) / kEdgeSteps;
        take(x, 0);
        take(x, photo.height());
        take(0, y);
        take(photo.width(), y);
    }
    const double most = kHeadOnReach * std::max(rectangle.width(), rectangle.height());
    return QRectF(QPointF(std::max(left, -most), std::max(top, -most)),
                  QPointF(std::min(right, rectangle.width() + most),
                          std::min(bottom, rectangle.height() + most)));
}
} // namespace

std::optional<HeadOnView> HeadOnViewOf(const MeasureReference& reference, QSize photoSize,
                                       double mmPerPixel) {
    if (!HasUsablePlane(reference) || !(mmPerPixel > 0) || photoSize.isEmpty())
        return std::nullopt;
    const ReferencePlane& plane = reference.plane;
    // The corners are kept in order round the rectangle: (0,0), (w,0), (w,h), (0,h).
    QPolygonF photoQuad;
    for (const POINT& corner : plane.corners)
        photoQuad << QPointF(corner.x, corner.y);
    const QRectF rectangle(0, 0, plane.width, plane.height);
    const QPolygonF planeQuad{rectangle.topLeft(), rectangle.topRight(), rectangle.bottomRight(),
                              rectangle.bottomLeft()};
    QTransform planeToPhoto;
    if (!QTransform::quadToQuad(planeQuad, photoQuad, planeToPhoto))
        return std::nullopt;

    HeadOnView view;
    const QPointF centre(plane.width / 2, plane.height / 2);
    view.planeToPhoto = FrontPositive(planeToPhoto, centre);
    view.plane = Reach(view.planeToPhoto, rectangle.size(), photoSize);
    const double longer = std::max(view.plane.width(), view.plane.height());
    view.mmPerPixel = std::max(mmPerPixel, longer / kHeadOnMaxSide);
    view.size =
        QSize(std::clamp(int(std::ceil(view.plane.width() / view.mmPerPixel)), 1, kHeadOnMaxSide),
              std::clamp(int(std::ceil(view.plane.height() / view.mmPerPixel)), 1, kHeadOnMaxSide));
    const QTransform planeToPicture =
        QTransform::fromTranslate(-view.plane.left(), -view.plane.top()) *
        QTransform::fromScale(1 / view.mmPerPixel, 1 / view.mmPerPixel);
    view.photoToPicture =
        FrontPositive(view.planeToPhoto.inverted() * planeToPicture, view.planeToPhoto.map(centre));
    return view;
}
