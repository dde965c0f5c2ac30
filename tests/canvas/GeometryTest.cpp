#include "canvas/RenderGeometry.h"

#include "common/TestSupport.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(GeometryRounding, HalfUpTruncatesTowardZero) {
    EXPECT_EQ(RoundHalfUp(2.5), 3);
    EXPECT_EQ(RoundHalfUp(-2.5), -2);
    EXPECT_EQ(RoundHalfUp(-10.0), -9);
    EXPECT_EQ(TruncToInt(-2.9), -2);
    EXPECT_EQ(TruncToInt(1e300), INT32_MAX);
    EXPECT_EQ(TruncToInt(-1e300), INT32_MIN);
    EXPECT_EQ(TruncToInt(std::nan("")), 0);
}

TEST(GeometryArrowHeads, HorizontalAtScaleOneRoundsAtStartAndTruncatesAtEnd) {
    const ArrowHeads h = DimensionArrowHeads({100, 50}, {200, 50}, 1.0);
    EXPECT_EQ(h.atStart[0], (POINT{100, 50}));
    EXPECT_EQ(h.atStart[1], (POINT{110, 53}));
    EXPECT_EQ(h.atStart[2], (POINT{110, 48}));
    EXPECT_EQ(h.atEnd[0], (POINT{200, 50}));
    EXPECT_EQ(h.atEnd[1], (POINT{190, 52}));
    EXPECT_EQ(h.atEnd[2], (POINT{190, 48}));
}

TEST(GeometryArrowHeads, HalfZoomMakesThemFivePixelsLong) {
    const ArrowHeads h = DimensionArrowHeads({100, 50}, {200, 50}, 0.5);
    EXPECT_EQ(h.atStart[1], (POINT{105, 51}));
    EXPECT_EQ(h.atStart[2], (POINT{105, 50}));
    EXPECT_EQ(h.atEnd[1], (POINT{195, 51}));
    EXPECT_EQ(h.atEnd[2], (POINT{195, 49}));
}

TEST(GeometryArrowHeads, CoincidentEndsPointOppositeWays) {
    const ArrowHeads h = DimensionArrowHeads({40, 40}, {40, 40}, 1.0);
    EXPECT_EQ(h.atStart[1].x, 50);
    EXPECT_EQ(h.atEnd[1].x, 30);
}

TEST(GeometryLabel, VerticalLineGetsEscapement900) {
    const double a = LineAngle({100, 200}, {100, 100});
    EXPECT_EQ(LabelEscapement(a), 900);
    EXPECT_EQ(LabelEscapement(LineAngle({0, 0}, {10, 0})), 0);
    EXPECT_EQ(LabelEscapement(LineAngle({0, 0}, {10, 10})), -450);
}

struct FontHeightCase {
    int32_t stored;
    double scale;
    int32_t expected;
};
class GeometryFontHeight : public ::testing::TestWithParam<FontHeightCase> {};
TEST_P(GeometryFontHeight, ScalesByTruncationAndKeepsAPixel) {
    EXPECT_EQ(ScaledFontHeight(GetParam().stored, GetParam().scale), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, GeometryFontHeight,
    ::testing::Values(FontHeightCase{-13, 1.0, -13}, FontHeightCase{-13, 0.5, -6},
                      FontHeightCase{-13, 2.0, -26}, FontHeightCase{-13, 0.05, -1}, // would vanish
                      FontHeightCase{20, 0.01, 1}, FontHeightCase{0, 1.0, -13},     // default size
                      FontHeightCase{0, 2.0, -26}, FontHeightCase{INT32_MIN, 4.0, INT32_MIN}));

TEST(GeometryLabel, HorizontalLabelSitsCentredAboveTheLine) {
    const LabelPlacement lp =
        DimensionLabelPlacement({100, 50}, {200, 50}, LineAngle({100, 50}, {200, 50}), 30, 15);
    EXPECT_EQ(lp.mid, (POINT{150, 50}));
    EXPECT_EQ(lp.centre, (POINT{150, 43}));
    EXPECT_EQ(lp.origin, (POINT{135, 35}));
    EXPECT_EQ(lp.ellipse, (RECT{130, 31, 170, 55}));
}

TEST(GeometryLabel, VerticalLabelStandsLeftOfTheLine) {
    const double a = LineAngle({100, 200}, {100, 100});
    const LabelPlacement lp = DimensionLabelPlacement({100, 200}, {100, 100}, a, 30, 15);
    EXPECT_EQ(lp.centre, (POINT{93, 150}));
    EXPECT_EQ(lp.origin, (POINT{85, 165}));
}

TEST(GeometryEllipse, BezierPointsRunOverTheTop) {
    POINT pts[13];
    EllipseBezierPoints(RECT{0, 0, 100, 50}, pts);
    const POINT expected[13] = {{0, 25},   {0, 12},   {23, 0},   {50, 0},  {77, 0},
                                {100, 12}, {100, 25}, {100, 38}, {77, 50}, {50, 50},
                                {23, 50},  {0, 38},   {0, 25}};
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(pts[i], expected[i]) << "point " << i;
}

TEST(GeometryEllipse, OddSizesHalveTowardZero) {
    POINT pts[13];
    EllipseBezierPoints(RECT{-11, -7, 0, 0}, pts);
    EXPECT_EQ(pts[0], (POINT{-11, -3})); // (-7 + 0) / 2 = -3
    EXPECT_EQ(pts[3], (POINT{-5, -7}));  // (-11 + 0) / 2 = -5
    EXPECT_EQ(pts[2], (POINT{-8, -7}));  // ox = T(11 × 0.276) = 3
}

TEST(GeometryRotate, QuarterTurnCounterClockwiseWithHalfUpRounding) {
    POINT pts[2] = {{10, 0}, {0, 10}};
    RotatePoints(std::atan2(1.0, 0.0), POINT{0, 0}, pts, 2);
    // +x turns to screen-up; R(-10) = trunc(-9.5) = -9.
    EXPECT_EQ(pts[0], (POINT{0, -9}));
    EXPECT_EQ(pts[1], (POINT{10, 0}));
}

TEST(GeometryRotate, AboutACentreAndZeroCount) {
    POINT p{110, 50};
    RotatePoints(M_PI, POINT{100, 50}, &p, 1);
    EXPECT_EQ(p, (POINT{90, 50}));
    POINT q{7, 8};
    RotatePoints(1.0, POINT{0, 0}, &q, 0);
    RotatePoints(1.0, POINT{0, 0}, &q, -3);
    EXPECT_EQ(q, (POINT{7, 8}));
}

TEST(GeometryNote, MarginTruncates) {
    EXPECT_EQ(NoteMargin(1.0), 5);
    EXPECT_EQ(NoteMargin(2.0), 10);
    EXPECT_EQ(NoteMargin(0.3f), 1);
    EXPECT_EQ(NoteMargin(0.1f), 0);
}

} // namespace
