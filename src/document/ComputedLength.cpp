#include "document/ComputedLength.h"

#include "platform/Cp950.h"

#include <QCoreApplication>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

// Step of the central differences, in photo pixels.
constexpr double kStepPx = 0.25;

// First-order standard deviation of f(x) for independent coordinates of
// standard deviation kClickUncertaintyPx. False when f cannot be evaluated
// on either side of some coordinate.
template <size_t N>
bool PropagateClicks(const std::function<std::optional<double>(const std::array<double, N>&)>& f,
                     const std::array<double, N>& x, double centre, double& sigma) {
    double sum = 0;
    for (size_t i = 0; i < N; ++i) {
        std::array<double, N> up = x, down = x;
        up[i] += kStepPx;
        down[i] -= kStepPx;
        const std::optional<double> fu = f(up), fd = f(down);
        double slope;
        if (fu && fd)
            slope = (*fu - *fd) / (2 * kStepPx);
        else if (fu)
            slope = (*fu - centre) / kStepPx;
        else if (fd)
            slope = (centre - *fd) / kStepPx;
        else
            return false;
        sum += slope * slope;
    }
    sigma = std::sqrt(sum) * kClickUncertaintyPx;
    return std::isfinite(sigma);
}

QPointF At(const double* x) {
    return QPointF(x[0], x[1]);
}

Quad CornersOf(const ReferencePlane& plane) {
    return {ToPointF(plane.corners[0]), ToPointF(plane.corners[1]), ToPointF(plane.corners[2]),
            ToPointF(plane.corners[3])};
}

} // namespace

QString ComputedLength::Text() const {
    switch (state) {
    case State::None:
        return QString();
    case State::BeyondHorizon:
        return QStringLiteral("≈?");
    case State::Value:
        break;
    }
    // A label shows whole millimetres up to a thousand kilometres; beyond
    // that (or not a number at all) it shows "?" rather than a figure that
    // overflowed.
    constexpr double kLargestShown = 1e9;
    auto shown = [](double mm) {
        return std::isfinite(mm) && std::abs(mm) < kLargestShown ? QString::number(std::llround(mm))
                                                                 : QStringLiteral("?");
    };
    if (!std::isfinite(length) || !(std::abs(length) < kLargestShown))
        return QStringLiteral("≈?");
    return QStringLiteral("≈%1 ±%2").arg(shown(length), shown(std::ceil(uncertainty - 1e-9)));
}

ComputedLength PlaneLength(const Quad& corners, double width, double height, QPointF a, QPointF b) {
    using Coords = std::array<double, 12>;
    const std::function<std::optional<double>(const Coords&)> length =
        [&](const Coords& x) -> std::optional<double> {
        const Quad quad = {At(&x[4]), At(&x[6]), At(&x[8]), At(&x[10])};
        const std::optional<PlaneHomography> h =
            PlaneHomography::FromRectangle(quad, width, height);
        if (!h)
            return std::nullopt;
        const std::optional<QPointF> pa = h->ToPlane(At(&x[0])), pb = h->ToPlane(At(&x[2]));
        if (!pa || !pb)
            return std::nullopt;
        return std::hypot(pa->x() - pb->x(), pa->y() - pb->y());
    };
    // a, b, then the four corners.
    const Coords ordered = {a.x(),          a.y(),          b.x(),          b.y(),
                            corners[0].x(), corners[0].y(), corners[1].x(), corners[1].y(),
                            corners[2].x(), corners[2].y(), corners[3].x(), corners[3].y()};
    ComputedLength result;
    const std::optional<double> centre = length(ordered);
    if (!centre) {
        result.state = ComputedLength::State::BeyondHorizon;
        return result;
    }
    double sigma;
    if (!PropagateClicks<12>(length, ordered, *centre, sigma)) {
        result.state = ComputedLength::State::BeyondHorizon;
        return result;
    }
    result.state = ComputedLength::State::Value;
    result.length = *centre;
    result.uncertainty = sigma;
    return result;
}

ComputedLength ScaledLength(QPointF refA, QPointF refB, double referenceMm, QPointF a, QPointF b) {
    using Coords = std::array<double, 8>;
    const std::function<std::optional<double>(const Coords&)> length =
        [&](const Coords& x) -> std::optional<double> {
        const double refPx = std::hypot(x[4] - x[6], x[5] - x[7]);
        if (!(refPx > 0))
            return std::nullopt;
        return std::hypot(x[0] - x[2], x[1] - x[3]) * referenceMm / refPx;
    };
    const Coords x = {a.x(), a.y(), b.x(), b.y(), refA.x(), refA.y(), refB.x(), refB.y()};
    ComputedLength result;
    const std::optional<double> centre = length(x);
    double sigma;
    if (!centre || !PropagateClicks<8>(length, x, *centre, sigma))
        return result;
    result.state = ComputedLength::State::Value;
    result.length = *centre;
    result.uncertainty = sigma;
    return result;
}

std::optional<double> NumericValueMm(const Dimension& dim) {
    const size_t n = strnlen(dim.value, sizeof dim.value);
    if (n == 0 || n >= sizeof dim.value)
        return std::nullopt;
    const std::string text(dim.value, n);
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(v) || !(v > 0))
        return std::nullopt;
    // Only plain decimals: no "inf", "0x10", " 5" or "1e3".
    for (char c : text)
        if (!((c >= '0' && c <= '9') || c == '.'))
            return std::nullopt;
    return v;
}

QString ReferenceProblem(const Dimension& dim) {
    if (!NumericValueMm(dim))
        return QCoreApplication::translate("ReferenceLength",
                                           "只有數值（毫米）大於零的尺寸才能作為參考。");
    if (dim.start.x == dim.end.x && dim.start.y == dim.end.y)
        return QCoreApplication::translate("ReferenceLength",
                                           "這個尺寸的兩端在同一點，長度為零，不能作為參考。");
    return QString();
}

bool HasUsablePlane(const MeasureReference& reference) {
    const ReferencePlane& plane = reference.plane;
    return reference.hasPlane &&
           PlaneHomography::FromRectangle(CornersOf(plane), plane.width, plane.height);
}

int UsableReferenceDimension(const MeasureReference& reference,
                             const std::vector<Dimension>& dims) {
    if (reference.dimension < 0 || static_cast<size_t>(reference.dimension) >= dims.size())
        return -1;
    return ReferenceProblem(dims[static_cast<size_t>(reference.dimension)]).isEmpty()
               ? reference.dimension
               : -1;
}

ComputedLength ComputeLength(const MeasureReference& reference, const std::vector<Dimension>& dims,
                             size_t index) {
    if (index >= dims.size() || dims[index].value[0] != '\0')
        return ComputedLength();
    const Dimension& dim = dims[index];
    if (HasUsablePlane(reference)) {
        const ReferencePlane& plane = reference.plane;
        return PlaneLength(CornersOf(plane), plane.width, plane.height, ToPointF(dim.start),
                           ToPointF(dim.end));
    }
    const int ref = UsableReferenceDimension(reference, dims);
    if (ref < 0)
        return ComputedLength();
    const Dimension& refDim = dims[static_cast<size_t>(ref)];
    return ScaledLength(ToPointF(refDim.start), ToPointF(refDim.end), *NumericValueMm(refDim),
                        ToPointF(dim.start), ToPointF(dim.end));
}
