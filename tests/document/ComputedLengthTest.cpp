// The reference geometry: the rectangle-to-photo map, the ordering and
// checks of four clicked corners, the horizon, the reference-length scale;
// and the uncertainty of lengths read through a reference plane covering
// their error on views of known geometry (the statistics over many views
// are bench/bench_reference's table).

#include "document/ComputedLength.h"
#include "common/RecordBuilders.h"
#include "document/PlaneHomography.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <tuple>
#include <vector>

namespace {

// A door 800 x 2000 mm seen obliquely: the right side further away.
const Quad kDoor = {QPointF(1000, 500), QPointF(1600, 650), QPointF(1600, 2350),
                    QPointF(1000, 2500)};

// The corners map onto the clicked corners and the centre onto the crossing
// of the photographed diagonals (x = 49000/37 = 1324.3: the far half looks
// narrower), not onto the average of the corners; and back. The top and
// bottom sides converge to the right and meet at x = 5000: beyond that
// horizon a point has no place on the plane. The same whatever order the
// corners come in (as stored in a file someone edited): never a folded plane.
TEST(PlaneHomography, MapsTheRectangleOntoTheClickedDoorAndBackUpToTheHorizon) {
    std::array<int, 4> order = {0, 1, 2, 3};
    do {
        SCOPED_TRACE(::testing::Message() << order[0] << order[1] << order[2] << order[3]);
        const Quad stored = {kDoor[order[0]], kDoor[order[1]], kDoor[order[2]], kDoor[order[3]]};
        const auto h = PlaneHomography::FromRectangle(stored, 800, 2000);
        ASSERT_TRUE(h);
        const std::pair<QPointF, QPointF> points[] = {{{0, 0}, kDoor[0]},
                                                      {{800, 0}, kDoor[1]},
                                                      {{800, 2000}, kDoor[2]},
                                                      {{0, 2000}, kDoor[3]},
                                                      {{400, 1000}, {49000.0 / 37, 1500}}};
        for (const auto& [plane, image] : points) {
            SCOPED_TRACE(::testing::Message() << plane.x() << "," << plane.y());
            EXPECT_NEAR(h->ToImage(plane).x(), image.x(), 1e-6);
            EXPECT_NEAR(h->ToImage(plane).y(), image.y(), 1e-6);
            const auto back = h->ToPlane(image);
            ASSERT_TRUE(back);
            EXPECT_NEAR(back->x(), plane.x(), 1e-6);
            EXPECT_NEAR(back->y(), plane.y(), 1e-6);
        }
        EXPECT_TRUE(h->ToPlane(QPointF(4900, 1500)));
        EXPECT_FALSE(h->ToPlane(QPointF(5100, 1500)));
        EXPECT_FALSE(h->ToPlane(QPointF(9000, 1500)));
    } while (std::next_permutation(order.begin(), order.end()));
}

// Corners that make no rectangle seen in perspective, or sizes that are not
// positive, give no plane: a line measured on it gets nothing, not a
// division by zero.
TEST(PlaneHomography, RefusesCornersOfNoRectangleAndSizesThatAreNotPositive) {
    const std::tuple<Quad, double, double> cases[] = {
        {{QPointF(0, 0), QPointF(100, 0), QPointF(200, 0), QPointF(100, 100)}, 800, 2000},
        {{QPointF(0, 0), QPointF(100, 0), QPointF(100, 0), QPointF(0, 100)}, 800, 2000},
        {{QPointF(0, 0), QPointF(100, 0), QPointF(101, 1), QPointF(0, 100)}, 800, 2000},
        {{QPointF(0, 0), QPointF(200, 0), QPointF(100, 30), QPointF(100, 200)}, 800, 2000},
        {kDoor, 0, 2000},
        {kDoor, 800, -1},
        {kDoor, NAN, 2000}};
    for (const auto& [corners, width, height] : cases) {
        SCOPED_TRACE(::testing::Message() << corners[2].x() << " " << width << "x" << height);
        EXPECT_EQ(PlaneCornersProblem(corners).isEmpty(), corners == kDoor);
        EXPECT_FALSE(PlaneHomography::FromRectangle(corners, width, height));
        EXPECT_FALSE(
            PlaneLength(corners, width, height, QPointF(10, 10), QPointF(50, 90)).HasValue());
    }
}

// The width runs along the sides closer to horizontal.
TEST(OrderCorners, PutsTheWidthAlongTheSidesCloserToHorizontal) {
    const std::pair<Quad, Quad> cases[] = {
        // A wide window: the long sides run across.
        {{QPointF(900, 600), QPointF(100, 100), QPointF(100, 600), QPointF(900, 100)},
         {QPointF(100, 100), QPointF(900, 100), QPointF(900, 600), QPointF(100, 600)}},
        // A floor tile seen from above at 30 degrees: a diamond-ish shape whose
        // sides a-b and c-d run at 30 degrees, the others at 60.
        {{QPointF(0, 0), QPointF(86.6, 50), QPointF(36.6, 136.6), QPointF(-50, 86.6)},
         {QPointF(0, 0), QPointF(86.6, 50), QPointF(36.6, 136.6), QPointF(-50, 86.6)}},
        // The same tile turned to 60 degrees: the width is now the other pair.
        {{QPointF(0, 0), QPointF(50, 86.6), QPointF(-36.6, 136.6), QPointF(-86.6, 50)},
         {QPointF(-86.6, 50), QPointF(0, 0), QPointF(50, 86.6), QPointF(-36.6, 136.6)}}};
    for (const auto& [clicked, ordered] : cases)
        EXPECT_EQ(OrderCorners(clicked), ordered) << clicked[1].x();
}

TEST(ScaledLength, IsPixelLengthTimesTheReferenceScale) {
    // A 1000 mm reference of 400 px; a line of 3-4-5 * 60 = 300 px.
    const ComputedLength c =
        ScaledLength(QPointF(0, 0), QPointF(400, 0), 1000, QPointF(10, 10), QPointF(190, 250));
    ASSERT_TRUE(c.HasValue());
    EXPECT_NEAR(c.length, 750, 1e-9);
    // Each of the 8 clicked coordinates may be off by 1 px: the line's own
    // ends move it by 2.5 mm/px along its direction, the reference's ends
    // change the scale by 750/400 per px; in quadrature:
    // sqrt(2 * 2.5^2 + 2 * (750/400)^2) = 4.419...
    EXPECT_NEAR(c.uncertainty, 4.419, 0.002);
    EXPECT_EQ(c.Text(), QStringLiteral("≈750 ±5"));
    // A reference of zero pixels gives nothing.
    const ComputedLength none =
        ScaledLength(QPointF(7, 7), QPointF(7, 7), 1000, QPointF(10, 10), QPointF(190, 250));
    EXPECT_FALSE(none.HasValue());
    EXPECT_EQ(none.Text(), QString());
    // A reference of 9999999999 mm over one pixel: far beyond what a label
    // shows, and no overflowed figure either.
    EXPECT_EQ(
        ScaledLength(QPointF(0, 0), QPointF(1, 0), 9999999999.0, QPointF(0, 0), QPointF(2000, 0))
            .Text(),
        QStringLiteral("≈?"));
}

TEST(ComputedLength, ShowsWholeMillimetresOrAQuestionMark) {
    const std::tuple<double, double, const char*> cases[] = {{1500.9, 24.1, "≈1501 ±25"},
                                                             {999999999.4, 3, "≈999999999 ±3"},
                                                             {1e9, 1, "≈?"},
                                                             {NAN, 1, "≈?"},
                                                             {750, 1e19, "≈750 ±?"}};
    for (const auto& [length, uncertainty, text] : cases) {
        ComputedLength c;
        c.state = ComputedLength::State::Value;
        c.length = length;
        c.uncertainty = uncertainty;
        EXPECT_EQ(c.Text(), QString::fromUtf8(text)) << length << " " << uncertainty;
    }
}

TEST(ReferenceValue, OnlyPositiveDecimalNumbersAreLengths) {
    const std::pair<const char*, double> cases[] = {
        // 0: not a length
        {"800", 800}, {"2431.5", 2431.5}, {"", 0},    {"0", 0},  {"-5", 0},
        {"客廳", 0},  {"inf", 0},         {"1e3", 0}, {" 5", 0}, {"12mm", 0}};
    for (const auto& [value, mm] : cases) {
        const Dimension d = MakeDimension({0, 0}, {100, 0}, QString::fromUtf8(value));
        EXPECT_EQ(NumericValueMm(d).value_or(0), mm) << value;
        EXPECT_EQ(ReferenceProblem(d).isEmpty(), mm != 0) << value;
    }
}

TEST(ComputeLength, TypedValuesWinAndThePlaneTakesPrecedence) {
    std::vector<Dimension> dims = {MakeDimension({0, 0}, {400, 0}, "1000"),
                                   MakeDimension({0, 100}, {200, 100}),
                                   MakeDimension({0, 200}, {100, 200}, "77")};
    MeasureReference ref;
    EXPECT_FALSE(ComputeLength(ref, dims, 1).HasValue()); // no reference yet
    ref.dimension = 0;
    EXPECT_NEAR(ComputeLength(ref, dims, 1).length, 500, 1e-9);
    EXPECT_FALSE(ComputeLength(ref, dims, 2).HasValue()); // typed value wins
    // A square plane of 100 x 100 px that is 50 mm a side: 4x smaller scale.
    ref.hasPlane = true;
    ref.plane = ReferencePlane{{{0, 0}, {100, 0}, {100, 100}, {0, 100}}, 50, 50};
    EXPECT_NEAR(ComputeLength(ref, dims, 1).length, 100, 1e-6);
    // Two corners swapped in the file: the same plane, not a folded one.
    std::swap(ref.plane.corners[1], ref.plane.corners[2]);
    EXPECT_NEAR(ComputeLength(ref, dims, 1).length, 100, 1e-6);
    // The reference's value changed to text: it no longer counts.
    ref.hasPlane = false;
    std::strcpy(dims[0].value, "door");
    EXPECT_FALSE(ComputeLength(ref, dims, 1).HasValue());
    EXPECT_EQ(UsableReferenceDimension(ref, dims), -1);
    // An end beyond the door's horizon (x = 5000) has no length.
    dims.push_back(MakeDimension({1100, 1500}, {5100, 1500}));
    ref.hasPlane = true;
    ref.plane = ReferencePlane{{{1000, 500}, {1600, 650}, {1600, 2350}, {1000, 2500}}, 800, 2000};
    EXPECT_EQ(ComputeLength(ref, dims, 3).state, ComputedLength::State::BeyondHorizon);
    EXPECT_EQ(ComputeLength(ref, dims, 3).Text(), QStringLiteral("≈?"));
}

// The far edge of the door (2000 mm) clicked a pixel off at both ends: the
// stated uncertainty covers the error and stays of its size. (The
// statistics over many views of known geometry: bench/bench_reference.)
TEST(ReferencePlaneAccuracy, TheStatedUncertaintyCoversTheErrorOfAClickAPixelOff) {
    const Quad door{{{1000, 500}, {1600, 650}, {1600, 2350}, {1000, 2500}}};
    for (const auto& [a, b] : {std::pair{QPointF(1601, 649), QPointF(1599, 2351)},
                               std::pair{QPointF(1000, 501), QPointF(1001, 2499)}}) {
        const ComputedLength c = PlaneLength(door, 800, 2000, a, b);
        ASSERT_TRUE(c.HasValue());
        EXPECT_LE(std::abs(c.length - 2000), c.uncertainty) << c.length;
        EXPECT_GT(c.uncertainty, 0);
        EXPECT_LT(c.uncertainty, 4); // about a pixel at each end and corner: 1.2 mm a pixel
    }
}

} // namespace
