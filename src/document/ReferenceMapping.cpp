#include "document/ReferenceMapping.h"

#include "document/ComputedLength.h"

#include <array>
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

struct ReferenceMapping::Maps {
    std::optional<PointMap> centre;
    // For reference coordinate k (point k / 2, x then y): the map with it a
    // step up and a step down.
    std::vector<std::array<std::optional<PointMap>, 2>> moved;
};

ReferenceMapping::ReferenceMapping(bool plane, const std::vector<QPointF>& reference, double width,
                                   double height)
    : m_plane(plane) {
    auto maps = std::make_shared<Maps>();
    maps->centre = BuildMap(plane, reference, width, height);
    if (maps->centre) {
        std::vector<QPointF> moved = reference;
        for (size_t i = 0; i < reference.size(); ++i) {
            for (size_t axis = 0; axis < 2; ++axis) {
                std::array<std::optional<PointMap>, 2> both;
                for (size_t side = 0; side < 2; ++side) {
                    Coordinate(moved[i], axis) += side == 0 ? kStepPx : -kStepPx;
                    both[side] = BuildMap(plane, moved, width, height);
                    moved[i] = reference[i];
                }
                maps->moved.push_back(both);
            }
        }
    }
    m_maps = std::move(maps);
}

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
ReferenceMapping::Map(const std::vector<QPointF>& points) const {
    if (!m_maps->centre)
        return std::nullopt;
    return MapAll(*m_maps->centre, points);
}

std::optional<MeasuredValue> ReferenceMapping::Propagated(const std::vector<QPointF>& points,
                                                          const Measure& measure,
                                                          const MovedMeasure& moved,
                                                          bool pointsToo) const {
    const std::optional<PointMap>& map = m_maps->centre;
    if (!map)
        return std::nullopt;
    std::optional<std::vector<QPointF>> mapped = MapAll(*map, points);
    if (!mapped)
        return std::nullopt;
    const double centre = measure(*mapped);
    if (!std::isfinite(centre))
        return std::nullopt;
    // A measured point's coordinate moves that point alone.
    double pointsSum = 0;
    for (size_t i = 0; pointsToo && i < points.size(); ++i) {
        for (size_t axis = 0; axis < 2; ++axis) {
            auto at = [&](double step) -> std::optional<double> {
                QPointF p = points[i];
                Coordinate(p, axis) += step;
                const std::optional<QPointF> m = (*map)(p);
                if (!m)
                    return std::nullopt;
                return moved(*mapped, i, *m);
            };
            const std::optional<double> slope = Slope(at(kStepPx), at(-kStepPx), centre);
            if (!slope)
                return std::nullopt;
            pointsSum += *slope * *slope;
        }
    }
    // A reference point's coordinate moves the whole map (one copy of the
    // mapped points serves every coordinate).
    double sum = pointsSum;
    std::vector<QPointF> remapped = *mapped;
    for (const auto& both : m_maps->moved) {
        auto at = [&](const std::optional<PointMap>& movedMap) -> std::optional<double> {
            if (!movedMap)
                return std::nullopt;
            for (size_t k = 0; k < points.size(); ++k) {
                const std::optional<QPointF> m = (*movedMap)(points[k]);
                if (!m)
                    return std::nullopt;
                remapped[k] = *m;
            }
            return measure(remapped);
        };
        const std::optional<double> slope = Slope(at(both[0]), at(both[1]), centre);
        if (!slope)
            return std::nullopt;
        sum += *slope * *slope;
    }
    const MeasuredValue result{centre, std::sqrt(sum) * kClickUncertaintyPx,
                               std::sqrt(pointsSum) * kClickUncertaintyPx};
    if (!std::isfinite(result.uncertainty))
        return std::nullopt;
    return result;
}

std::optional<MeasuredValue> ReferenceMapping::Measured(const std::vector<QPointF>& points,
                                                        const Measure& measure) const {
    std::vector<QPointF> scratch;
    return Propagated(
        points, measure,
        [&](const std::vector<QPointF>& mapped, size_t i, QPointF at) {
            scratch = mapped;
            scratch[i] = at;
            return measure(scratch);
        },
        true);
}

std::optional<MeasuredValue> ReferenceMapping::MeasuredRing(const std::vector<QPointF>& ring,
                                                            const RingMeasure& measure) const {
    const size_t n = ring.size();
    const auto sum = [&](const std::vector<QPointF>& p) {
        double s = 0;
        for (size_t k = 0; k < n; ++k)
            s += measure.edge(p[k], p[(k + 1) % n]);
        return s;
    };
    // The sum over the mapped ring, taken once: a moved point changes only
    // its two edges.
    const std::vector<QPointF>* summed = nullptr;
    double centreSum = 0;
    return Propagated(
        ring, [&](const std::vector<QPointF>& p) { return measure.outer(sum(p)); },
        [&](const std::vector<QPointF>& p, size_t i, QPointF at) {
            if (summed != &p) {
                summed = &p;
                centreSum = sum(p);
            }
            const QPointF before = p[(i + n - 1) % n], after = p[(i + 1) % n];
            return measure.outer(centreSum - measure.edge(before, p[i]) -
                                 measure.edge(p[i], after) + measure.edge(before, at) +
                                 measure.edge(at, after));
        },
        true);
}

std::optional<MeasuredValue>
ReferenceMapping::MeasuredByReference(const std::vector<QPointF>& points,
                                      const Measure& measure) const {
    return Propagated(points, measure, {}, false);
}
