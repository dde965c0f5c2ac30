#include "RenderTestSupport.h"
#include "canvas/AnnotationRenderer.h"
#include "canvas/RenderGeometry.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

QImage Draw(const InfoNote& n, bool selected, const ViewMapping* view = nullptr) {
    QImage img = WhiteImage();
    AnnotationRenderer renderer;
    QPainter p(&img);
    renderer.DrawInfoNote(p, n, selected, view);
    return img;
}

// The outer edge of the outline: the first and last columns/rows that are not white.
QRect InkExtent(const QImage& img) {
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (At(img, x, y) != kWhitePx)
                r = r.united(QRect(x, y, 1, 1));
    return r;
}

struct ExpectedBox {
    int width, height, lineHeight, margin;
};
ExpectedBox BoxFor(const InfoNote& n, double scale) {
    TextMeasurer m;
    const auto& layout = m.LayoutNote(ScaledLogFont(n.font, scale), cp950::FieldBytes(n.text));
    const int margin = NoteMargin(scale);
    return {layout.widest + 2 * margin,
            static_cast<int>(layout.lines.size()) * layout.lineHeight + 2 * margin,
            layout.lineHeight, margin};
}

TEST(RenderNote, YellowBoxWithTwoPixelBlackOutlineCentredOnTheEdge) {
    const InfoNote n = MakeNote({50, 40}, "Hello");
    const ExpectedBox box = BoxFor(n, 1.0);
    const QImage img = Draw(n, false);
    const int l = 50, t = 40, r = 50 + box.width, b = 40 + box.height;
    EXPECT_EQ(InkExtent(img), QRect(QPoint(l - 1, t - 1), QPoint(r, b)));
    const int midY = t + box.height / 2;
    EXPECT_EQ(At(img, l - 1, midY), kBlackPx);
    EXPECT_EQ(At(img, l, midY), kBlackPx);
    EXPECT_EQ(At(img, l + 1, midY), kYellowPx);
    EXPECT_EQ(At(img, r - 2, midY), kYellowPx);
    EXPECT_EQ(At(img, r - 1, midY), kBlackPx);
    EXPECT_EQ(At(img, r, midY), kBlackPx);
    EXPECT_EQ(At(img, l + 3, t + 3), kYellowPx);
    EXPECT_EQ(At(img, l + 3, t), kBlackPx);
    EXPECT_EQ(At(img, l + 3, b - 1), kBlackPx);
    EXPECT_EQ(At(img, l + 3, b), kBlackPx);
    EXPECT_GT(CountColour(img, kRedPx), 10); // the text
    EXPECT_EQ(CountColour(img, kRedPx, QRect(l - 1, t - 1, box.width + 2, 2)), 0);
}

TEST(RenderNote, SelectedOutlineIsRed) {
    const InfoNote n = MakeNote({50, 40}, "Hello");
    const ExpectedBox box = BoxFor(n, 1.0);
    const QImage img = Draw(n, true);
    EXPECT_EQ(At(img, 49, 40 + box.height / 2), kRedPx);
    EXPECT_EQ(At(img, 50 + box.width, 40 + box.height / 2), kRedPx);
    EXPECT_EQ(CountColour(img, kBlackPx), 0);
}

TEST(RenderNote, EmptyTextGivesMarginsAroundOneLine) {
    const InfoNote n = MakeNote({30, 30}, "");
    const ExpectedBox box = BoxFor(n, 1.0);
    EXPECT_EQ(box.width, 10);
    EXPECT_EQ(box.height, box.lineHeight + 10);
    EXPECT_EQ(InkExtent(Draw(n, false)), QRect(QPoint(29, 29), QPoint(40, 30 + box.height)));
}

TEST(RenderNote, TrailingLineBreakAddsALine) {
    const ExpectedBox one = BoxFor(MakeNote({0, 0}, "ab"), 1.0);
    const ExpectedBox two = BoxFor(MakeNote({0, 0}, "ab\r\n"), 1.0);
    EXPECT_EQ(two.height, one.height + one.lineHeight);
    EXPECT_EQ(two.width, one.width);
    const QImage img = Draw(MakeNote({20, 20}, "ab\r\n"), false);
    EXPECT_EQ(InkExtent(img).bottom(), 20 + two.height);
}

TEST(RenderNote, ZoomTwoDoublesMarginFontAndBox) {
    const InfoNote n = MakeNote({20, 20}, "Room 3 window");
    ViewMapping view;
    view.zoom = 2.0f;
    view.src = RECT{0, 0, 200, 150};
    view.dst = RECT{0, 0, 400, 300};
    const ExpectedBox one = BoxFor(n, 1.0);
    const ExpectedBox two = BoxFor(n, 2.0);
    EXPECT_EQ(two.margin, 10);
    EXPECT_NEAR(two.lineHeight, 2 * one.lineHeight, 2);
    EXPECT_NEAR(two.width, 2 * one.width, 6);
    const QImage img = Draw(n, false, &view);
    EXPECT_EQ(InkExtent(img), QRect(QPoint(39, 39), QPoint(40 + two.width, 40 + two.height)));
    // The outline stays two pixels wide.
    EXPECT_EQ(At(img, 41, 40 + two.height / 2), kYellowPx);
}

TEST(RenderNote, TextIsRedWithAHaloInsideTheMargin) {
    const QImage img = Draw(MakeNote({50, 40}, "一二三四五六"), false);
    const ExpectedBox box = BoxFor(MakeNote({50, 40}, "一二三四五六"), 1.0);
    EXPECT_EQ(box.height, 2 * box.lineHeight + 10);
    // Red text on both lines, none in the margins.
    EXPECT_GT(CountColour(img, kRedPx, QRect(55, 45, box.width - 10, box.lineHeight)), 5);
    EXPECT_GT(CountColour(img, kRedPx, QRect(55, 45 + box.lineHeight, 30, box.lineHeight)), 5);
    EXPECT_EQ(CountColour(img, kRedPx, QRect(51, 41, box.width - 2, 3)), 0);
}

TEST(RenderNote, ExportPathIgnoresView) {
    const InfoNote n = MakeNote({70, 60}, "x");
    QImage a = WhiteImage(), b = WhiteImage();
    {
        QPainter p(&a);
        DrawInfoNote(p, n, false, nullptr);
    }
    {
        QPainter p(&b);
        ViewMapping identity;
        identity.src = RECT{0, 0, 400, 300};
        identity.dst = RECT{0, 0, 400, 300};
        DrawInfoNote(p, n, false, &identity);
    }
    EXPECT_EQ(a, b);
}

} // namespace
