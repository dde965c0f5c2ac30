#pragma once
// The projective map between a rectangle of known size and its four corners
// on the photo, and the ordering and checks of four clicked corners.

#include <QPointF>
#include <QString>
#include <array>
#include <optional>

using Quad = std::array<QPointF, 4>;

class PlaneHomography {
public:
    // The map that takes the rectangle (0,0) (w,0) (w,h) (0,h), in mm, to
    // the `corners` in photo pixels, put in order first (OrderCorners). None
    // for corners that make no convex quadrilateral or a size that is not
    // positive.
    static std::optional<PlaneHomography> FromRectangle(const Quad& corners, double width,
                                                        double height);

    // Photo pixels -> mm on the plane. None when the point lies on or beyond
    // the plane's horizon (it is no point of the plane in front of the camera).
    std::optional<QPointF> ToPlane(QPointF image) const;
    QPointF ToImage(QPointF plane) const;

private:
    // Row-major 3x3: image = H * plane; m_inverse: plane = Hinv * image.
    std::array<double, 9> m_h{};
    std::array<double, 9> m_inverse{};
    double m_frontSign = 1; // sign of the homogeneous weight of points in front
};

// Orders four clicked corners round the quadrilateral so that corners[0] ->
// corners[1] runs along the pair of opposite sides closer to horizontal (the
// width), clockwise on the photo, starting at the upper left of the two
// candidates. The order does not depend on the order of the clicks.
Quad OrderCorners(const Quad& clicked);

// Empty when the four points make a usable plane; otherwise why not, for
// the user: two corners on one spot, three on a line, or not a convex
// quadrilateral.
QString PlaneCornersProblem(const Quad& corners);
