#include "document/ComputedLength.h"

#include "platform/Cp950.h"

#include <QCoreApplication>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

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

namespace {

double Distance(const std::vector<QPointF>& ends) {
    return std::hypot(ends[0].x() - ends[1].x(), ends[0].y() - ends[1].y());
}

ComputedLength LengthThrough(const ReferenceMapping& mapping, QPointF a, QPointF b,
                             ComputedLength::State unmapped) {
    ComputedLength result;
    const std::optional<MeasuredValue> measured = mapping.Measured({a, b}, Distance);
    if (!measured) {
        result.state = unmapped;
        return result;
    }
    result.state = ComputedLength::State::Value;
    result.length = measured->value;
    result.uncertainty = measured->uncertainty;
    return result;
}

} // namespace

ComputedLength PlaneLength(const Quad& corners, double width, double height, QPointF a, QPointF b) {
    return LengthThrough(ReferenceMapping::Plane(corners, width, height), a, b,
                         ComputedLength::State::BeyondHorizon);
}

ComputedLength ScaledLength(QPointF refA, QPointF refB, double referenceMm, QPointF a, QPointF b) {
    return LengthThrough(ReferenceMapping::Scale(refA, refB, referenceMm), a, b,
                         ComputedLength::State::None);
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
    const std::optional<ReferenceMapping> mapping = ReferenceMapping::Of(reference, dims);
    if (!mapping)
        return ComputedLength();
    return ComputeLength(*mapping, dims[index]);
}

ComputedLength ComputeLength(const ReferenceMapping& mapping, const Dimension& dim) {
    if (dim.value[0] != '\0')
        return ComputedLength();
    return LengthThrough(mapping, ToPointF(dim.start), ToPointF(dim.end),
                         mapping.IsPlane() ? ComputedLength::State::BeyondHorizon
                                           : ComputedLength::State::None);
}
