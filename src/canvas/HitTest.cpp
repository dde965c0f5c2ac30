#include "canvas/HitTest.h"

#include "drawing/AnnotationRenderer.h"
#include "drawing/RenderGeometry.h"
#include "drawing/TextMeasurer.h"
#include "platform/Cp950.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
int64_t Trunc64(double v) {
    if (std::isnan(v))
        return 0;
    constexpr double kLimit = 9.0e18;
    if (v >= kLimit)
        return static_cast<int64_t>(kLimit);
    if (v <= -kLimit)
        return -static_cast<int64_t>(kLimit);
    return static_cast<int64_t>(v);
}

bool OppositeSigns(int64_t a, int64_t b) {
    return (a < 0 && b > 0) || (a > 0 && b < 0);
}
} // namespace

int64_t LineTolerance(float zoom) {
    if (!(zoom > 0.0f))
        return 0;
    return Trunc64(4.0 / static_cast<double>(zoom));
}

bool HitTestNote(const InfoNote& note, POINT p, AnnotationRenderer& renderer,
                 const ViewMapping* view) {
    return renderer.NoteBoxOf(note, view).Contains(p);
}

bool HitTestDimension(const Dimension& dim, POINT p, float zoom, TextMeasurer& measurer) {
    const int64_t dx = static_cast<int64_t>(dim.end.x) - dim.start.x;
    const int64_t dy = static_cast<int64_t>(dim.end.y) - dim.start.y;
    const int64_t rx = static_cast<int64_t>(p.x) - dim.start.x;
    const int64_t ry = static_cast<int64_t>(p.y) - dim.start.y;

    // Foot of the perpendicular from p, relative to start.
    int64_t fx = 0;
    int64_t fy = 0;
    if (dx == 0) {
        fy = ry;
    } else if (dy == 0) {
        fx = rx;
    } else {
        const double ddx = static_cast<double>(dx);
        const double ddy = static_cast<double>(dy);
        const double f = (static_cast<double>(rx) * ddx + static_cast<double>(ry) * ddy) * ddx /
                         (ddx * ddx + ddy * ddy);
        fx = Trunc64(f);
        fy = Trunc64(f * ddy / ddx);
    }
    // Outside the segment's extent, (d - foot)·foot < 0: neither the line nor
    // its label is hit. Compared by signs, as the products may pass 64 bits.
    if (OppositeSigns(dx - fx, fx) || OppositeSigns(dy - fy, fy))
        return false;

    const double ex = static_cast<double>(fx - rx);
    const double ey = static_cast<double>(fy - ry);
    if (Trunc64(std::sqrt(ex * ex + ey * ey)) < LineTolerance(zoom))
        return true;

    // The value label: centred above the midpoint of the line turned onto +x.
    const POINT mid = DimensionMidpoint(dim.start, dim.end);
    const SIZE extent = measurer.Extent(ScaledLogFont(dim.font, 1.0), cp950::FieldBytes(dim.value));
    POINT q = p;
    RotatePoints(std::atan2(static_cast<double>(dy), static_cast<double>(dx)), mid, &q, 1);
    const int64_t left = static_cast<int64_t>(mid.x) - extent.cx / 2;
    const int64_t right = static_cast<int64_t>(mid.x) + extent.cx / 2;
    const int64_t top = static_cast<int64_t>(mid.y) - extent.cy;
    const int64_t bottom = mid.y;
    return left <= q.x && q.x < right && top <= q.y && q.y < bottom;
}

namespace {
// Whether p lies strictly closer than `tolerance` to the segment a-b.
bool NearSegment(POINT a, POINT b, POINT p, int64_t tolerance) {
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    const double rx = double(p.x) - a.x, ry = double(p.y) - a.y;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp((rx * dx + ry * dy) / length2, 0.0, 1.0) : 0.0;
    return std::hypot(rx - t * dx, ry - t * dy) < static_cast<double>(tolerance);
}
} // namespace

bool HitTestArea(const AreaRecord& area, POINT p, float zoom) {
    const std::vector<POINT>& c = area.corners;
    if (c.empty())
        return false;
    const int64_t tolerance = LineTolerance(zoom);
    bool inside = false;
    for (size_t i = 0, j = c.size() - 1; i < c.size(); j = i++) {
        if (NearSegment(c[j], c[i], p, tolerance))
            return true;
        if ((c[i].y > p.y) != (c[j].y > p.y) &&
            p.x < (double(c[j].x) - c[i].x) * (double(p.y) - c[i].y) / (double(c[j].y) - c[i].y) +
                      c[i].x)
            inside = !inside;
    }
    return inside;
}

bool HitTestAngle(const AngleRecord& angle, POINT p, float zoom) {
    const int64_t tolerance = LineTolerance(zoom);
    return NearSegment(angle.vertex, angle.arm1, p, tolerance) ||
           NearSegment(angle.vertex, angle.arm2, p, tolerance);
}
