// The canvas's own arithmetic: zoom steps, the view's layout and clamping,
// the pyramid of reduced copies, the end-point handles, the select tool's
// hit test of a dimension.
#include "canvas/CanvasTestSupport.h"
#include "canvas/EndPointHandles.h"
#include "canvas/HitTest.h"
#include "canvas/PhotoPyramid.h"
#include "canvas/ViewModel.h"
#include "drawing/TextMeasurer.h"

#include <tuple>

namespace {

using namespace viewmodel;

TEST(ViewModelZoom, WalksTheStepTableAndStopsAtItsEnds) {
    // command, zoom before, zoom after; fitted zooms off the table step to
    // their neighbours or stay.
    const float cases[][3] = {{ZoomOut, 1.0f, 0.7f}, {ZoomOut, 0.2f, 0.1f},  {ZoomOut, 0.1f, 0.1f},
                              {ZoomIn, 0.1f, 0.2f},  {ZoomIn, 1.0f, 2.0f},   {ZoomIn, 2.0f, 2.0f},
                              {ZoomIn, 0.43f, 0.5f}, {ZoomOut, 0.43f, 0.3f}, {ZoomIn, 3.7f, 3.7f},
                              {ZoomOut, 5.0f, 2.0f}};
    for (const auto& c : cases)
        EXPECT_EQ(ZoomAfter(int(c[0]), c[1]), c[2]) << "command " << c[0] << " from " << c[1];
}

TEST(ViewModelLayout, GivesZoomAndRectanglesAndClampsTheSource) {
    const struct {
        SIZE photo, client;
        bool fit;
        float zoom, zoomAfter;
        RECT dst, src;
    } cases[] = {
        {{400, 300}, {600, 500}, false, 1.0f, 1.0f, {100, 100, 500, 400}, {0, 0, 400, 300}},
        {{2000, 1000}, {500, 500}, true, 1.0f, 0.25f, {0, 125, 500, 375}, {0, 0, 2000, 1000}},
        // 0.7 is held as 0.699999988: 699 x 559, not 700 x 560.
        {{1000, 800}, {2000, 2000}, false, 0.7f, 0.7f, {650, 720, 1349, 1279}, {0, 0, 1000, 800}},
        // A client area of no width keeps the zoom instead of fitting to zero.
        {{2000, 1000}, {0, 600}, true, 0.5f, 0.5f, {}, {}},
        // 870 / 0.300000012 = 2899.9999: the source is 2899 wide, not 2900.
        {{4000, 3000}, {870, 756}, false, 0.3f, 0.3f, {0, 0, 870, 756}, {0, 0, 2899, 2519}},
    };
    for (auto c : cases) {
        RECT src{}, dst{1, 2, 3, 4};
        UpdateLayout(c.client, c.photo, c.fit, c.zoom, src, dst);
        EXPECT_EQ(std::make_tuple(c.zoom, dst, src), std::make_tuple(c.zoomAfter, c.dst, c.src))
            << c.photo.cx << " in " << c.client.cx;
    }
    RECT src{900, 750, 1100, 850};
    ClampSourceRect(src, SIZE{1000, 800}); // back inside at the far corner
    EXPECT_EQ(src, (RECT{800, 700, 1000, 800}));
}

// Level k is ceil(W / 2^k) x ceil(H / 2^k), halved until neither side is
// over 64 pixels.
TEST(PhotoPyramidTest, LevelsRoundUpUntilTheSmallest) {
    const int cases[][3] = {{64, 64, 1}, {65, 1, 2}, {129, 3, 3}, {257, 257, 4}, {1000, 30, 5}};
    for (const auto& [w, h, levels] : cases) {
        PhotoPyramid pyramid;
        pyramid.SetSource(Solid(w, h, Qt::gray));
        int last = -1;
        pyramid.LevelFor(1e-9, true, &last);
        EXPECT_EQ(last, levels - 1) << w << " x " << h;
        for (int k = 0; k < levels; ++k) {
            int level = -1;
            const QImage image = pyramid.LevelFor(1.0 / (1 << k), true, &level);
            ASSERT_EQ(level, k);
            EXPECT_EQ(image.size(), QSize((w + (1 << k) - 1) >> k, (h + (1 << k) - 1) >> k));
        }
    }
}

TEST(HandleGeometry, ShiftKeepsTheLineHorizontalVerticalOrDiagonal) {
    const struct {
        POINT free, kept;
    } cases[] = {
        {{150, 110}, {150, 100}}, // 11 degrees: horizontal
        {{110, 150}, {100, 150}}, // steep: vertical
        {{140, 130}, {135, 135}}, // 37 degrees: diagonal, projected
        {{160, 36}, {162, 38}},   // -47 degrees: up and right
        {{100, 100}, {100, 100}}, // on the fixed end
    };
    for (const auto& c : cases)
        EXPECT_EQ(handles::ConstrainTo45(POINT{100, 100}, c.free), c.kept)
            << c.free.x << "," << c.free.y;
}

// A dimension is hit strictly inside trunc(4 / zoom) photo pixels of its
// segment (not of the extension beyond its ends) or on its value label above
// the middle, turned with the line.
TEST(HitTestDimension, TheSegmentWithinFourViewPixelsAndTheLabelOnly) {
    const struct {
        float zoom;
        POINT click;
        bool hits;
        const char* value = "";
        POINT a{100, 200}, b{300, 200};
    } cases[] = {{0.5f, {200, 207}, true},
                 {0.5f, {200, 208}, false},
                 {2.0f, {200, 202}, false},
                 {1.0f, {302, 200}, false},
                 {1.0f, {200, 192}, true, "12"},
                 {1.0f, {200, 192}, false},
                 {1.0f, {318, 195}, false, "123456789", {300, 200}, {306, 200}},
                 {1.0f, {95, 200}, true, "1234", {100, 300}, {100, 100}}};
    TextMeasurer measurer;
    for (const auto& c : cases)
        EXPECT_EQ(HitTestDimension(MakeDimension(c.a, c.b, c.value), c.click, c.zoom, measurer),
                  c.hits)
            << c.zoom << " " << c.click.x << "," << c.click.y << " " << c.value;
}

} // namespace
