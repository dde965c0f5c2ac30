// Where an area's label goes: among the midpoints of the polygon's inside
// stretches along evenly spaced horizontal and vertical lines (each of them
// inside the polygon, concave or not), the one farthest from every edge;
// then the same once more on finer lines round it.

#include "document/PolygonGeometry.h"
#include "document/ShapeMeasures.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLines = 24;

double DistanceToSegment(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a, ap = p - a;
    const double length2 = ab.x() * ab.x() + ab.y() * ab.y();
    const double t =
        length2 > 0 ? std::clamp((ap.x() * ab.x() + ap.y() * ab.y()) / length2, 0.0, 1.0) : 0.0;
    const QPointF d = ap - ab * t;
    return std::hypot(d.x(), d.y());
}

double EdgeDistance(const Polygon& polygon, QPointF p) {
    double nearest = INFINITY;
    for (size_t i = 0; i < polygon.size(); ++i)
        nearest =
            std::min(nearest, DistanceToSegment(p, polygon[i], polygon[(i + 1) % polygon.size()]));
    return nearest;
}

// Midpoints of the stretches of the line {axis coordinate = at} inside the
// polygon (axis 1: a horizontal line y = at; axis 0: a vertical x = at).
void ChordMidpoints(const Polygon& polygon, int axis, double at, std::vector<QPointF>& out) {
    auto along = [axis](QPointF p) { return axis == 1 ? p.x() : p.y(); };
    auto across = [axis](QPointF p) { return axis == 1 ? p.y() : p.x(); };
    std::vector<double> crossings;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const QPointF a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        if ((across(a) > at) != (across(b) > at))
            crossings.push_back(along(a) +
                                (at - across(a)) * (along(b) - along(a)) / (across(b) - across(a)));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
        const double mid = (crossings[i] + crossings[i + 1]) / 2;
        out.push_back(axis == 1 ? QPointF(mid, at) : QPointF(at, mid));
    }
}

// The best chord midpoint on kLines lines each way across [low, high].
bool BestWithin(const Polygon& polygon, QPointF low, QPointF high, QPointF& best) {
    std::vector<QPointF> candidates;
    for (int k = 0; k < kLines; ++k) {
        const double f = (k + 0.5) / kLines;
        ChordMidpoints(polygon, 1, low.y() + f * (high.y() - low.y()), candidates);
        ChordMidpoints(polygon, 0, low.x() + f * (high.x() - low.x()), candidates);
    }
    double farthest = -1;
    for (const QPointF& c : candidates) {
        const double d = EdgeDistance(polygon, c);
        if (d > farthest) {
            farthest = d;
            best = c;
        }
    }
    return farthest >= 0;
}

} // namespace

QPointF AreaLabelPoint(const std::vector<POINT>& corners) {
    Polygon polygon;
    QPointF mean;
    for (const POINT& p : corners) {
        polygon.emplace_back(p.x, p.y);
        mean += polygon.back() / static_cast<double>(corners.size());
    }
    if (polygon.size() < kMinAreaCorners)
        return mean;
    const QRectF bounds = Bounds(polygon);
    const QPointF low = bounds.topLeft(), high = bounds.bottomRight();
    QPointF best;
    if (!BestWithin(polygon, low, high, best))
        return mean; // a polygon of no area
    // Finer lines over the two coarse spacings round the first choice.
    const QPointF cell = (high - low) / kLines;
    QPointF finer = best;
    if (BestWithin(polygon, best - cell, best + cell, finer) &&
        EdgeDistance(polygon, finer) > EdgeDistance(polygon, best))
        best = finer;
    return best;
}
