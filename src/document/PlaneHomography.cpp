// The rectangle-to-photo map is built as the unit square to the quad (the
// closed form of Heckbert's square-to-quad), on image coordinates moved to
// their centroid and scaled to unit size so the solve stays well conditioned
// for 24-megapixel photos, then composed with the rectangle's size.

#include "document/PlaneHomography.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {

using Mat = std::array<double, 9>;

Mat Multiply(const Mat& a, const Mat& b) {
    Mat r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i * 3 + j] = a[i * 3] * b[j] + a[i * 3 + 1] * b[3 + j] + a[i * 3 + 2] * b[6 + j];
    return r;
}

// None when the matrix is singular.
std::optional<Mat> Invert(const Mat& m) {
    const Mat adj = {
        m[4] * m[8] - m[5] * m[7], m[2] * m[7] - m[1] * m[8], m[1] * m[5] - m[2] * m[4],
        m[5] * m[6] - m[3] * m[8], m[0] * m[8] - m[2] * m[6], m[2] * m[3] - m[0] * m[5],
        m[3] * m[7] - m[4] * m[6], m[1] * m[6] - m[0] * m[7], m[0] * m[4] - m[1] * m[3]};
    const double det = m[0] * adj[0] + m[1] * adj[3] + m[2] * adj[6];
    if (!std::isfinite(det) || det == 0)
        return std::nullopt;
    Mat r;
    for (int i = 0; i < 9; ++i)
        r[i] = adj[i] / det;
    return r;
}

double Cross(QPointF a, QPointF b) {
    return a.x() * b.y() - a.y() * b.x();
}

double Length(QPointF v) {
    return std::hypot(v.x(), v.y());
}

} // namespace

std::optional<PlaneHomography> PlaneHomography::FromRectangle(const Quad& corners, double width,
                                                              double height) {
    // Built from the corners in their order round the plane, whatever order
    // they come in (two swapped corners would fold the plane into a bowtie).
    const Quad image = OrderCorners(corners);
    if (!(width > 0) || !(height > 0) || !std::isfinite(width) || !std::isfinite(height) ||
        !PlaneCornersProblem(image).isEmpty())
        return std::nullopt;
    QPointF centre;
    for (const QPointF& p : image)
        centre += p / 4;
    double spread = 0;
    for (const QPointF& p : image)
        spread += Length(p - centre) / 4;
    Quad n;
    for (int i = 0; i < 4; ++i)
        n[i] = (image[i] - centre) / spread;

    const double sx = n[0].x() - n[1].x() + n[2].x() - n[3].x();
    const double sy = n[0].y() - n[1].y() + n[2].y() - n[3].y();
    const double dx1 = n[1].x() - n[2].x(), dx2 = n[3].x() - n[2].x();
    const double dy1 = n[1].y() - n[2].y(), dy2 = n[3].y() - n[2].y();
    const double det = dx1 * dy2 - dx2 * dy1;
    if (det == 0)
        return std::nullopt;
    const double g = (sx * dy2 - dx2 * sy) / det;
    const double h = (dx1 * sy - sx * dy1) / det;
    const Mat square = {n[1].x() - n[0].x() + g * n[1].x(),
                        n[3].x() - n[0].x() + h * n[3].x(),
                        n[0].x(),
                        n[1].y() - n[0].y() + g * n[1].y(),
                        n[3].y() - n[0].y() + h * n[3].y(),
                        n[0].y(),
                        g,
                        h,
                        1};
    const Mat unscale = {spread, 0, centre.x(), 0, spread, centre.y(), 0, 0, 1};
    const Mat toUnit = {1 / width, 0, 0, 0, 1 / height, 0, 0, 0, 1};

    PlaneHomography result;
    result.m_h = Multiply(unscale, Multiply(square, toUnit));
    const std::optional<Mat> inverse = Invert(result.m_h);
    if (!inverse)
        return std::nullopt;
    result.m_inverse = *inverse;
    // The rectangle's centre lies in front of the camera by construction.
    const double w = result.m_h[6] * width / 2 + result.m_h[7] * height / 2 + result.m_h[8];
    result.m_frontSign = w < 0 ? -1 : 1;
    return result;
}

