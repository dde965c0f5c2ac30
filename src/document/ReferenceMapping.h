#pragma once
// How clicked photo points become millimetres: through the reference plane
// (the inverse of its homography) or at the reference line's scale. A
// measure of the mapped points (a length, an area, an angle) comes with its
// first-order uncertainty from ±1 photo pixel at every clicked coordinate:
// the measured points' and the reference's own (the plane's four corners or
// the reference line's two ends).

#include "document/MeasureReference.h"
#include "document/PlaneHomography.h"
#include "document/Records.h"

#include <QPointF>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// A value with its standard deviation to first order, and the part of it
// that comes from the measured points alone (not the reference's).
struct MeasuredValue {
    double value = 0;
    double uncertainty = 0;
    double fromPoints = 0;
};

// A measure of one closed ring of points that is a sum over its edges, then
// `outer` of the sum: a polygon's area (half the cross products, then their
// size) or its perimeter (the edges' lengths).
struct RingMeasure {
    double (*edge)(QPointF a, QPointF b);
    double (*outer)(double sum);
};

class ReferenceMapping {
public:
    // Through the plane whose rectangle (width x height mm) has `corners`
    // on the photo.
    static ReferenceMapping Plane(const Quad& corners, double width, double height);
    // At the scale of the line refA -> refB, `referenceMm` long.
    static ReferenceMapping Scale(QPointF refA, QPointF refB, double referenceMm);
    // The photo's reference: its plane when usable, else its reference
    // dimension; none without either.
    static std::optional<ReferenceMapping> Of(const MeasureReference& reference,
                                              const std::vector<Dimension>& dims);

    bool IsPlane() const { return m_plane; }

    // The points (photo pixels) in millimetres: on the plane, or the photo
    // scaled. None when a point lies on or beyond the plane's horizon or the
    // reference is degenerate.
    std::optional<std::vector<QPointF>> Map(const std::vector<QPointF>& points) const;

    // measure(mapped points) with its uncertainty (Jacobian by central
    // differences over every coordinate of `points` and of the reference,
    // each of standard deviation kClickUncertaintyPx, summed in quadrature).
    // None when the points cannot be mapped.
    using Measure = std::function<double(const std::vector<QPointF>&)>;
    std::optional<MeasuredValue> Measured(const std::vector<QPointF>& points,
                                          const Measure& measure) const;
    // As Measured, for a measure of a ring: in time proportional to the
    // ring's size rather than its square.
    std::optional<MeasuredValue> MeasuredRing(const std::vector<QPointF>& ring,
                                              const RingMeasure& measure) const;
    // As Measured, the uncertainty from the reference's points alone.
    std::optional<MeasuredValue> MeasuredByReference(const std::vector<QPointF>& points,
                                                     const Measure& measure) const;

private:
    // The measure with the mapped point i moved to `at`.
    using MovedMeasure =
        std::function<double(const std::vector<QPointF>& mapped, size_t i, QPointF at)>;
    // The measure of the mapped points, its uncertainty from the reference
    // and (`pointsToo`) the points.
    std::optional<MeasuredValue> Propagated(const std::vector<QPointF>& points,
                                            const Measure& measure, const MovedMeasure& moved,
                                            bool pointsToo) const;
    // The reference points: the plane's 4 corners or the line's 2 ends;
    // width: the plane's mm along corners 0 -> 1, or the line's mm; height:
    // the plane's mm along corners 1 -> 2.
    ReferenceMapping(bool plane, const std::vector<QPointF>& reference, double width,
                     double height);

    // The map under the reference, and under the reference with each of its
    // coordinates moved a step either way: made once, shared by copies, as
    // they are the same for every measure.
    struct Maps;
    bool m_plane;
    std::shared_ptr<const Maps> m_maps;
};

// One standard deviation of a clicked coordinate, in photo pixels.
constexpr double kClickUncertaintyPx = 1.0;
