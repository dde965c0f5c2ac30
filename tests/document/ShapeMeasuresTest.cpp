// Areas and angles measured through the reference: on a door seen obliquely
// (its plane 800 x 2000 mm), at a reference line's scale, and without a
// reference; the union of overlapping polygons; the label texts and where
// an area's label goes. (The accuracy over many views of known geometry:
// bench/bench_reference.)

#include "document/ShapeMeasures.h"
#include "common/RecordBuilders.h"
#include "document/ComputedLength.h"
#include "document/PlaneHomography.h"
#include "document/PolygonGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A door 800 x 2000 mm seen obliquely: the right side further away; its
// horizon at x = 5000.
const Quad kDoor = {QPointF(1000, 500), QPointF(1600, 650), QPointF(1600, 2350),
                    QPointF(1000, 2500)};

MeasureReference DoorPlane() {
    MeasureReference ref;
    ref.hasPlane = true;
    ref.plane = ReferencePlane{{{1000, 500}, {1600, 650}, {1600, 2350}, {1000, 2500}}, 800, 2000};
    return ref;
}

// A reference dimension of 1000 mm over 400 px (2.5 mm a pixel).
const std::vector<Dimension> kReferenceLine = {MakeDimension({0, 0}, {400, 0}, "1000")};
MeasureReference ReferenceLine() {
    MeasureReference ref;
    ref.dimension = 0;
    return ref;
}

// The corners of a polygon on the door's plane (mm) as clicked on the photo.
AreaRecord OnDoor(const std::vector<QPointF>& plane, bool opening = false) {
    const auto h = PlaneHomography::FromRectangle(kDoor, 800, 2000);
    AreaRecord area;
    for (const QPointF& p : plane) {
        const QPointF image = h->ToImage(p);
        area.corners.push_back({static_cast<int32_t>(std::lround(image.x())),
                                static_cast<int32_t>(std::lround(image.y()))});
    }
    area.opening = opening;
    return area;
}

AreaRecord Rect(double x, double y, double w, double h, bool opening = false) {
    return OnDoor({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}, opening);
}

AreaRecord OnPhoto(std::vector<POINT> corners) {
    AreaRecord area;
    area.corners = std::move(corners);
    return area;
}

// An opening of `n` corners round a circle inside the door.
AreaRecord ManySided(int n) {
    std::vector<QPointF> plane;
    for (int i = 0; i < n; ++i)
        plane.emplace_back(400 + 200 * std::cos(2 * M_PI * i / n),
                           1000 + 200 * std::sin(2 * M_PI * i / n));
    return OnDoor(plane, true);
}

struct AreaRow {
    const char* what;
    MeasureReference reference;
    std::vector<Dimension> dims;
    std::vector<AreaRecord> areas;
    size_t index; // the area checked
    ComputedArea::State state;
    MeasureBasis basis;
    double gross, net, perimeter; // m², m², mm; true values
    int openingCount;
};

