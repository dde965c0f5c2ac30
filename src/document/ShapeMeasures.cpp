// Areas and angles through the photo's reference (ReferenceMapping): the
// figures and their first-order uncertainty are those of a measure of the
// mapped clicked points. An area's net value is its gross area less the
// union of its openings on the plane. Its uncertainty adds in quadrature
// the part its own corners give the gross area, the part each opening's
// corners give that opening's area, and the part the reference's points
// give the net value as a whole: those move the gross area and the
// openings together, so their errors partly cancel and are counted once.
// (Openings that overlap one another are counted with their whole area's
// share there, which slightly overstates the ±.)

#include "document/ShapeMeasures.h"

#include "document/ComputedLength.h"
#include "document/PolygonGeometry.h"
#include "document/ReferenceMapping.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;

// The openings one area holds have at most this many corners in all; beyond
// that (no real room has them) the area shows no value rather than keep the
// program busy for minutes.
constexpr size_t kMaxOpeningCorners = 1024;

double HalfCross(QPointF a, QPointF b) {
    return (a.x() * b.y() - a.y() * b.x()) / 2;
}
double EdgeLength(QPointF a, QPointF b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}
double Size(double v) {
    return std::abs(v);
}
double Same(double v) {
    return v;
}
constexpr RingMeasure kArea{HalfCross, Size};
constexpr RingMeasure kPerimeter{EdgeLength, Same};

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

// A door's foot is clicked on the wall's lower edge, and may land a pixel
// or two outside it: a corner this close to an area's outline counts as in.
constexpr double kOnEdgePx = 2.0;

// For every area, the index of the area an opening is taken off: the
// smallest (on the photo) non-opening area holding all its corners (on its
// outline within kOnEdgePx counts); -1 for areas that are no opening or lie
// inside none.
std::vector<int> OpeningHolders(const std::vector<AreaRecord>& areas) {
    std::vector<int> holders(areas.size(), -1);
    std::vector<QRectF> bounds;
    for (const AreaRecord& area : areas)
        bounds.push_back(Bounds(PhotoPolygon(area)));
    for (size_t o = 0; o < areas.size(); ++o) {
        if (!areas[o].opening || !Closes(areas[o]))
            continue;
        double smallest = std::numeric_limits<double>::infinity();
        for (size_t a = 0; a < areas.size(); ++a) {
            if (areas[a].opening || !Closes(areas[a]) ||
                !bounds[a]
                     .adjusted(-kOnEdgePx, -kOnEdgePx, kOnEdgePx, kOnEdgePx)
                     .contains(bounds[o]))
                continue;
            const Polygon holder = PhotoPolygon(areas[a]);
            bool holds = true;
            for (const POINT& corner : areas[o].corners)
                holds = holds && (ContainsPoint(holder, ToPointF(corner)) ||
                                  DistanceToOutline(holder, ToPointF(corner)) <= kOnEdgePx);
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
// `fromCorners`: the part of the gross area's uncertainty its corners give.
bool MeasureGross(const ReferenceMapping& mapping, const Polygon& corners, ComputedArea& area,
                  double& fromCorners) {
    const std::optional<MeasuredValue> gross = mapping.MeasuredRing(corners, kArea);
    const std::optional<MeasuredValue> perimeter = mapping.MeasuredRing(corners, kPerimeter);
    if (!gross || !perimeter)
        return false;
    fromCorners = gross->fromPoints;
    area.gross = gross->value;
    area.grossUncertainty = gross->uncertainty;
    area.perimeter = perimeter->value;
    area.perimeterUncertainty = perimeter->uncertainty;
    area.net = area.gross;
    area.netUncertainty = area.grossUncertainty;
    return true;
}

// The net area of `outer` less the union of `openings` (see the top).
bool MeasureNet(const ReferenceMapping& mapping, const Polygon& outer, double grossFromCorners,
                const std::vector<Polygon>& openings, ComputedArea& area) {
    std::vector<QPointF> points = outer;
    std::vector<size_t> sizes;
    double variance = grossFromCorners * grossFromCorners;
    for (const Polygon& opening : openings) {
        points.insert(points.end(), opening.begin(), opening.end());
        sizes.push_back(opening.size());
        const std::optional<MeasuredValue> own = mapping.MeasuredRing(opening, kArea);
        if (!own)
            return false;
        variance += own->fromPoints * own->fromPoints;
    }
    const size_t outerSize = outer.size();
    const auto net = [&](const std::vector<QPointF>& mapped) {
        const Polygon gross(mapped.begin(),
                            mapped.begin() + static_cast<std::ptrdiff_t>(outerSize));
        const std::vector<QPointF> rest(mapped.begin() + static_cast<std::ptrdiff_t>(outerSize),
                                        mapped.end());
        return std::abs(SignedArea(gross)) - UnionArea(Split(rest, sizes));
    };
    const std::optional<MeasuredValue> measured = mapping.MeasuredByReference(points, net);
    if (!measured)
        return false;
    area.net = measured->value;
    area.netUncertainty = std::sqrt(variance + measured->uncertainty * measured->uncertainty);
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
    std::vector<std::vector<Polygon>> held(areas.size());
    std::vector<size_t> heldCorners(areas.size());
    for (size_t o = 0; o < areas.size(); ++o)
        if (holders[o] >= 0) {
            held[static_cast<size_t>(holders[o])].push_back(PhotoPolygon(areas[o]));
            heldCorners[static_cast<size_t>(holders[o])] += areas[o].corners.size();
        }
    for (size_t i = 0; i < areas.size(); ++i) {
        if (!Closes(areas[i]) || heldCorners[i] > kMaxOpeningCorners)
            continue;
        ComputedArea& area = result[i];
        area.basis = basis;
        double fromCorners = 0;
        const Polygon corners = PhotoPolygon(areas[i]);
        if (!MeasureGross(*mapping, corners, area, fromCorners) ||
            (!held[i].empty() && !MeasureNet(*mapping, corners, fromCorners, held[i], area))) {
            area = ComputedArea();
            area.state = ComputedArea::State::BeyondHorizon;
            area.basis = basis;
            continue;
        }
        area.state = ComputedArea::State::Value;
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
