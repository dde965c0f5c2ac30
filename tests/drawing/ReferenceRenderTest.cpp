// Computed lengths, the reference mark and the reference plane as the
// shared drawing path puts them on a picture (the window and --export).

#include "canvas/CanvasTestSupport.h"
#include "drawing/AnnotationRenderer.h"
#include "drawing/RecordDrawing.h"

#include <QPainter>
#include <cstdlib>

namespace {

// Grey photo so both the white and the black parts of the marks show.
QImage Draw(const PhotoInfo& info) {
    QImage img = Solid(600, 400, QColor(128, 128, 128));
    QPainter painter(&img);
    AnnotationRenderer renderer;
    DrawAllDimensions(renderer, painter, info, -1, nullptr);
    return img;
}

PhotoInfo TwoLines() {
    PhotoInfo info;
    info.dimensions = {MakeDimension({50, 100}, {450, 100}, "800"),
                       MakeDimension({50, 300}, {250, 300})};
    return info;
}

// Pixels within `tolerance` of `colour` in every channel (antialiased edges
// are seldom exactly one colour).
int CountNear(const QImage& img, QRgb colour, QRect area, int tolerance = 40) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = img.pixel(x, y);
            n += std::abs(qRed(p) - qRed(colour)) <= tolerance &&
                 std::abs(qGreen(p) - qGreen(colour)) <= tolerance &&
                 std::abs(qBlue(p) - qBlue(colour)) <= tolerance;
        }
    return n;
}

int BlueAbove(const QImage& img, QRect area) {
    return CountColour(img, kBluePx, area);
}

TEST(ReferenceRender, AnEmptyValueShowsItsComputedLengthOnlyUnderAReference) {
    PhotoInfo info = TwoLines();
    // The label sits above the line's midpoint; the line itself is excluded.
    const QRect label(60, 260, 180, 34);
    const int without = BlueAbove(Draw(info), label);
    EXPECT_EQ(without, 0);
    info.reference.dimension = 0;
    const int with = BlueAbove(Draw(info), label);
    EXPECT_GT(with, 40) << "≈400 ±3 in the dimension's colour";
}

TEST(ReferenceRender, TheReferenceLineCarriesAMarkOnLightAndDarkPhotos) {
    PhotoInfo info = TwoLines();
    // A quarter along the line, clear of the value's label in the middle.
    const QRect mid(140, 92, 20, 17);
    const QImage plain = Draw(info);
    info.reference.dimension = 0;
    const QImage marked = Draw(info);
    EXPECT_EQ(CountNear(plain, kWhitePx, mid), 0);
    EXPECT_EQ(CountNear(plain, kBlackPx, mid), 0);
    EXPECT_GT(CountNear(marked, kWhitePx, mid), 3);
    EXPECT_GT(CountNear(marked, kBlackPx, mid), 3);
}

TEST(ReferenceRender, ThePlaneIsADashedOutlineWithAFaintGrid) {
    PhotoInfo info;
    info.reference.hasPlane = true;
    const POINT corners[4] = {{100, 50}, {500, 50}, {500, 350}, {100, 350}};
    for (int i = 0; i < 4; ++i)
        info.reference.plane.corners[i] = corners[i];
    info.reference.plane.width = 1000;
    info.reference.plane.height = 750;
    const QImage img = Draw(info);
    // The left edge: dashes of white over a black band, so both show.
    int light = 0;
    for (int y = 60; y < 340; ++y)
        light += CountNear(img, kWhitePx, QRect(99, y, 3, 1), 60) > 0;
    EXPECT_GT(light, 80);
    EXPECT_LT(light, 250) << "dashed, not solid";
    EXPECT_GT(CountNear(img, kBlackPx, QRect(97, 60, 7, 280), 40), 280);
    // A grid line every 40 px across and 30 px down: faint (neither white
    // nor black), and the photo untouched halfway between two of them.
    const QRgb onGrid = At(img, 140, 215), between = At(img, 160, 215);
    EXPECT_NE(onGrid, 0x808080u);
    EXPECT_NE(onGrid, kWhitePx);
    EXPECT_NE(onGrid, kBlackPx);
    EXPECT_EQ(between, 0x808080u);
}

} // namespace