// The figures come within a pixel's worth of the true ones (1.3 mm a pixel
// on the door's far side), and the stated ± is of that size.
TEST(ComputeAreas, MeasuresThroughThePlaneOrAtTheScaleAndTakesOpeningsOff) {
    using S = ComputedArea::State;
    using B = MeasureBasis;
    const MeasureReference door = DoorPlane(), line = ReferenceLine(), none;
    const AreaRecord whole = Rect(0, 0, 800, 2000), opening = Rect(100, 100, 200, 300, true);
    // clang-format off
    const AreaRow rows[] = {
        {"a rectangle on the plane", door, {}, {Rect(200, 500, 400, 1000)}, 0,
         S::Value, B::Plane, 0.4, 0.4, 2800, 0},
        {"an L: concave", door, {},
         {OnDoor({{0, 0}, {800, 0}, {800, 400}, {300, 400}, {300, 2000}, {0, 2000}})}, 0,
         S::Value, B::Plane, 0.8, 0.8, 5600, 0},
        {"an opening inside", door, {}, {whole, opening}, 0,
         S::Value, B::Plane, 1.6, 1.54, 5600, 1},
        {"the opening itself", door, {}, {whole, opening}, 1,
         S::Value, B::Plane, 0.06, 0.06, 1000, 0},
        {"two overlapping openings count once", door, {},
         {opening, whole, Rect(200, 200, 200, 300, true)}, 1,
         S::Value, B::Plane, 1.6, 1.5, 5600, 2},
        {"the smallest holder takes the opening", door, {},
         {whole, Rect(50, 50, 500, 500), opening}, 0,
         S::Value, B::Plane, 1.6, 1.6, 5600, 0},
        {"a door on the wall's lower edge, clicked a pixel below it", door, {},
         {whole, Rect(100, 1500, 300, 502, true)}, 0,
         S::Value, B::Plane, 1.6, 1.4494, 5600, 1},
        {"an opening inside nothing is not taken off", door, {},
         {Rect(0, 0, 400, 1000), Rect(300, 900, 200, 300, true)}, 0,
         S::Value, B::Plane, 0.4, 0.4, 2800, 0},
        {"a corner beyond the horizon", door, {},
         {OnPhoto({{1100, 1500}, {5100, 1500}, {1100, 1600}})}, 0,
         S::BeyondHorizon, B::Plane, 0, 0, 0, 0},
        {"reference line only: the scale squared", line, kReferenceLine,
         {OnPhoto({{10, 10}, {210, 10}, {210, 110}, {10, 110}})}, 0,
         S::Value, B::FacingCamera, 0.125, 0.125, 1500, 0},
        {"no reference", none, {}, {Rect(200, 500, 400, 1000)}, 0,
         S::None, B::None, 0, 0, 0, 0},
        {"two corners close nothing", door, {}, {OnPhoto({{1100, 900}, {1300, 900}})}, 0,
         S::None, B::None, 0, 0, 0, 0},
        {"openings of more than 1024 corners in all", door, {},
         {whole, Rect(100, 100, 200, 300, true), ManySided(1021)}, 0,
         S::None, B::None, 0, 0, 0, 0},
    };
    // clang-format on
    for (const AreaRow& row : rows) {
        SCOPED_TRACE(row.what);
        const std::vector<ComputedArea> all = ComputeAreas(row.reference, row.dims, row.areas);
        ASSERT_EQ(all.size(), row.areas.size());
        const ComputedArea& a = all[row.index];
        EXPECT_EQ(a.state, row.state);
        EXPECT_EQ(a.basis, row.basis);
        EXPECT_EQ(a.openingCount, row.openingCount);
        if (!a.HasValue())
            continue;
        EXPECT_NEAR(a.gross / 1e6, row.gross, 0.004 * row.gross);
        EXPECT_NEAR(a.net / 1e6, row.net, 0.004 * row.gross);
        EXPECT_NEAR(a.perimeter, row.perimeter, 0.004 * row.perimeter);
        EXPECT_NEAR(a.openings, a.gross - a.net, 1e-6);
        EXPECT_GT(a.grossUncertainty, 0);
        EXPECT_LT(a.grossUncertainty, 1.5 * a.perimeter); // at most 1.5 mm a pixel here
        EXPECT_GT(a.perimeterUncertainty, 0);
        EXPECT_GE(a.netUncertainty,
                  row.openingCount ? 0.3 * a.grossUncertainty : a.grossUncertainty);
        EXPECT_LE(a.netUncertainty, row.openingCount ? 2 * a.grossUncertainty : a.grossUncertainty);
    }
}

// A reference line of 1000 mm over 400 px (6.25 mm² a square pixel), a
// 200 x 100 px rectangle: a corner moved a pixel sweeps a triangle of half
// the other side, 50 px² across and 100 px² along it (312.5 and 625 mm²);
// a reference end moved a pixel along the line changes the scale, the area
// by 2 x 125000 / 400 = 625 mm². In quadrature:
// sqrt(4 * 312.5^2 + 4 * 625^2 + 2 * 625^2) = 1653.6 mm².
TEST(ComputeAreas, TheScaledAreasUncertaintyAddsCornersAndReferenceInQuadrature) {
    const ComputedArea a = ComputeAreas(ReferenceLine(), kReferenceLine,
                                        {OnPhoto({{10, 10}, {210, 10}, {210, 110}, {10, 110}})})[0];
    EXPECT_NEAR(a.gross, 125000, 1e-6);
    EXPECT_NEAR(a.grossUncertainty, 1653.6, 0.1);
}

