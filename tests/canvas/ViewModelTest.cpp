#include "canvas/ViewModel.h"
#include "canvas/CanvasTypes.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>
#include <vector>

using namespace viewmodel;

TEST(ViewModelZoom, StepsUpStopAtTwo) {
    EXPECT_EQ(ZoomAfter(ZoomIn, 1.0f), 2.0f);
    EXPECT_EQ(ZoomAfter(ZoomIn, 2.0f), 2.0f);
    EXPECT_EQ(ZoomAfter(ZoomIn, 3.7f), 3.7f);
}

TEST(ViewModelZoom, StepsDownThroughTheTableThenStop) {
    std::vector<float> seen;
    float zoom = 1.0f;
    for (int i = 0; i < 7; ++i) {
        zoom = ZoomAfter(ZoomOut, zoom);
        seen.push_back(zoom);
    }
    EXPECT_EQ(seen, (std::vector<float>{0.7f, 0.5f, 0.3f, 0.2f, 0.1f, 0.1f, 0.1f}));
}

TEST(ViewModelZoom, FittedZoomStepsToTheNeighbours) {
    EXPECT_EQ(ZoomAfter(ZoomIn, 0.43f), 0.5f);
    EXPECT_EQ(ZoomAfter(ZoomOut, 0.43f), 0.3f);
    EXPECT_EQ(ZoomAfter(ZoomOut, 5.0f), 2.0f);
    EXPECT_EQ(ZoomAfter(ZoomOut, 0.05f), 0.05f);
    EXPECT_EQ(ZoomAfter(ZoomActual, 0.43f), 1.0f);
    EXPECT_EQ(ZoomAfter(ZoomFit, 1.0f), -1.0f);
    EXPECT_EQ(ZoomAfter(99, 0.43f), 0.43f);
}

struct LayoutCase {
    const char* name;
    SIZE photo;
    SIZE client;
    float zoom;
    bool fit;
    RECT srcBefore;
    float zoomAfter;
    RECT dst;
    RECT src;
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.name;
}

class ViewModelLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ViewModelLayout, GivesTheRectangles) {
    const LayoutCase& c = GetParam();
    float zoom = c.zoom;
    RECT src = c.srcBefore;
    RECT dst;
    UpdateLayout(c.client, c.photo, c.fit, zoom, src, dst);
    EXPECT_EQ(zoom, c.zoomAfter);
    EXPECT_EQ(dst, c.dst);
    EXPECT_EQ(src, c.src);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ViewModelLayout,
    ::testing::Values(LayoutCase{"SmallPhotoCentred",
                                 {400, 300},
                                 {600, 500},
                                 1.0f,
                                 false,
                                 {},
                                 1.0f,
                                 {100, 100, 500, 400},
                                 {0, 0, 400, 300}},
                      LayoutCase{"WidePhotoAtOne",
                                 {2000, 1000},
                                 {500, 500},
                                 1.0f,
                                 false,
                                 {},
                                 1.0f,
                                 {0, 0, 500, 500},
                                 {0, 0, 500, 500}},
                      LayoutCase{"WidePhotoFitted",
                                 {2000, 1000},
                                 {500, 500},
                                 1.0f,
                                 true,
                                 {0, 0, 500, 500},
                                 0.25f,
                                 {0, 125, 500, 375},
                                 {0, 0, 2000, 1000}},
                      // 0.7 is held as 0.699999988: 699 x 559, not 700 x 560.
                      LayoutCase{"ZoomSevenTruncates",
                                 {1000, 800},
                                 {2000, 2000},
                                 0.7f,
                                 false,
                                 {},
                                 0.7f,
                                 {650, 720, 1349, 1279},
                                 {0, 0, 1000, 800}},
                      LayoutCase{"SmallPhotoFitsBeyondTwo",
                                 {100, 50},
                                 {500, 500},
                                 1.0f,
                                 true,
                                 {},
                                 5.0f,
                                 {0, 125, 500, 375},
                                 {0, 0, 100, 50}},
                      // 870 / 0.300000012 = 2899.9999: the source is 2899 wide, not 2900.
                      LayoutCase{"SourceSizeTruncates",
                                 {4000, 3000},
                                 {870, 756},
                                 0.3f,
                                 false,
                                 {},
                                 0.3f,
                                 {0, 0, 870, 756},
                                 {0, 0, 2899, 2519}},
                      LayoutCase{"ZoomInKeepsTheCentre",
                                 {2000, 1000},
                                 {500, 500},
                                 2.0f,
                                 false,
                                 {750, 250, 1250, 750},
                                 2.0f,
                                 {0, 0, 500, 500},
                                 {875, 375, 1125, 625}},
                      LayoutCase{"ZoomOutNearAnEdgeClamps",
                                 {2000, 1000},
                                 {500, 500},
                                 0.5f,
                                 false,
                                 {1500, 500, 2000, 1000},
                                 0.5f,
                                 {0, 0, 500, 500},
                                 {1000, 0, 2000, 1000}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ClampCase {
    RECT before;
    RECT after;
};

class ViewModelClamp : public ::testing::TestWithParam<ClampCase> {};

TEST_P(ViewModelClamp, MovesTheSourceBackInside) {
    RECT src = GetParam().before;
    ClampSourceRect(src, SIZE{1000, 800});
    EXPECT_EQ(src, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Corners, ViewModelClamp,
                         ::testing::Values(ClampCase{{-10, -20, 190, 80}, {0, 0, 200, 100}},
                                           ClampCase{{900, 750, 1100, 850}, {800, 700, 1000, 800}},
                                           ClampCase{{-5, 750, 195, 850}, {0, 700, 200, 800}},
                                           ClampCase{{850, -1, 1050, 99}, {800, 0, 1000, 100}},
                                           ClampCase{{10, 20, 210, 120}, {10, 20, 210, 120}},
                                           ClampCase{{0, 0, 1000, 800}, {0, 0, 1000, 800}}));

struct CentreCase {
    POINT p;
    RECT after;
};

class ViewModelCentre : public ::testing::TestWithParam<CentreCase> {};

TEST_P(ViewModelCentre, PutsThePointInTheMiddleAsFarAsTheEdgesAllow) {
    RECT src{0, 0, 200, 100};
    CentreOn(src, GetParam().p, SIZE{1000, 800});
    EXPECT_EQ(src, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Points, ViewModelCentre,
                         ::testing::Values(CentreCase{{500, 400}, {400, 350, 600, 450}},
                                           CentreCase{{995, 798}, {800, 700, 1000, 800}},
                                           CentreCase{{3, 790}, {0, 700, 200, 800}},
                                           CentreCase{{-50, -50}, {0, 0, 200, 100}}));

struct PanCase {
    float zoom;
    int steps;    // mouse messages
    int stepSize; // view pixels each, to the right and down
    int expected; // photo pixels the view moves up-left
};

class ViewModelPan : public ::testing::TestWithParam<PanCase> {};

TEST_P(ViewModelPan, SlowAndFastDragsScrollAlike) {
    const PanCase& c = GetParam();
    RECT src{300, 300, 500, 500};
    POINT last{100, 100};
    double remainder[2] = {0, 0};
    for (int i = 1; i <= c.steps; ++i)
        PanBy(src, last, POINT{100 + i * c.stepSize, 100 + i * c.stepSize}, c.zoom, SIZE{1000, 800},
              remainder);
    EXPECT_EQ(src, (RECT{300 - c.expected, 300 - c.expected, 500 - c.expected, 500 - c.expected}));
    EXPECT_EQ(last, (POINT{100 + c.steps * c.stepSize, 100 + c.steps * c.stepSize}));
}

INSTANTIATE_TEST_SUITE_P(Drags, ViewModelPan,
                         ::testing::Values(PanCase{2.0f, 1, 10, 5}, PanCase{2.0f, 10, 1, 5},
                                           PanCase{2.0f, 3, 1, 1}, PanCase{1.0f, 10, 1, 10},
                                           PanCase{0.5f, 10, 1, 20}, PanCase{0.7f, 7, 1, 10},
                                           PanCase{0.7f, 1, 7, 10}));

TEST(ViewModelPanEdge, StopsAtThePhotoEdge) {
    RECT src{5, 5, 205, 105};
    POINT last{0, 0};
    double remainder[2] = {0, 0};
    PanBy(src, last, POINT{50, 50}, 1.0f, SIZE{1000, 800}, remainder);
    EXPECT_EQ(src, (RECT{0, 0, 200, 100}));
    PanBy(src, last, POINT{-2000, -2000}, 1.0f, SIZE{1000, 800}, remainder);
    EXPECT_EQ(src, (RECT{800, 700, 1000, 800}));
}

TEST(ViewModelLayoutEmptyClient, KeepsZoomAndSourceInsteadOfFittingToZero) {
    float zoom = 0.5f;
    RECT src{10, 10, 510, 410};
    RECT dst{0, 0, 250, 200};
    UpdateLayout(SIZE{0, 0}, SIZE{2000, 1000}, true, zoom, src, dst);
    EXPECT_EQ(zoom, 0.5f);
    EXPECT_EQ(src, (RECT{10, 10, 510, 410}));
    EXPECT_EQ(dst, RECT{});
}
