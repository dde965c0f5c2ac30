// Areas and angles through the photo's reference (ReferenceMapping): the
// figures and their first-order uncertainty are those of one measure of
// the mapped clicked points. An area's net value is measured as one
// function of its own corners and those of the openings it holds, so the
// reference's errors, which move the gross area and the openings together,
// are counted once, with their correlation, rather than added as if
// independent.

#include "document/ShapeMeasures.h"

#include "document/ComputedLength.h"
#include "document/PolygonGeometry.h"
#include "document/ReferenceMapping.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;

Polygon PhotoPolygon(const AreaRecord& area) {
    Polygon polygon;
    polygon.reserve(area.corners.size());
    for (const POINT& p : area.corners)
        polygon.push_back(ToPointF(p));
    return polygon;
}

bool Closes(const AreaRecord& area) {
    return area.corners.size() >= kMinAreaCorners;
}

// For every area, the index of the area an opening is taken off: the
// smallest (on the photo) non-opening area holding all its corners; -1 for
// areas that are no opening or lie inside none.
std::vector<int> OpeningHolders(const std::vector<AreaRecord>& areas) {
    std::vector<int> holders(areas.size(), -1);
    for (size_t o = 0; o < areas.size(); ++o) {
        if (!areas[o].opening || !Closes(areas[o]))
            continue;
        double smallest = std::numeric_limits<double>::infinity();
        for (size_t a = 0; a < areas.size(); ++a) {
            if (areas[a].opening || !Closes(areas[a]))
                continue;
            const Polygon holder = PhotoPolygon(areas[a]);
            bool holds = true;
            for (const POINT& corner : areas[o].corners)
                holds = holds && ContainsPoint(holder, ToPointF(corner));
            const double size = std::abs(SignedArea(holder));
            if (holds && size < smallest) {
                smallest = size;
                holders[o] = static_cast<int>(a);
            }
        }
    }
    return holders;
}

// The polygons laid end to end in `points`, `sizes` corners each.
std::vector<Polygon> Split(const std::vector<QPointF>& points, const std::vector<size_t>& sizes) {
    std::vector<Polygon> polygons;
    size_t at = 0;
    for (size_t n : sizes) {
        polygons.emplace_back(points.begin() + static_cast<std::ptrdiff_t>(at),
                              points.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    }
    return polygons;
}

// The gross area and its perimeter; false when a corner cannot be mapped.
bool MeasureGross(const ReferenceMapping& mapping, const Polygon& corners, ComputedArea& area) {
    const std::optional<MeasuredValue> gross =
        mapping.Measured(corners, [](const Polygon& p) { return std::abs(SignedArea(p)); });
    const std::optional<MeasuredValue> perimeter = mapping.Measured(corners, Perimeter);
    if (!gross || !perimeter)
        return false;
    area.gross = gross->value;
    area.grossUncertainty = gross->uncertainty;
    area.perimeter = perimeter->value;
    area.perimeterUncertainty = perimeter->uncertainty;
    area.net = area.gross;
    area.netUncertainty = area.grossUncertainty;
    return true;
}

// The net area of `outer` less the union of `openings`, measured as one.
bool MeasureNet(const ReferenceMapping& mapping, const Polygon& outer,
                const std::vector<Polygon>& openings, ComputedArea& area) {
    std::vector<QPointF> points = outer;
    std::vector<size_t> sizes;
    for (const Polygon& opening : openings) {
        points.insert(points.end(), opening.begin(), opening.end());
        sizes.push_back(opening.size());
    }
    const size_t outerSize = outer.size();
    const auto net = [&](const std::vector<QPointF>& mapped) {
        const Polygon gross(mapped.begin(),
                            mapped.begin() + static_cast<std::ptrdiff_t>(outerSize));
        const std::vector<QPointF> rest(mapped.begin() + static_cast<std::ptrdiff_t>(outerSize),
                                        mapped.end());
        return std::abs(SignedArea(gross)) - UnionArea(Split(rest, sizes));
    };
    const std::optional<MeasuredValue> measured = mapping.Measured(points, net);
    if (!measured)
        return false;
    area.net = measured->value;
    area.netUncertainty = measured->uncertainty;
    area.openings = area.gross - area.net;
    area.openingCount = static_cast<int>(openings.size());
    return true;
}

double AngleDegrees(const std::vector<QPointF>& p) {
    const QPointF u = p[0] - p[1], v = p[2] - p[1];
    return std::atan2(std::abs(u.x() * v.y() - u.y() * v.x()), u.x() * v.x() + u.y() * v.y()) *
           kDegreesPerRadian;
}

} // namespace

std::vector<ComputedArea> ComputeAreas(const MeasureReference& reference,
                                       const std::vector<Dimension>& dims,
                                       const std::vector<AreaRecord>& areas) {
    std::vector<ComputedArea> result(areas.size());
    const std::optional<ReferenceMapping> mapping = ReferenceMapping::Of(reference, dims);
    if (!mapping)
        return result;
    const MeasureBasis basis =
        mapping->IsPlane() ? MeasureBasis::Plane : MeasureBasis::FacingCamera;
    const std::vector<int> holders = OpeningHolders(areas);
    for (size_t i = 0; i < areas.size(); ++i) {
        if (!Closes(areas[i]))
            continue;
        ComputedArea& area = result[i];
        area.basis = basis;
        if (!MeasureGross(*mapping, PhotoPolygon(areas[i]), area)) {
            area = ComputedArea();
            area.state = ComputedArea::State::BeyondHorizon;
            area.basis = basis;
            continue;
        }
        area.state = ComputedArea::State::Value;
        std::vector<Polygon> openings;
        for (size_t o = 0; o < areas.size(); ++o)
            if (holders[o] == static_cast<int>(i))
                openings.push_back(PhotoPolygon(areas[o]));
        if (!openings.empty() && !MeasureNet(*mapping, PhotoPolygon(areas[i]), openings, area))
            area.state = ComputedArea::State::BeyondHorizon;
    }
    return result;
}

ComputedAngle ComputeAngle(const MeasureReference& reference, const std::vector<Dimension>& dims,
                           const AngleRecord& angle) {
    ComputedAngle result;
    const std::vector<QPointF> points = {ToPointF(angle.arm1), ToPointF(angle.vertex),
                                         ToPointF(angle.arm2)};
    if (points[0] == points[1] || points[2] == points[1])
        return result; // an arm of no length: no angle
    const std::optional<ReferenceMapping> mapping = ReferenceMapping::Of(reference, dims);
    if (!mapping || !mapping->IsPlane()) {
        result.state = ComputedAngle::State::Value;
        result.basis = MeasureBasis::Picture;
        result.degrees = AngleDegrees(points);
        return result;
    }
    result.basis = MeasureBasis::Plane;
    const std::optional<MeasuredValue> measured = mapping->Measured(points, AngleDegrees);
    if (!measured) {
        result.state = ComputedAngle::State::BeyondHorizon;
        return result;
    }
    result.state = ComputedAngle::State::Value;
    result.degrees = measured->value;
    result.uncertainty = measured->uncertainty;
    return result;
}
