#include "RenderTestSupport.h"
#include "canvas/AnnotationRenderer.h"
#include "canvas/RenderGeometry.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

QImage Draw(const Dimension& d, bool selected, const ViewMapping* view = nullptr) {
    QImage img = WhiteImage();
    AnnotationRenderer renderer;
    QPainter p(&img);
    renderer.DrawDimension(p, d, selected, view);
    return img;
}

TEST(RenderDimension, LineAndArrowheadsInTheColour) {
    const QImage img = Draw(MakeDimension({100, 150}, {300, 150}, "123"), false);
    for (int x : {100, 120, 140, 260, 280, 300})
        EXPECT_EQ(At(img, x, 150), kBluePx) << "x " << x;
    // Inside both arrowheads, off the line.
    EXPECT_EQ(At(img, 107, 151), kBluePx);
    EXPECT_EQ(At(img, 107, 149), kBluePx);
    EXPECT_EQ(At(img, 293, 151), kBluePx);
    EXPECT_EQ(At(img, 293, 149), kBluePx);
    // Beyond the arrowheads' width and beyond the ends: untouched.
    EXPECT_EQ(At(img, 107, 156), kWhitePx);
    EXPECT_EQ(At(img, 98, 150), kWhitePx);
    EXPECT_EQ(At(img, 302, 150), kWhitePx);
}

TEST(RenderDimension, LabelAboveTheLineWithAYellowHalo) {
    const QImage img = Draw(MakeDimension({100, 150}, {300, 150}, "123"), false);
    const QRect above(150, 125, 100, 24);
    EXPECT_GT(CountColour(img, kYellowPx, above), 10);
    EXPECT_GT(CountColour(img, kBluePx, above), 10);
    // Nothing of the label below the line, and only the line's colour is used.
    EXPECT_EQ(CountColour(img, kYellowPx, QRect(100, 151, 200, 40)), 0);
    EXPECT_EQ(CountColour(img, kWhitePx) + CountColour(img, kYellowPx) + CountColour(img, kBluePx),
              img.width() * img.height());
}

TEST(RenderDimension, SelectionEllipseHasAYellowRimAndTheColourInside) {
    const Dimension d = MakeDimension({100, 150}, {300, 150}, "123");
    AnnotationRenderer renderer;
    const SIZE ext = renderer.Measurer().Extent(d.font, cp950::FieldBytes(d.value));
    const LabelPlacement lp =
        DimensionLabelPlacement(d.start, d.end, LineAngle(d.start, d.end), ext.cx, ext.cy);
    const int my = (lp.ellipse.top + lp.ellipse.bottom) / 2;

    const QImage plain = Draw(d, false);
    const QImage sel = Draw(d, true);
    EXPECT_EQ(At(sel, lp.ellipse.left, my), kYellowPx);
    EXPECT_EQ(At(sel, lp.ellipse.right, my), kYellowPx);
    EXPECT_EQ(At(sel, lp.ellipse.left + 2, my), kBluePx);
    EXPECT_EQ(At(plain, lp.ellipse.left + 2, my), kWhitePx);
    EXPECT_EQ(At(sel, (lp.ellipse.left + lp.ellipse.right) / 2, lp.ellipse.top), kYellowPx);
    // The text stays readable on top: its halo is drawn over the fill.
    EXPECT_GT(CountColour(sel, kYellowPx, QRect(lp.origin.x, lp.origin.y, ext.cx, ext.cy)), 10);
}

TEST(RenderDimension, EmptyValueDrawsLineAndEllipseOnly) {
    const QImage img = Draw(MakeDimension({100, 150}, {300, 150}, ""), true);
    EXPECT_EQ(At(img, 200, 150), kBluePx);
    EXPECT_GT(CountColour(img, kYellowPx), 20); // the rim
}

TEST(RenderDimension, ViewMappingPlacesAndScales) {
    ViewMapping view;
    view.zoom = 0.5f;
    view.src = RECT{0, 0, 800, 600};
    view.dst = RECT{10, 20, 410, 320};
    const QImage img = Draw(MakeDimension({100, 200}, {500, 200}, "7"), false, &view);
    // (100, 200) maps to (60, 120); (500, 200) to (260, 120).
    EXPECT_EQ(At(img, 60, 120), kBluePx);
    EXPECT_EQ(At(img, 260, 120), kBluePx);
    EXPECT_EQ(At(img, 65, 121), kBluePx);  // five-pixel arrowhead
    EXPECT_EQ(At(img, 67, 121), kWhitePx); // no ten-pixel one
}

TEST(RenderDimension, VerticalLabelIsTurnedToReadUpwards) {
    const QImage img = Draw(MakeDimension({200, 250}, {200, 50}, "8888"), false);
    // The label stands left of the line and is taller than wide.
    const QRect left(170, 100, 30, 100);
    EXPECT_GT(CountColour(img, kBluePx, left), 10);
    EXPECT_EQ(CountColour(img, kYellowPx, QRect(201, 0, 199, 300)), 0);
    int top = 300, bottom = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 170; x < 200; ++x)
            if (At(img, x, y) == kYellowPx) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_GT(bottom - top, 20);
}

TEST(RenderDimension, TinyZoomKeepsATinyLabel) {
    ViewMapping view;
    view.zoom = 0.05f;
    view.src = RECT{0, 0, 8000, 6000};
    view.dst = RECT{0, 0, 400, 300};
    const QImage img = Draw(MakeDimension({1000, 2000}, {5000, 2000}, "123456789"), false, &view);
    // The label is a pixel high, not the default 13 pixels.
    EXPECT_EQ(CountColour(img, kYellowPx, QRect(0, 0, 400, 90)), 0);
    EXPECT_EQ(CountColour(img, kYellowPx, QRect(0, 101, 400, 199)), 0);
}

TEST(RenderDimension, PainterStateIsRestored) {
    QImage img = WhiteImage();
    QPainter p(&img);
    p.setPen(QPen(Qt::green, 3));
    p.setBrush(Qt::cyan);
    p.setRenderHint(QPainter::Antialiasing, true);
    AnnotationRenderer renderer;
    renderer.DrawDimension(p, MakeDimension({10, 10}, {200, 80}, "55"), true, nullptr);
    EXPECT_EQ(p.pen().color(), QColor(Qt::green));
    EXPECT_EQ(p.pen().width(), 3);
    EXPECT_EQ(p.brush().color(), QColor(Qt::cyan));
    EXPECT_TRUE(p.renderHints() & QPainter::Antialiasing);
    EXPECT_TRUE(p.worldTransform().isIdentity());
}

} // namespace
