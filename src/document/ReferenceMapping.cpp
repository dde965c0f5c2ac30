#include "document/ReferenceMapping.h"

#include "document/ComputedLength.h"

#include <cmath>

namespace {

// Step of the central differences, in photo pixels.
constexpr double kStepPx = 0.25;

// The map of single points under one set of reference points.
struct PointMap {
    std::optional<PlaneHomography> homography; // through the plane
    double scale = 0;                          // else mm per pixel

    std::optional<QPointF> operator()(QPointF p) const {
        if (homography)
            return homography->ToPlane(p);
        return p * scale;
    }
};

std::optional<PointMap> BuildMap(bool plane, const std::vector<QPointF>& reference, double width,
                                 double height) {
    PointMap map;
    if (plane) {
        map.homography = PlaneHomography::FromRectangle(
            {reference[0], reference[1], reference[2], reference[3]}, width, height);
        if (!map.homography)
            return std::nullopt;
        return map;
    }
    const QPointF d = reference[1] - reference[0];
    const double px = std::hypot(d.x(), d.y());
    if (!(px > 0) || !std::isfinite(width / px))
        return std::nullopt;
    map.scale = width / px;
    return map;
}

std::optional<std::vector<QPointF>> MapAll(const PointMap& map,
                                           const std::vector<QPointF>& points) {
    std::vector<QPointF> mapped;
    mapped.reserve(points.size());
    for (const QPointF& p : points) {
        const std::optional<QPointF> m = map(p);
        if (!m)
            return std::nullopt;
        mapped.push_back(*m);
    }
    return mapped;
}

// The slope of a measure along one coordinate from its values a step either
// side (one-sided when one side cannot be evaluated). None when neither can.
std::optional<double> Slope(std::optional<double> up, std::optional<double> down, double centre) {
    if (up && down)
        return (*up - *down) / (2 * kStepPx);
    if (up)
        return (*up - centre) / kStepPx;
    if (down)
        return (centre - *down) / kStepPx;
    return std::nullopt;
}

double& Coordinate(QPointF& p, size_t axis) {
    return axis == 0 ? p.rx() : p.ry();
}

} // namespace

ReferenceMapping::ReferenceMapping(bool plane, std::vector<QPointF> reference, double width,
                                   double height)
    : m_plane(plane), m_reference(std::move(reference)), m_width(width), m_height(height) {}

ReferenceMapping ReferenceMapping::Plane(const Quad& corners, double width, double height) {
    return ReferenceMapping(true, {corners[0], corners[1], corners[2], corners[3]}, width, height);
}

ReferenceMapping ReferenceMapping::Scale(QPointF refA, QPointF refB, double referenceMm) {
    return ReferenceMapping(false, {refA, refB}, referenceMm, 0);
}

std::optional<ReferenceMapping> ReferenceMapping::Of(const MeasureReference& reference,
                                                     const std::vector<Dimension>& dims) {
    if (HasUsablePlane(reference)) {
        const ReferencePlane& plane = reference.plane;
        return Plane({ToPointF(plane.corners[0]), ToPointF(plane.corners[1]),
                      ToPointF(plane.corners[2]), ToPointF(plane.corners[3])},
                     plane.width, plane.height);
    }
    const int ref = UsableReferenceDimension(reference, dims);
    if (ref < 0)
        return std::nullopt;
    const Dimension& dim = dims[static_cast<size_t>(ref)];
    return Scale(ToPointF(dim.start), ToPointF(dim.end), *NumericValueMm(dim));
}

std::optional<std::vector<QPointF>>
ReferenceMapping::MapWith(const std::vector<QPointF>& reference,
                          const std::vector<QPointF>& points) const {
    const std::optional<PointMap> map = BuildMap(m_plane, reference, m_width, m_height);
    if (!map)
        return std::nullopt;
    return MapAll(*map, points);
}

std::optional<std::vector<QPointF>>
ReferenceMapping::Map(const std::vector<QPointF>& points) const {
    return MapWith(m_reference, points);
}

std::optional<MeasuredValue> ReferenceMapping::Measured(const std::vector<QPointF>& points,
                                                        const Measure& measure) const {
    const std::optional<PointMap> map = BuildMap(m_plane, m_reference, m_width, m_height);
    if (!map)
        return std::nullopt;
    std::optional<std::vector<QPointF>> mapped = MapAll(*map, points);
    if (!mapped)
        return std::nullopt;
    const double centre = measure(*mapped);
    if (!std::isfinite(centre))
        return std::nullopt;
    double sum = 0;
    // A measured point's coordinate moves that point alone.
    for (size_t i = 0; i < points.size(); ++i) {
        const QPointF kept = (*mapped)[i];
        for (size_t axis = 0; axis < 2; ++axis) {
            auto moved = [&](double step) -> std::optional<double> {
                QPointF p = points[i];
                Coordinate(p, axis) += step;
                const std::optional<QPointF> m = (*map)(p);
                if (!m)
                    return std::nullopt;
                (*mapped)[i] = *m;
                const double v = measure(*mapped);
                (*mapped)[i] = kept;
                return v;
            };
            const std::optional<double> slope = Slope(moved(kStepPx), moved(-kStepPx), centre);
            if (!slope)
                return std::nullopt;
            sum += *slope * *slope;
        }
    }
    // A reference point's coordinate moves the whole map.
    for (size_t i = 0; i < m_reference.size(); ++i) {
        for (size_t axis = 0; axis < 2; ++axis) {
            auto moved = [&](double step) -> std::optional<double> {
                std::vector<QPointF> reference = m_reference;
                Coordinate(reference[i], axis) += step;
                const std::optional<std::vector<QPointF>> m = MapWith(reference, points);
                if (!m)
                    return std::nullopt;
                return measure(*m);
            };
            const std::optional<double> slope = Slope(moved(kStepPx), moved(-kStepPx), centre);
            if (!slope)
                return std::nullopt;
            sum += *slope * *slope;
        }
    }
    const double sigma = std::sqrt(sum) * kClickUncertaintyPx;
    if (!std::isfinite(sigma))
        return std::nullopt;
    return MeasuredValue{centre, sigma};
}
