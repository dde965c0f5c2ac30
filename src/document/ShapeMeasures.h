#pragma once
// The measured values of areas and angles under the photo's reference, each
// with its uncertainty, propagated to first order from ±1 photo pixel at
// every clicked point (the shape's own points and the reference's), as the
// computed lengths are (see ComputedLength.h).
//
// Areas: through the reference plane, every corner is mapped onto the plane
// and the polygon's area is taken there; with only a reference length, the
// picture's area times the scale squared, which holds only for an area that
// faces the camera (basis FacingCamera); with no reference, no value ("≈?").
// An opening lying inside another area is taken off it; openings that
// overlap count once.
// Angles: through the plane, the angle between the two lines on the plane;
// without one, the angle in the picture (basis Picture).

#include "document/MeasureReference.h"
#include "document/Records.h"
#include "document/ShapeRecords.h"

#include <QPointF>
#include <QString>
#include <vector>

enum class MeasureBasis {
    None,         // nothing to measure by: no value
    Plane,        // through the reference plane
    FacingCamera, // the reference length's scale: true for a shape facing the camera
    Picture,      // the picture itself (angles without a plane)
};

struct ComputedArea {
    enum class State {
        None,          // no reference: "≈?"
        Value,         // the figures below hold the result
        BeyondHorizon, // a corner lies on or beyond the plane's horizon: "≈?"
    };
    State state = State::None;
    MeasureBasis basis = MeasureBasis::None;
    double gross = 0;                // mm², the polygon itself
    double grossUncertainty = 0;     // mm², one standard deviation
    double perimeter = 0;            // mm
    double perimeterUncertainty = 0; // mm
    double openings = 0;             // mm² taken off (their union inside this area)
    int openingCount = 0;            // openings lying inside this area
    double net = 0;                  // mm², gross less openings
    double netUncertainty = 0;       // mm²
    bool HasValue() const { return state == State::Value; }
};

struct ComputedAngle {
    enum class State { None, Value, BeyondHorizon };
    State state = State::None;
    MeasureBasis basis = MeasureBasis::None; // Plane or Picture
    double degrees = 0;                      // 0..180
    double uncertainty = 0;                  // degrees, one standard deviation (Plane only)
    bool HasValue() const { return state == State::Value; }
};

// Every area's figures, in the order of `areas`. Openings get their own
// gross figures and are taken off the smallest non-opening area that holds
// them (every corner inside it); an area holding openings of more than 1024
// corners in all gets none (state None). Time grows with the corners'
// count, and with its square for the openings one area holds.
std::vector<ComputedArea> ComputeAreas(const MeasureReference& reference,
                                       const std::vector<Dimension>& dims,
                                       const std::vector<AreaRecord>& areas);
ComputedAngle ComputeAngle(const MeasureReference& reference, const std::vector<Dimension>& dims,
                           const AngleRecord& angle);

// 1 坪 = 400/121 m².
constexpr double kSquareMetresPerPing = 400.0 / 121.0;

// Label texts. Area: "≈12.40 m² (3.75 坪) ±0.15" with `ping`, "≈12.40 m² ±0.15"
// without; the net value with "扣除開口 2" after it when openings were taken
// off; "≈?" without a value. Angle: "≈90.0° ±0.4" through the plane, the
// picture's angle marked as such, "≈?" without a value.
QString AreaText(const ComputedArea& area, bool ping);
QString AngleText(const ComputedAngle& angle);

// A point inside the polygon (on the photo) where its label goes: inside
// even for a concave shape, away from the edges where there is room.
QPointF AreaLabelPoint(const std::vector<POINT>& corners);
