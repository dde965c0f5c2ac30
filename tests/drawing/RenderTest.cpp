// Notes as the renderer draws them, and its label image cache.
#include "canvas/CanvasTestSupport.h"
#include "drawing/RecordDrawing.h"
#include "drawing/RenderGeometry.h"

#include <QPainter>
#include <cmath>
#include <tuple>

namespace {

using NoteBoxCase = std::tuple<const char*, float, size_t>; // text, zoom, lines
class RenderNoteBox : public ::testing::TestWithParam<NoteBoxCase> {};

// A yellow box holding the wrapped red lines with a margin of 5 x zoom all
// round, its 2-pixel black outline centred on the edge.
TEST_P(RenderNoteBox, HoldsTheLinesWithMargins) {
    const auto [text, zoom, lines] = GetParam();
    const InfoNote n = MakeNote({20, 20}, text);
    TextMeasurer m;
    const auto& layout = m.LayoutNote(ScaledLogFont(n.font, zoom), cp950::FieldBytes(n.text));
    ASSERT_EQ(layout.lines.size(), lines);
    const int margin = int(5 * zoom), l = int(20 * zoom), t = l;
    const int r = l + layout.widest + 2 * margin;
    const int b = t + int(lines) * layout.lineHeight + 2 * margin;
    EXPECT_TRUE(*text || r - l == 10) << "an empty note is ten pixels wide";
    const ViewMapping view{zoom, RECT{0, 0, 2000, 2000}, RECT{0, 0, 400, 300}};
    QImage img = Solid(400, 300);
    QPainter painter(&img);
    AnnotationRenderer().DrawInfoNote(painter, n, false, &view);
    EXPECT_EQ(CountColour(img, kWhitePx, QRect(QPoint(l - 1, t - 1), QPoint(r, b))), 0);
    EXPECT_EQ(CountColour(img, kWhitePx), 400 * 300 - (r - l + 2) * (b - t + 2));
    for (int x : {l - 1, l, r - 1, r})
        EXPECT_EQ(At(img, x, (t + b) / 2), kBlackPx) << x;
    EXPECT_EQ(CountColour(img, kRedPx, QRect(l - 1, t - 1, r - l + 2, margin + 1)), 0);
    EXPECT_EQ(CountColour(img, kRedPx) > 0, *text != 0);
}

INSTANTIATE_TEST_SUITE_P(Texts, RenderNoteBox,
                         ::testing::Values(NoteBoxCase{"", 1.0f, 1}, NoteBoxCase{"ab\r\n", 1.0f, 2},
                                           NoteBoxCase{"一二三四五六七八九十一", 1.0f, 3},
                                           NoteBoxCase{"Room 3", 2.0f, 1},
                                           NoteBoxCase{"一二三四五六", 0.5f, 2}));

using CacheCase = std::tuple<const char*, int32_t, float>; // value, font height, zoom
class RenderCache : public ::testing::TestWithParam<CacheCase> {};

// The label images put exactly the pixels on the picture that drawing the
// text directly puts there, at every angle and size, also when they were made
// beforehand without a painter, as the export makes them.
TEST_P(RenderCache, CachedLabelsMatchDirectDrawingPixelForPixel) {
    const auto [value, height, zoom] = GetParam();
    const ViewMapping view{zoom, RECT{0, 0, 2000, 2000}, RECT{3, 7, 603, 507}};
    PhotoInfo info; // a fan of dimensions from (150, 150) in every direction, two notes
    for (int deg = 0; deg < 360; deg += 7) {
        const double a = deg * M_PI / 180.0;
        const QPoint end = QPointF(150 + 120 * std::cos(a), 150 - 120 * std::sin(a)).toPoint();
        info.dimensions.push_back(
            MakeDimension({150, 150}, {end.x(), end.y()}, value, RGB(deg, 40, 200)));
        info.dimensions.back().font.lfHeight = height;
    }
    info.notes = {MakeNote({20, 20}, "Kitchen wall, left of the window 中文字"),
                  MakeNote({380, 380}, value)};
    info.notes[0].font.lfHeight = info.notes[1].font.lfHeight = height;
    const auto drawAll = [&](AnnotationRenderer& r) {
        QImage img = Solid(600, 500);
        QPainter p(&img);
        DrawAllDimensions(r, p, info, 5, &view);
        DrawAllNotes(r, p, info, 0, &view);
        return img;
    };
    AnnotationRenderer direct, cached, prepared;
    direct.SetImageCacheEnabled(false);
    PrepareAllRecords(prepared, info, &view);
    const size_t made = prepared.Labels().Images();
    ASSERT_GT(made, 0u);
    const QImage want = drawAll(direct);
    EXPECT_EQ(drawAll(cached), want) << "cold";
    EXPECT_EQ(drawAll(cached), want) << "warm";
    EXPECT_EQ(drawAll(prepared), want) << "prepared";
    EXPECT_EQ(prepared.Labels().Images(), made) << "drawing only stamped them";
}

INSTANTIATE_TEST_SUITE_P(Cases, RenderCache,
                         ::testing::Values(CacheCase{"中文 8.5m", -13, 1.0f},
                                           CacheCase{"Wy/gj|", -22, 0.7f},
                                           CacheCase{"305", -13, 2.0f}, CacheCase{"42", 16, 0.3f}));

TEST(RenderCache, ImageBudgetIsKept) {
    AnnotationRenderer r;
    Dimension d = MakeDimension({10, 100}, {190, 100});
    d.font.lfHeight = -40;
    for (int i = 0; i < 3000; ++i) {
        cp950::CopyToField(d.value, QByteArray::number(i));
        r.PrepareDimension(d, nullptr);
    }
    EXPECT_LE(r.Labels().Bytes(), size_t(48) << 20);
    EXPECT_GT(r.Labels().Images(), 0u);
}

} // namespace
