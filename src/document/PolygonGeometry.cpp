// The union's area is summed over the polygons' edges (Green's theorem):
// every edge contributes the part of it that lies inside no other polygon.
// Along an edge A -> B, every edge of another polygon that crosses the line
// AB opens or closes a stretch covered by that polygon; an edge lying on
// the same line in the same direction covers its stretch for one of the two
// polygons only, so a shared border counts once.

#include "document/PolygonGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

double Cross(QPointF a, QPointF b) {
    return a.x() * b.y() - a.y() * b.x();
}

double Dot(QPointF a, QPointF b) {
    return a.x() * b.x() + a.y() * b.y();
}

// -1, 0 or 1, with values within `tolerance` of zero taken as zero.
int Sign(double v, double tolerance) {
    return v > tolerance ? 1 : (v < -tolerance ? -1 : 0);
}

Polygon CounterClockwise(const Polygon& polygon) {
    Polygon p = polygon;
    if (SignedArea(p) < 0)
        std::reverse(p.begin(), p.end());
    return p;
}

// The size of the region all polygons lie in, for the tolerance of the
// side tests.
double Extent(const std::vector<Polygon>& polygons) {
    double extent = 0;
    for (const Polygon& polygon : polygons)
        for (const QPointF& p : polygon)
            extent = std::max({extent, std::abs(p.x()), std::abs(p.y())});
    return std::max(extent, 1e-300);
}

// The fraction of A -> B that no polygon but polygons[self] covers.
double UncoveredFraction(const std::vector<Polygon>& polygons, size_t self, QPointF a, QPointF b,
                         double tolerance) {
    const QPointF ab = b - a;
    // (position along A -> B, +1 entering a polygon / -1 leaving it).
    std::vector<std::pair<double, int>> events = {{0.0, 0}, {1.0, 0}};
    for (size_t j = 0; j < polygons.size(); ++j) {
        if (j == self)
            continue;
        const Polygon& other = polygons[j];
        for (size_t k = 0; k < other.size(); ++k) {
            const QPointF c = other[k], d = other[(k + 1) % other.size()];
            const int sc = Sign(Cross(ab, c - a), tolerance * std::hypot(ab.x(), ab.y()));
            const int sd = Sign(Cross(ab, d - a), tolerance * std::hypot(ab.x(), ab.y()));
            if (sc != sd) {
                if (std::min(sc, sd) < 0) {
                    const double ca = Cross(d - c, a - c), cb = Cross(d - c, b - c);
                    events.emplace_back(ca / (ca - cb), sc > sd ? 1 : -1);
                }
            } else if (sc == 0 && j < self && Dot(ab, d - c) > 0) {
                const double length2 = Dot(ab, ab);
                events.emplace_back(Dot(c - a, ab) / length2, 1);
                events.emplace_back(Dot(d - a, ab) / length2, -1);
            }
        }
    }
    std::sort(events.begin(), events.end());
    double uncovered = 0;
    int depth = events[0].second;
    for (size_t e = 1; e < events.size(); ++e) {
        if (depth == 0)
            uncovered +=
                std::clamp(events[e].first, 0.0, 1.0) - std::clamp(events[e - 1].first, 0.0, 1.0);
        depth += events[e].second;
    }
    return uncovered;
}

} // namespace

double SignedArea(const Polygon& polygon) {
    double twice = 0;
    for (size_t i = 0; i < polygon.size(); ++i)
        twice += Cross(polygon[i], polygon[(i + 1) % polygon.size()]);
    return twice / 2;
}

double Perimeter(const Polygon& polygon) {
    double sum = 0;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const QPointF d = polygon[(i + 1) % polygon.size()] - polygon[i];
        sum += std::hypot(d.x(), d.y());
    }
    return sum;
}

QRectF Bounds(const Polygon& polygon) {
    if (polygon.empty())
        return QRectF();
    QPointF low = polygon[0], high = polygon[0];
    for (const QPointF& p : polygon) {
        low = QPointF(std::min(low.x(), p.x()), std::min(low.y(), p.y()));
        high = QPointF(std::max(high.x(), p.x()), std::max(high.y(), p.y()));
    }
    return QRectF(low, high);
}

bool ContainsPoint(const Polygon& polygon, QPointF p) {
    bool inside = false;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const QPointF a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        if (Cross(b - a, p - a) == 0 && Dot(p - a, p - b) <= 0)
            return true; // on the edge
        if ((a.y() > p.y()) != (b.y() > p.y()) &&
            p.x() < a.x() + (p.y() - a.y()) * (b.x() - a.x()) / (b.y() - a.y()))
            inside = !inside;
    }
    return inside;
}

double DistanceToOutline(const Polygon& polygon, QPointF p) {
    double nearest = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < polygon.size(); ++i) {
        const QPointF a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        const double length2 = Dot(b - a, b - a);
        const double t = length2 > 0 ? std::clamp(Dot(p - a, b - a) / length2, 0.0, 1.0) : 0.0;
        const QPointF d = p - (a + t * (b - a));
        nearest = std::min(nearest, std::hypot(d.x(), d.y()));
    }
    return nearest;
}

double UnionArea(const std::vector<Polygon>& polygons) {
    std::vector<Polygon> ccw;
    for (const Polygon& polygon : polygons)
        if (polygon.size() >= 3)
            ccw.push_back(CounterClockwise(polygon));
    const double tolerance = 1e-9 * Extent(ccw);
    double twice = 0;
    for (size_t i = 0; i < ccw.size(); ++i)
        for (size_t k = 0; k < ccw[i].size(); ++k) {
            const QPointF a = ccw[i][k], b = ccw[i][(k + 1) % ccw[i].size()];
            twice += Cross(a, b) * UncoveredFraction(ccw, i, a, b, tolerance);
        }
    return twice / 2;
}
