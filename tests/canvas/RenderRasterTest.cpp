#include "RenderTestSupport.h"
#include "canvas/AnnotationRenderer.h"
#include "canvas/PixelRaster.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <set>

namespace {

std::set<std::pair<int, int>> Pixels(const QImage& img, QRgb colour) {
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (At(img, x, y) == (colour & 0xFFFFFF))
                out.insert({x, y});
    return out;
}

TEST(RenderRaster, LineSetsOnePixelPerStepWithBothEnds) {
    QImage img = WhiteImage(20, 20);
    QPainter p(&img);
    PixelRaster raster(p);
    ASSERT_TRUE(raster.Available());
    raster.Line({0, 0}, {4, 2}, qRgb(0, 0, 255));
    raster.Line({10, 10}, {10, 13}, qRgb(0, 0, 255));
    raster.Line({15, 15}, {15, 15}, qRgb(0, 0, 255));
    const std::set<std::pair<int, int>> expected{{0, 0},   {1, 1},   {2, 1},   {3, 2},   {4, 2},
                                                 {10, 10}, {10, 11}, {10, 12}, {10, 13}, {15, 15}};
    EXPECT_EQ(Pixels(img, kBluePx), expected);
}

TEST(RenderRaster, FarCoordinatesAreClippedNotWalked) {
    QImage img = WhiteImage(50, 40);
    QPainter p(&img);
    PixelRaster raster(p);
    raster.Line({-2147483647, 5}, {2147483647, 5}, qRgb(0, 0, 255));
    raster.Line({7, -2147483647}, {7, 2147483647}, qRgb(0, 0, 255));
    raster.Line({-2147483647, -2147483647}, {2147483647, 2147483647}, qRgb(0, 0, 255));
    EXPECT_EQ(CountColour(img, kBluePx, QRect(0, 5, 50, 1)), 50);
    EXPECT_EQ(CountColour(img, kBluePx, QRect(7, 0, 1, 40)), 40);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(At(img, i, i), kBluePx);
    const QPoint tri[3] = {{-2147483647, -2147483647}, {2147483647, 0}, {0, 2147483647}};
    raster.Triangle(tri, qRgb(0, 0, 255));
    EXPECT_EQ(CountColour(img, kBluePx), 50 * 40);
}

TEST(RenderRaster, ArrowheadIsFilledWithAllVertices) {
    QImage img = WhiteImage(220, 80);
    QPainter p(&img);
    PixelRaster raster(p);
    const QPoint tri[3] = {{100, 50}, {110, 53}, {110, 48}};
    raster.Triangle(tri, qRgb(0, 0, 255));
    for (const QPoint& q : tri)
        EXPECT_EQ(At(img, q.x(), q.y()), kBluePx);
    EXPECT_EQ(At(img, 105, 50), kBluePx);
    EXPECT_EQ(At(img, 109, 51), kBluePx);
    EXPECT_EQ(At(img, 111, 50), kWhitePx);
    EXPECT_EQ(At(img, 99, 50), kWhitePx);
}

TEST(RenderRaster, TranslationIsFollowedAndClippingFallsBackToThePainter) {
    QImage img = WhiteImage(30, 30);
    QPainter p(&img);
    p.translate(5, 6);
    {
        PixelRaster raster(p);
        ASSERT_TRUE(raster.Available());
        raster.Line({0, 0}, {0, 0}, qRgb(0, 0, 255));
    }
    EXPECT_EQ(At(img, 5, 6), kBluePx);
    p.setClipRect(0, 0, 10, 10);
    EXPECT_FALSE(PixelRaster(p).Available());
    p.setClipping(false);
    p.scale(2, 2);
    EXPECT_FALSE(PixelRaster(p).Available());
}

TEST(RenderRaster, PainterPathDrawsTheSameShapes) {
    // A clip covering everything forces the painter path; the drawing must be
    // the same dimension, give or take a pixel along the slanted line.
    const Dimension d = MakeDimension({30, 40}, {260, 170}, "4.25");
    QImage fast = WhiteImage(), slow = WhiteImage();
    AnnotationRenderer r;
    {
        QPainter p(&fast);
        r.DrawDimension(p, d, false, nullptr);
    }
    {
        QPainter p(&slow);
        p.setClipRect(slow.rect());
        r.DrawDimension(p, d, false, nullptr);
    }
    const int blueFast = CountColour(fast, kBluePx), blueSlow = CountColour(slow, kBluePx);
    EXPECT_NEAR(blueFast, blueSlow, blueFast / 10);
    for (const QPoint& q : {QPoint(30, 40), QPoint(260, 170), QPoint(145, 105)}) {
        EXPECT_EQ(At(fast, q.x(), q.y()), kBluePx);
        EXPECT_EQ(At(slow, q.x(), q.y()), kBluePx);
    }
}

} // namespace
