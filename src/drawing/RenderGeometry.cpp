#include "drawing/RenderGeometry.h"

#include <cmath>
#include <limits>

namespace {
constexpr double kDegreesPerRadian = 57.295780490442965;
constexpr double kBezierFactor = 0.2761423749154;
constexpr int32_t kEllipseMargin = 5;
constexpr int32_t kDefaultFontHeight = -13;

int32_t Half(int32_t a, int32_t b) {
    return static_cast<int32_t>((static_cast<int64_t>(a) + b) / 2);
}
int32_t Add(int64_t a, int64_t b) {
    return TruncToInt(static_cast<double>(a + b));
}
} // namespace

int32_t TruncToInt(double v) {
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

int32_t RoundHalfUp(double v) {
    return TruncToInt(v + 0.5);
}

void RotatePoints(double angle, POINT centre, POINT* points, int count) {
    const double ca = std::cos(angle);
    const double sa = std::sin(angle);
    for (int i = count - 1; i >= 0; --i) {
        const double dx = static_cast<double>(points[i].x) - centre.x;
        const double dy = static_cast<double>(points[i].y) - centre.y;
        points[i].x = RoundHalfUp(centre.x + ca * dx + sa * dy);
        points[i].y = RoundHalfUp(centre.y + ca * dy - sa * dx);
    }
}

void EllipseBezierPoints(const RECT& rc, POINT out[13]) {
    const int32_t ox = TruncToInt((static_cast<double>(rc.right) - rc.left) * kBezierFactor);
    const int32_t oy = TruncToInt((static_cast<double>(rc.bottom) - rc.top) * kBezierFactor);
    const int32_t mx = Half(rc.left, rc.right);
    const int32_t my = Half(rc.top, rc.bottom);
    const POINT pts[13] = {{rc.left, my},   {rc.left, my - oy},   {mx - ox, rc.top},
                           {mx, rc.top},    {mx + ox, rc.top},    {rc.right, my - oy},
                           {rc.right, my},  {rc.right, my + oy},  {mx + ox, rc.bottom},
                           {mx, rc.bottom}, {mx - ox, rc.bottom}, {rc.left, my + oy},
                           {rc.left, my}};
    for (int i = 0; i < 13; ++i)
        out[i] = pts[i];
}

double LineAngle(POINT p1, POINT p2) {
    return -std::atan2(static_cast<double>(p2.y) - p1.y, static_cast<double>(p2.x) - p1.x);
}

ArrowHeads DimensionArrowHeads(POINT p1, POINT p2, double scale) {
    const double len = 10.0 * scale;
    const double a = LineAngle(p1, p2);
    const double ca = std::cos(a);
    const double sa = std::sin(a);
    ArrowHeads h;
    h.atStart = {p1,
                 POINT{Add(p1.x, RoundHalfUp(len * ca + len * sa / 4)),
                       Add(p1.y, RoundHalfUp(len * ca / 4 - len * sa))},
                 POINT{Add(p1.x, RoundHalfUp(len * ca - len * sa / 4)),
                       Add(p1.y, RoundHalfUp(-len * ca / 4 - len * sa))}};
    h.atEnd = {p2,
               POINT{Add(p2.x, TruncToInt(len * sa / 4 - len * ca)),
                     Add(p2.y, TruncToInt(len * ca / 4 + len * sa))},
               POINT{Add(p2.x, TruncToInt(-len * ca - len * sa / 4)),
                     Add(p2.y, TruncToInt(len * sa - len * ca / 4))}};
    return h;
}

int32_t ScaledFontHeight(int32_t lfHeight, double scale) {
    const int32_t stored = lfHeight == 0 ? kDefaultFontHeight : lfHeight;
    const int32_t h = TruncToInt(stored * scale);
    if (h == 0)
        return stored < 0 ? -1 : 1;
    return h;
}

LOGFONTA ScaledLogFont(const LOGFONTA& lf, double scale) {
    LOGFONTA out = lf;
    out.lfHeight = ScaledFontHeight(lf.lfHeight, scale);
    return out;
}

int32_t LabelEscapement(double angle) {
    return 10 * TruncToInt(angle * kDegreesPerRadian);
}

POINT DimensionMidpoint(POINT p1, POINT p2) {
    return POINT{Half(p1.x, p2.x), Half(p1.y, p2.y)};
}

LabelPlacement DimensionLabelPlacement(POINT p1, POINT p2, double angle, int32_t cx, int32_t cy) {
    const double ca = std::cos(angle);
    const double sa = std::sin(angle);
    const int32_t w2 = cx / 2;
    const int32_t h2 = cy / 2;
    LabelPlacement lp;
    lp.mid = DimensionMidpoint(p1, p2);
    lp.centre = POINT{Add(lp.mid.x, -static_cast<int64_t>(TruncToInt(h2 * sa))),
                      Add(lp.mid.y, -static_cast<int64_t>(TruncToInt(h2 * ca)))};
    lp.origin = POINT{Add(static_cast<int64_t>(lp.mid.x) - TruncToInt(cy * sa),
                          -static_cast<int64_t>(TruncToInt(w2 * ca))),
                      Add(static_cast<int64_t>(lp.mid.y) + TruncToInt(w2 * sa),
                          -static_cast<int64_t>(TruncToInt(cy * ca)))};
    lp.ellipse = RECT{Add(lp.centre.x, -static_cast<int64_t>(w2) - kEllipseMargin),
                      Add(lp.centre.y, -static_cast<int64_t>(h2) - kEllipseMargin),
                      Add(lp.centre.x, static_cast<int64_t>(w2) + kEllipseMargin),
                      Add(lp.centre.y, static_cast<int64_t>(h2) + kEllipseMargin)};
    return lp;
}

int32_t NoteMargin(double scale) {
    return TruncToInt(5.0 * scale);
}

NoteBox NoteBoxAt(POINT anchor, SIZE text, double scale) {
    const int64_t margin = NoteMargin(scale);
    NoteBox box;
    box.left = anchor.x;
    box.top = anchor.y;
    box.right = box.left + text.cx + 2 * margin;
    box.bottom = box.top + text.cy + 2 * margin;
    return box;
}
