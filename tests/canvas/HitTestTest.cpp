#include "canvas/HitTest.h"
#include "RenderTestSupport.h"
#include "canvas/AnnotationRenderer.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

TEST(HitTestTolerance, FloatZoomValues) {
    EXPECT_EQ(LineTolerance(2.0f), 2);
    EXPECT_EQ(LineTolerance(1.0f), 4);
    EXPECT_EQ(LineTolerance(0.7f), 5);
    EXPECT_EQ(LineTolerance(0.5f), 8);
    EXPECT_EQ(LineTolerance(0.3f), 13);
    EXPECT_EQ(LineTolerance(0.2f), 19);
    EXPECT_EQ(LineTolerance(0.1f), 39);
    EXPECT_EQ(LineTolerance(0.0f), 0);
}

struct DimCase {
    POINT a, b;
    const char* value;
    POINT click;
    float zoom;
    bool hit;
};
class HitTestDimensionCases : public ::testing::TestWithParam<DimCase> {};

TEST_P(HitTestDimensionCases, Decides) {
    const DimCase c = GetParam();
    TextMeasurer m;
    EXPECT_EQ(HitTestDimension(MakeDimension(c.a, c.b, c.value), c.click, c.zoom, m), c.hit)
        << "click " << c.click.x << "," << c.click.y;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HitTestDimensionCases,
    ::testing::Values(
        // Below a horizontal line (the label lies above): 3 hits, 4 misses at zoom 1.
        DimCase{{100, 100}, {300, 100}, "12", {200, 103}, 1.0f, true},
        DimCase{{100, 100}, {300, 100}, "12", {200, 104}, 1.0f, false},
        DimCase{{100, 100}, {300, 100}, "12", {200, 107}, 0.5f, true},
        DimCase{{100, 100}, {300, 100}, "12", {200, 108}, 0.5f, false},
        DimCase{{100, 100}, {300, 100}, "12", {100, 100}, 1.0f, true},
        // On the extension beyond either end: nothing.
        DimCase{{100, 100}, {300, 100}, "12", {310, 100}, 1.0f, false},
        DimCase{{100, 100}, {300, 100}, "12", {99, 100}, 1.0f, false},
        // A label wider than its short line: hit only where the foot is on the line.
        DimCase{{100, 100}, {104, 100}, "123456789", {102, 95}, 1.0f, true},
        DimCase{{100, 100}, {104, 100}, "123456789", {120, 95}, 1.0f, false},
        // Long diagonal on a large photo, along its whole length.
        DimCase{{0, 0}, {3000, 2000}, "", {3, 2}, 1.0f, true},
        DimCase{{0, 0}, {3000, 2000}, "", {1500, 1000}, 1.0f, true},
        DimCase{{0, 0}, {3000, 2000}, "", {1201, 798}, 1.0f, true},
        DimCase{{0, 0}, {3000, 2000}, "", {2997, 1998}, 1.0f, true},
        DimCase{{0, 0}, {3000, 2000}, "", {1500, 1010}, 1.0f, false},
        // Degenerate: only its own pixel row, within the tolerance; never the label.
        DimCase{{50, 50}, {50, 50}, "123", {50, 50}, 1.0f, true},
        DimCase{{50, 50}, {50, 50}, "123", {53, 50}, 1.0f, true},
        DimCase{{50, 50}, {50, 50}, "123", {54, 50}, 1.0f, false},
        DimCase{{50, 50}, {50, 50}, "123", {50, 51}, 1.0f, false},
        DimCase{{50, 50}, {50, 50}, "123", {50, 45}, 1.0f, false},
        // Vertical, pointing up: the label reads upwards on the line's left side.
        DimCase{{100, 200}, {100, 100}, "1234", {95, 150}, 1.0f, true},
        DimCase{{100, 200}, {100, 100}, "1234", {105, 150}, 1.0f, false},
        // Coordinates near the int32 limits neither overflow nor hit falsely.
        DimCase{{-2147483000, 0}, {2147483000, 1}, "", {0, 0}, 1.0f, true},
        DimCase{{-2147483000, 0}, {2147483000, 1}, "", {2147483600, 1}, 1.0f, false}));

