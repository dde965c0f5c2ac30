#pragma once
// Synthetic photos of a rectangle of known size on a plane: a pinhole camera
// (rotation, focal length, position) projects it onto a 24-megapixel image,
// and points are rounded to whole pixels as a click would place them. Used
// by the accuracy table.

#include "document/PlaneHomography.h"

#include <QPointF>
#include <cmath>
#include <optional>
#include <random>

namespace synthetic {

constexpr int kImageWidth = 6000; // 6000 x 4000: 24 megapixels
constexpr int kImageHeight = 4000;

struct Vec3 {
    double x, y, z;
};
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator*(double s, Vec3 a) {
    return {s * a.x, s * a.y, s * a.z};
}
inline double Dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 CrossV(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline Vec3 Unit(Vec3 a) {
    const double n = std::sqrt(Dot(a, a));
    return {a.x / n, a.y / n, a.z / n};
}

// What to draw views from.
struct ViewRange {
    double minSpan = 0.25, maxSpan = 0.8; // rectangle's width on the photo / photo width
    double minAngle = 0, maxAngle = 55; // degrees between the line of sight and the plane's normal
};

// A camera looking at the plane z = 0; the rectangle spans (0,0)..(w,h) mm
// on it, y downwards like the photo.
struct View {
    double width = 0, height = 0; // mm
    Vec3 centre{}, xAxis{}, yAxis{}, zAxis{};
    double focal = 0; // px
    double angle = 0; // degrees, line of sight to the plane's normal
    double span = 0;  // rectangle's width on the photo / photo width

    std::optional<QPointF> Project(double X, double Y) const {
        const Vec3 d = Vec3{X, Y, 0} - centre;
        const double z = Dot(d, zAxis);
        if (z <= 1)
            return std::nullopt;
        return QPointF(focal * Dot(d, xAxis) / z + kImageWidth / 2.0,
                       focal * Dot(d, yAxis) / z + kImageHeight / 2.0);
    }
    static bool OnPhoto(QPointF p) {
        return p.x() >= 0 && p.y() >= 0 && p.x() <= kImageWidth - 1 && p.y() <= kImageHeight - 1;
    }
    static QPointF Click(QPointF p) { return QPointF(std::round(p.x()), std::round(p.y())); }
    // The corners as clicked, in the rectangle's order.
    std::optional<Quad> ClickedCorners() const {
        Quad q;
        const double xs[4] = {0, width, width, 0}, ys[4] = {0, 0, height, height};
        for (int i = 0; i < 4; ++i) {
            const std::optional<QPointF> p = Project(xs[i], ys[i]);
            if (!p || !OnPhoto(*p))
                return std::nullopt;
            q[i] = Click(*p);
        }
        return q;
    }
};

// Views drawn at random within `range`; one that does not show the whole
// rectangle is drawn again.
class ViewGenerator {
public:
    explicit ViewGenerator(unsigned seed, ViewRange range = {}) : m_rng(seed), m_range(range) {}

    View Next() {
        for (;;) {
            std::optional<View> v = Try();
            if (v)
                return *v;
        }
    }
    // As Next, giving up after `attempts` views that do not fit (a range
    // that can hardly show the whole rectangle).
    std::optional<View> TryNext(int attempts) {
        for (int i = 0; i < attempts; ++i)
            if (std::optional<View> v = Try())
                return v;
        return std::nullopt;
    }
    double Uniform(double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(m_rng); }

private:
    std::optional<View> Try() {
        View v;
        v.width = Uniform(200, 3000);
        v.height = v.width * Uniform(0.4, 2.5);
        v.focal = Uniform(0.6, 1.6) * kImageWidth; // wide angle to short tele
        v.angle = Uniform(m_range.minAngle, m_range.maxAngle);
        const double tilt = Uniform(0, 2 * M_PI); // which way the camera leans
        const double a = v.angle * M_PI / 180;
        // From the rectangle towards the camera (z < 0 is in front of the plane).
        const Vec3 toCamera =
            Unit(Vec3{std::sin(a) * std::cos(tilt), std::sin(a) * std::sin(tilt), -std::cos(a)});
        const Vec3 target{v.width * Uniform(0.3, 0.7), v.height * Uniform(0.3, 0.7), 0};
        const double targetSpan = Uniform(m_range.minSpan, m_range.maxSpan);
        const double roll = Uniform(-0.2, 0.2);
        double distance = v.focal * v.width / (targetSpan * kImageWidth);
        for (int iteration = 0; iteration < 6; ++iteration) {
            v.centre = target + distance * toCamera;
            v.zAxis = Unit(target - v.centre);
            Vec3 x = Unit(CrossV(Vec3{0, 1, 0}, v.zAxis));
            Vec3 y = CrossV(v.zAxis, x);
            v.xAxis = std::cos(roll) * x + std::sin(roll) * y;
            v.yAxis = std::cos(roll) * y - std::sin(roll) * x;
            double lo = 1e300, hi = -1e300;
            const double xs[4] = {0, v.width, v.width, 0}, ys[4] = {0, 0, v.height, v.height};
            for (int i = 0; i < 4; ++i) {
                const std::optional<QPointF> p = v.Project(xs[i], ys[i]);
                if (!p)
                    return std::nullopt;
                lo = std::min(lo, p->x());
                hi = std::max(hi, p->x());
            }
            v.span = (hi - lo) / kImageWidth;
            distance *= v.span / targetSpan;
        }
        if (!v.ClickedCorners() || v.span < m_range.minSpan * 0.98 ||
            v.span > m_range.maxSpan * 1.02)
            return std::nullopt;
        return v;
    }

    std::mt19937 m_rng;
    ViewRange m_range;
};

// A line in the plane, its two ends as clicked and its true length.
struct PlaneLine {
    QPointF a, b;
    double trueLength = 0;
};

// A line between two random points of the plane near the rectangle (up to
// half its size beyond it) that both show on the photo, at least a fifth of
// the rectangle's width long.
inline PlaneLine RandomLine(const View& v, ViewGenerator& gen) {
    for (;;) {
        const double ax = gen.Uniform(-0.5, 1.5) * v.width, ay = gen.Uniform(-0.5, 1.5) * v.height;
        const double bx = gen.Uniform(-0.5, 1.5) * v.width, by = gen.Uniform(-0.5, 1.5) * v.height;
        const double length = std::hypot(ax - bx, ay - by);
        const std::optional<QPointF> pa = v.Project(ax, ay), pb = v.Project(bx, by);
        if (length < 0.2 * v.width || !pa || !pb || !View::OnPhoto(*pa) || !View::OnPhoto(*pb))
            continue;
        return PlaneLine{View::Click(*pa), View::Click(*pb), length};
    }
}

} // namespace synthetic