std::optional<QPointF> PlaneHomography::ToPlane(QPointF image) const {
    const Mat& m = m_inverse;
    const double x = m[0] * image.x() + m[1] * image.y() + m[2];
    const double y = m[3] * image.x() + m[4] * image.y() + m[5];
    const double w = m[6] * image.x() + m[7] * image.y() + m[8];
    // The forward map gives the plane point (x/w, y/w) the weight 1/w, which
    // is proportional to its depth: points in front of the camera share the
    // sign of the rectangle's, zero is the horizon, the other sign lies
    // beyond it.
    if (!(w * m_frontSign > 0))
        return std::nullopt;
    const QPointF p(x / w, y / w);
    if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
        return std::nullopt;
    return p;
}

QPointF PlaneHomography::ToImage(QPointF plane) const {
    const Mat& m = m_h;
    const double w = m[6] * plane.x() + m[7] * plane.y() + m[8];
    return QPointF((m[0] * plane.x() + m[1] * plane.y() + m[2]) / w,
                   (m[3] * plane.x() + m[4] * plane.y() + m[5]) / w);
}

Quad OrderCorners(const Quad& clicked) {
    QPointF centre;
    for (const QPointF& p : clicked)
        centre += p / 4;
    // Increasing angle with y downwards runs clockwise on the photo.
    std::array<std::pair<double, int>, 4> byAngle;
    for (int i = 0; i < 4; ++i)
        byAngle[size_t(i)] = {
            std::atan2(clicked[size_t(i)].y() - centre.y(), clicked[size_t(i)].x() - centre.x()),
            i};
    std::stable_sort(byAngle.begin(), byAngle.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    Quad round;
    for (int i = 0; i < 4; ++i)
        round[size_t(i)] = clicked[size_t(byAngle[size_t(i)].second)];
    // How far from horizontal a side runs: |sin| of its angle.
    auto slope = [&](int i) {
        const QPointF d = round[(i + 1) % 4] - round[i];
        const double len = Length(d);
        return len > 0 ? std::abs(d.y()) / len : 1.0;
    };
    const int first = slope(0) + slope(2) <= slope(1) + slope(3) ? 0 : 1;
    // Of the two sides along the width, start the one higher on the photo.
    const double ya = round[first].y() + round[first + 1].y();
    const double yb = round[first + 2].y() + round[(first + 3) % 4].y();
    const int start = ya <= yb ? first : first + 2;
    Quad ordered;
    for (int i = 0; i < 4; ++i)
        ordered[i] = round[(start + i) % 4];
    return ordered;
}

QString PlaneCornersProblem(const Quad& corners) {
    // Closer than this, two clicks are one corner clicked twice.
    constexpr double kSameSpot = 3.0;
    // A corner angle closer to 180 degrees than this puts three corners on a line.
    const double kFlatSine = std::sin(1.0 * M_PI / 180);
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j)
            if (Length(corners[i] - corners[j]) < kSameSpot)
                return QCoreApplication::translate("ReferencePlane",
                                                   "兩個角點在同一處：請點選矩形的四個不同角。");
    const Quad round = OrderCorners(corners);
    int sign = 0;
    for (int i = 0; i < 4; ++i) {
        const QPointF a = round[(i + 1) % 4] - round[i];
        const QPointF b = round[(i + 2) % 4] - round[(i + 1) % 4];
        const double cross = Cross(a, b);
        if (std::abs(cross) < kFlatSine * Length(a) * Length(b))
            return QCoreApplication::translate("ReferencePlane",
                                               "三個角點在一直線上：這不是一個矩形的四個角。");
        const int s = cross > 0 ? 1 : -1;
        if (sign != 0 && s != sign)
            return QCoreApplication::translate("ReferencePlane",
                                               "四個角點不成凸四邊形：這不是一個矩形的四個角。");
        sign = s;
    }
    return QString();
}