TEST(HitTestDimension, LabelBoxAboveTheMidpoint) {
    TextMeasurer m;
    const Dimension d = MakeDimension({100, 100}, {300, 100}, "1234");
    const SIZE ext = m.Extent(d.font, cp950::FieldBytes(d.value));
    ASSERT_GT(ext.cx, 8);
    EXPECT_TRUE(HitTestDimension(d, {200 - ext.cx / 2, 100 - ext.cy}, 1.0f, m));
    EXPECT_TRUE(HitTestDimension(d, {200 + ext.cx / 2 - 1, 95}, 1.0f, m));
    EXPECT_FALSE(HitTestDimension(d, {200 + ext.cx / 2, 95}, 1.0f, m));
    EXPECT_FALSE(HitTestDimension(d, {200, 100 - ext.cy - 1}, 1.0f, m));
    // The same label without a value is nothing to click.
    EXPECT_FALSE(HitTestDimension(MakeDimension({100, 100}, {300, 100}, ""), {200, 92}, 1.0f, m));
}

// The outer extent of the drawn note minus the outline's outer pixel: the fill box.
QRect DrawnBox(const InfoNote& n) {
    QImage img = WhiteImage(600, 300);
    {
        AnnotationRenderer r;
        QPainter p(&img);
        r.DrawInfoNote(p, n, false, nullptr);
    }
    QRect ink;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (At(img, x, y) != kWhitePx)
                ink = ink.united(QRect(x, y, 1, 1));
    return ink.adjusted(1, 1, 0, 0); // [l, r] × [t, b] inclusive = [l, r+1) × [t, b+1)
}

TEST(HitTestNote, BoxAgreesWithTheDrawnBoxWhenSpacesBreakLines) {
    const InfoNote n =
        MakeNote({40, 30}, "The window on the north wall is two metres wide and low");
    TextMeasurer m;
    const NoteBox box = NoteHitBox(n, m);
    ASSERT_GT(m.LayoutNote(n.font, cp950::FieldBytes(n.text)).lines.size(), 2u);
    const QRect drawn = DrawnBox(n);
    // Drawn outline covers [l-1, r+1); the clickable box is [l, r).
    EXPECT_EQ(box.left, drawn.left());
    EXPECT_EQ(box.top, drawn.top());
    EXPECT_EQ(box.right, drawn.right());
    EXPECT_EQ(box.bottom, drawn.bottom());
    EXPECT_TRUE(HitTestNote(n, {int32_t(box.right - 1), int32_t(box.bottom - 1)}, m));
    EXPECT_TRUE(HitTestNote(n, {40, 30}, m));
    EXPECT_FALSE(HitTestNote(n, {int32_t(box.right), 35}, m));
    EXPECT_FALSE(HitTestNote(n, {45, int32_t(box.bottom)}, m));
    EXPECT_FALSE(HitTestNote(n, {39, 35}, m));
}

TEST(HitTestNote, EmptyTextIsTenByLineHeightPlusTen) {
    TextMeasurer m;
    const InfoNote n = MakeNote({5, 6}, "");
    const NoteBox box = NoteHitBox(n, m);
    const int lh = m.Font(n.font).height;
    EXPECT_EQ(box.right - box.left, 10);
    EXPECT_EQ(box.bottom - box.top, lh + 10);
}

TEST(HitTestNote, SixCjkCharactersMakeTwoLines) {
    TextMeasurer m;
    const InfoNote n = MakeNote({0, 0}, "一二三四五六");
    const NoteBox box = NoteHitBox(n, m);
    const auto& layout = m.LayoutNote(n.font, cp950::FieldBytes(n.text));
    ASSERT_EQ(layout.lines.size(), 2u);
    EXPECT_EQ(layout.widest, layout.wrapWidth);
    EXPECT_EQ(box.bottom, 2 * layout.lineHeight + 10);
    EXPECT_TRUE(HitTestNote(n, {3, int32_t(box.bottom - 1)}, m));
    EXPECT_FALSE(HitTestNote(n, {3, int32_t(box.bottom)}, m));
    // Two letters, a line break and two more letters: also two lines.
    const InfoNote crlf = MakeNote({0, 0}, "ab\r\ncd");
    EXPECT_EQ(NoteHitBox(crlf, m).bottom, 2 * layout.lineHeight + 10);
}

TEST(HitTestNote, SharedMeasurerAndAnchorNearTheLimit) {
    const InfoNote n = MakeNote({2147483600, 2147483600}, "far away");
    EXPECT_TRUE(HitTestNote(n, {2147483610, 2147483610}));
    EXPECT_FALSE(HitTestNote(n, {0, 0}));
}

} // namespace
