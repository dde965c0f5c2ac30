#pragma once
// Lengths of dimensions without a value, computed through the photo's
// reference plane or reference length, with their uncertainty.

#include "document/MeasureReference.h"
#include "document/PlaneHomography.h"
#include "document/Records.h"
#include "document/ReferenceMapping.h"

#include <QString>
#include <optional>
#include <vector>

struct ComputedLength {
    enum class State {
        None,          // typed or measured value, or no reference: nothing computed
        Value,         // length and uncertainty hold the result
        BeyondHorizon, // an end lies on or beyond the plane's horizon ("≈?")
    };
    State state = State::None;
    double length = 0;      // mm
    double uncertainty = 0; // mm, one standard deviation to first order

    bool HasValue() const { return state == State::Value; }
    // "≈2431 ±12", "≈?" or empty.
    QString Text() const;
};

// The clicked points are taken to be off by up to one photo pixel in each
// coordinate: the uncertainty is propagated to first order, by a numerical
// Jacobian (central differences) of the length with respect to every
// clicked coordinate (both ends of the line, and the reference's ends or the
// plane's four corners), each with a standard deviation of 1 px, summed in
// quadrature (ReferenceMapping). It says nothing about lines that are not in
// the plane.

// Length of a -> b on the plane whose rectangle (width x height mm) has
// the ordered `corners` on the photo.
ComputedLength PlaneLength(const Quad& corners, double width, double height, QPointF a, QPointF b);
// Length of a -> b at the scale of the reference line refA -> refB of
// `referenceMm`. None for a reference of zero pixels.
ComputedLength ScaledLength(QPointF refA, QPointF refB, double referenceMm, QPointF a, QPointF b);

// The value of a dimension as a length in mm: a positive decimal number and
// nothing else. None for "客廳", "", "0" or "-5".
std::optional<double> NumericValueMm(const Dimension& dim);

// Why `dim` cannot be the reference (empty when it can).
QString ReferenceProblem(const Dimension& dim);

// The computed length of dims[index] under `reference`: None when its value
// is not empty or there is no usable reference.
ComputedLength ComputeLength(const MeasureReference& reference, const std::vector<Dimension>& dims,
                             size_t index);
// The same through `mapping`, the photo's reference (ReferenceMapping::Of),
// made once for many dimensions.
ComputedLength ComputeLength(const ReferenceMapping& mapping, const Dimension& dim);
// Whether the reference's plane is there and its corners make a rectangle
// seen in perspective: then it, not the reference dimension, gives lengths.
bool HasUsablePlane(const MeasureReference& reference);
// The reference dimension's index when it still names a usable reference,
// else -1.
int UsableReferenceDimension(const MeasureReference& reference, const std::vector<Dimension>& dims);

// Point of the photo for a record's POINT.
inline QPointF ToPointF(const POINT& p) {
    return QPointF(p.x, p.y);
}
