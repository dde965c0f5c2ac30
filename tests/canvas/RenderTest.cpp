// Notes as the renderer draws them, and its label image cache.
#include "CanvasTestSupport.h"
#include "canvas/AnnotationRenderer.h"
#include "canvas/HitTest.h"
#include "canvas/RenderGeometry.h"

#include <QPainter>
#include <cmath>

namespace {

struct NoteBoxCase {
    const char* text;
    float zoom;
    size_t lines;
};
class RenderNoteBox : public ::testing::TestWithParam<NoteBoxCase> {};

// A yellow box holding the wrapped red lines with a margin of 5 x zoom all
// round, its 2-pixel black outline centred on the edge; the select tool hits
// the box as drawn.
TEST_P(RenderNoteBox, HoldsTheLinesWithMarginsAsDrawnAndAsClicked) {
    const NoteBoxCase& c = GetParam();
    const InfoNote n = MakeNote({20, 20}, c.text);
    TextMeasurer m;
    const auto& layout = m.LayoutNote(ScaledLogFont(n.font, c.zoom), cp950::FieldBytes(n.text));
    ASSERT_EQ(layout.lines.size(), c.lines);
    const int margin = int(5 * c.zoom), l = int(20 * c.zoom), t = l;
    const int r = l + layout.widest + 2 * margin;
    const int b = t + int(c.lines) * layout.lineHeight + 2 * margin;
    EXPECT_TRUE(*c.text || r - l == 10) << "an empty note is ten pixels wide";
    const ViewMapping view{c.zoom, RECT{0, 0, 2000, 2000}, RECT{0, 0, 400, 300}};
    QImage img = Solid(400, 300);
    QPainter painter(&img);
    AnnotationRenderer().DrawInfoNote(painter, n, false, &view);
    EXPECT_EQ(CountColour(img, kWhitePx, QRect(QPoint(l - 1, t - 1), QPoint(r, b))), 0);
    EXPECT_EQ(CountColour(img, kWhitePx), 400 * 300 - (r - l + 2) * (b - t + 2));
    const int midY = (t + b) / 2;
    for (int x : {l - 1, l, r - 1, r})
        EXPECT_EQ(At(img, x, midY), kBlackPx) << x;
    EXPECT_TRUE(At(img, l + 1, midY) == kYellowPx && At(img, r - 2, midY) == kYellowPx);
    EXPECT_EQ(CountColour(img, kRedPx, QRect(l - 1, t - 1, r - l + 2, margin + 1)), 0);
    EXPECT_EQ(CountColour(img, kRedPx) > 0, *c.text != 0);
    if (c.zoom != 1.0f)
        return;
    EXPECT_TRUE(HitTestNote(n, {l, t}, m) && HitTestNote(n, {r - 1, b - 1}, m));
    EXPECT_FALSE(HitTestNote(n, {r, t}, m) || HitTestNote(n, {l, b}, m));
    EXPECT_FALSE(HitTestNote(n, {l - 1, t}, m) || HitTestNote(n, {l, t - 1}, m));
}

INSTANTIATE_TEST_SUITE_P(Texts, RenderNoteBox,
                         ::testing::Values(NoteBoxCase{"", 1.0f, 1}, NoteBoxCase{"ab\r\n", 1.0f, 2},
                                           NoteBoxCase{"一二三四五六", 1.0f, 2},
                                           NoteBoxCase{"一二三四五六七八九十一", 1.0f, 3},
                                           NoteBoxCase{"Room 3", 2.0f, 1},
                                           NoteBoxCase{"一二三四五六", 0.5f, 2}));

struct CacheCase {
    const char* value;
    int32_t lfHeight;
    float zoom;
};
class RenderCache : public ::testing::TestWithParam<CacheCase> {};

// The label images put exactly the pixels on the picture that drawing the
// text directly puts there, at every angle and size, also when they were made
// beforehand without a painter, as the export makes them.
TEST_P(RenderCache, CachedLabelsMatchDirectDrawingPixelForPixel) {
    const CacheCase c = GetParam();
    const ViewMapping view{c.zoom, RECT{0, 0, 2000, 2000}, RECT{3, 7, 603, 507}};
    std::vector<InfoNote> notes{MakeNote({20, 20}, "Kitchen wall, left of the window 中文字"),
                                MakeNote({380, 380}, c.value)};
    std::vector<Dimension> dims; // a fan from (150, 150) in every direction
    for (int deg = 0; deg < 360; deg += 7) {
        const double a = deg * M_PI / 180.0;
        dims.push_back(MakeDimension(
            {150, 150},
            {150 + int(std::lround(120 * std::cos(a))), 150 - int(std::lround(120 * std::sin(a)))},
            c.value, RGB(deg % 256, 40, 200)));
        dims.back().font.lfHeight = c.lfHeight;
        NormalizeDimensionEnds(dims.back());
    }
    notes[0].font.lfHeight = notes[1].font.lfHeight = c.lfHeight;
    const auto drawAll = [&](AnnotationRenderer& r) {
        QImage img = Solid(600, 500);
        QPainter p(&img);
        for (size_t i = 0; i < dims.size(); ++i)
            r.DrawDimension(p, dims[i], i % 5 == 0, &view);
        for (size_t i = 0; i < notes.size(); ++i)
            r.DrawInfoNote(p, notes[i], i % 2 == 0, &view);
        return img;
    };
    AnnotationRenderer direct, cached, prepared;
    direct.SetImageCacheEnabled(false);
    for (const Dimension& d : dims)
        prepared.PrepareDimension(d, &view);
    for (const InfoNote& n : notes)
        prepared.PrepareInfoNote(n, &view);
    const size_t preparedImages = prepared.Labels().Images();
    const QImage want = drawAll(direct);
    EXPECT_EQ(drawAll(cached), want) << "cold";
    EXPECT_EQ(drawAll(cached), want) << "warm";
    EXPECT_EQ(drawAll(prepared), want) << "prepared";
    EXPECT_EQ(prepared.Labels().Images(), preparedImages) << "drawing only stamped them";
    EXPECT_GT(preparedImages, 0u);
    EXPECT_EQ(preparedImages, cached.Labels().Images());
}

INSTANTIATE_TEST_SUITE_P(Cases, RenderCache,
                         ::testing::Values(CacheCase{"1234", -13, 1.0f},
                                           CacheCase{"中文 8.5m", -13, 1.0f},
                                           CacheCase{"Wy/gj|", -22, 0.7f},
                                           CacheCase{"305", -13, 2.0f}, CacheCase{"42", 16, 0.3f}));

TEST(RenderCache, ImageBudgetIsKept) {
    AnnotationRenderer r;
    QImage img = Solid(200, 200);
    QPainter p(&img);
    for (int i = 0; i < 3000; ++i) {
        Dimension d = MakeDimension({10, 100}, {190, 100}, std::to_string(i).c_str());
        d.font.lfHeight = -40;
        r.DrawDimension(p, d, false, nullptr);
    }
    EXPECT_LE(r.Labels().Bytes(), size_t(48) << 20);
    EXPECT_GT(r.Labels().Images(), 0u);
}

} // namespace