// Two corners clicked a pixel off outwards: the stated ± covers the error.
TEST(ComputeAreas, TheStatedUncertaintyCoversTheErrorOfCornersAPixelOff) {
    AreaRecord area = Rect(100, 200, 600, 1500); // 0.9 m²
    area.corners[1].x += 1;
    area.corners[2].y += 1;
    const ComputedArea a = ComputeAreas(DoorPlane(), {}, {area})[0];
    ASSERT_TRUE(a.HasValue());
    EXPECT_GT(std::abs(a.gross - 0.9e6), 1000); // really off
    EXPECT_LE(std::abs(a.gross - 0.9e6), a.grossUncertainty);
}

// A floor corner photographed at a slant: the door's plane as the floor, its
// corner (0,0) with arms along its sides.
TEST(ComputeAngle, ThroughThePlaneOrInThePicture) {
    const auto at = [](QPointF p) {
        return POINT{static_cast<int32_t>(p.x()), static_cast<int32_t>(p.y())};
    };
    const LOGFONTA font = DefaultLogFont();
    const AngleRecord corner{0, at(kDoor[1]), at(kDoor[0]), at(kDoor[3]), font};
    const AngleRecord beyond{0, {1100, 1500}, {1050, 1400}, {5100, 1500}, font};
    const AngleRecord noArm{0, {1100, 1500}, {1100, 1500}, {1300, 1500}, font};
    const struct {
        const char* what;
        MeasureReference reference;
        std::vector<Dimension> dims;
        AngleRecord angle;
        ComputedAngle::State state;
        MeasureBasis basis;
        double degrees;
    } rows[] = {
        {"through the plane",
         DoorPlane(),
         {},
         corner,
         ComputedAngle::State::Value,
         MeasureBasis::Plane,
         90},
        // atan2(600 * 2000, 150 * 2000): the corner looks sharp on the photo.
        {"no plane: the picture's angle",
         MeasureReference(),
         {},
         corner,
         ComputedAngle::State::Value,
         MeasureBasis::Picture,
         75.9638},
        {"a reference line is no plane", ReferenceLine(), kReferenceLine, corner,
         ComputedAngle::State::Value, MeasureBasis::Picture, 75.9638},
        {"an arm beyond the horizon",
         DoorPlane(),
         {},
         beyond,
         ComputedAngle::State::BeyondHorizon,
         MeasureBasis::Plane,
         0},
        {"an arm of no length",
         DoorPlane(),
         {},
         noArm,
         ComputedAngle::State::None,
         MeasureBasis::None,
         0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const ComputedAngle a = ComputeAngle(row.reference, row.dims, row.angle);
        EXPECT_EQ(a.state, row.state);
        EXPECT_EQ(a.basis, row.basis);
        if (!a.HasValue())
            continue;
        EXPECT_NEAR(a.degrees, row.degrees, 1e-3);
        if (row.basis == MeasureBasis::Plane) {
            EXPECT_GT(a.uncertainty, 0.01);
            EXPECT_LT(a.uncertainty, 0.5);
        } else {
            EXPECT_EQ(a.uncertainty, 0);
        }
    }
}

TEST(ShapeTexts, AreaAndAngleLabels) {
    auto area = [](double m2, double sigma, int openings, MeasureBasis basis) {
        ComputedArea a;
        a.state = ComputedArea::State::Value;
        a.basis = basis;
        a.gross = m2 * 1e6 + 1e6;
        a.net = m2 * 1e6;
        a.netUncertainty = sigma * 1e6;
        a.openingCount = openings;
        return a;
    };
    ComputedArea beyond;
    beyond.state = ComputedArea::State::BeyondHorizon;
    const struct {
        ComputedArea area;
        bool ping;
        const char* text;
    } areas[] = {
        {area(12.4, 0.1432, 0, MeasureBasis::Plane), true, "≈12.40 m² (3.75 坪) ±0.15"},
        {area(12.4, 0.1432, 0, MeasureBasis::Plane), false, "≈12.40 m² ±0.15"},
        {area(10.004, 0.15, 2, MeasureBasis::Plane), true, "≈10.00 m² (3.03 坪) ±0.15 扣除開口 2"},
        {area(0.125, 0.0029, 0, MeasureBasis::FacingCamera), false, "≈0.13 m² ±0.01 (正對相機)"},
        {ComputedArea(), true, "≈?"},
        {beyond, true, "≈?"},
        {area(NAN, 0.1, 0, MeasureBasis::Plane), false, "≈?"},
    };
    for (const auto& row : areas)
        EXPECT_EQ(AreaText(row.area, row.ping), QString::fromUtf8(row.text)) << row.text;

    auto angle = [](double degrees, double sigma, MeasureBasis basis) {
        ComputedAngle a;
        a.state = ComputedAngle::State::Value;
        a.basis = basis;
        a.degrees = degrees;
        a.uncertainty = sigma;
        return a;
    };
    const std::pair<ComputedAngle, const char*> angles[] = {
        {angle(90.04, 0.33, MeasureBasis::Plane), "≈90.0° ±0.4"},
        {angle(67.28, 0, MeasureBasis::Picture), "畫面角 67.3°"},
        {ComputedAngle(), "≈?"},
    };
    for (const auto& [a, text] : angles)
        EXPECT_EQ(AngleText(a), QString::fromUtf8(text)) << text;
}

// Identical, nested, disjoint, overlapping, edge-sharing and concave
// polygons, either way round.
TEST(UnionArea, CountsOverlapsOnce) {
    const Polygon square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const Polygon backwards = {{0, 10}, {10, 10}, {10, 0}, {0, 0}};
    const Polygon inner = {{2, 2}, {4, 2}, {4, 4}, {2, 4}};
    const Polygon right = {{10, 0}, {20, 0}, {20, 10}, {10, 10}};
    const Polygon shifted = {{5, 5}, {15, 5}, {15, 15}, {5, 15}};
    const Polygon u = {{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}};
    const Polygon bar = {{5, 15}, {25, 15}, {25, 20}, {5, 20}};
    const std::pair<std::vector<Polygon>, double> rows[] = {
        {{square}, 100},        {{square, backwards}, 100},
        {{square, inner}, 100}, {{inner, right}, 104},
        {{square, right}, 200}, {{square, shifted}, 175},
        {{u, bar}, 700 + 50},   {{}, 0},
    };
    for (const auto& [polygons, area] : rows)
        EXPECT_NEAR(UnionArea(polygons), area, 1e-9) << polygons.size() << " " << area;
}

// Inside a U and an L, away from their edges, where the centroid of the
// corners falls outside the U.
TEST(AreaLabelPoint, LiesInsideConcaveShapes) {
    const std::vector<POINT> u = {{0, 0},   {30, 0},  {30, 300},  {270, 300},
                                  {270, 0}, {300, 0}, {300, 330}, {0, 330}};
    const std::vector<POINT> l = {{0, 0}, {100, 0}, {100, 400}, {400, 400}, {400, 500}, {0, 500}};
    for (const auto& corners : {u, l}) {
        Polygon polygon;
        for (const POINT& p : corners)
            polygon.push_back(ToPointF(p));
        const QPointF at = AreaLabelPoint(corners);
        EXPECT_TRUE(ContainsPoint(polygon, at)) << at.x() << "," << at.y();
        for (size_t i = 0; i < polygon.size(); ++i) {
            const QPointF a = polygon[i], b = polygon[(i + 1) % polygon.size()];
            // Every edge here runs along an axis: its distance is along the other.
            const bool across = a.y() == b.y() && at.x() >= std::min(a.x(), b.x()) &&
                                at.x() <= std::max(a.x(), b.x());
            const bool along = a.x() == b.x() && at.y() >= std::min(a.y(), b.y()) &&
                               at.y() <= std::max(a.y(), b.y());
            if (across) {
                EXPECT_GE(std::abs(at.y() - a.y()), 12) << i;
            }
            if (along) {
                EXPECT_GE(std::abs(at.x() - a.x()), 12) << i;
            }
        }
    }
}

} // namespace
