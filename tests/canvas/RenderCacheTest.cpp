// The label image cache must put exactly the pixels on the picture that
// drawing the text directly puts there, at every angle and size.

#include "RenderTestSupport.h"
#include "canvas/AnnotationRenderer.h"

#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<Dimension> Fan(POINT centre, int radius, const char* value, int stepDegrees,
                           int32_t lfHeight) {
    std::vector<Dimension> dims;
    for (int deg = 0; deg < 360; deg += stepDegrees) {
        const double a = deg * M_PI / 180.0;
        POINT end{centre.x + static_cast<int32_t>(std::lround(radius * std::cos(a))),
                  centre.y - static_cast<int32_t>(std::lround(radius * std::sin(a)))};
        Dimension d = MakeDimension(centre, end, value, RGB(deg % 256, 40, 200));
        d.font.lfHeight = lfHeight;
        NormalizeDimensionEnds(d);
        dims.push_back(d);
    }
    return dims;
}

QImage DrawAll(AnnotationRenderer& r, const std::vector<Dimension>& dims,
               const std::vector<InfoNote>& notes, const ViewMapping* view) {
    QImage img = WhiteImage(600, 500);
    QPainter p(&img);
    for (size_t i = 0; i < dims.size(); ++i)
        r.DrawDimension(p, dims[i], i % 5 == 0, view);
    for (size_t i = 0; i < notes.size(); ++i)
        r.DrawInfoNote(p, notes[i], i % 2 == 0, view);
    return img;
}

int DifferingPixels(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

struct CacheCase {
    const char* value;
    int32_t lfHeight;
    float zoom;
};

class RenderCache : public ::testing::TestWithParam<CacheCase> {};

TEST_P(RenderCache, CachedLabelsMatchDirectDrawingPixelForPixel) {
    const CacheCase c = GetParam();
    std::vector<InfoNote> notes{MakeNote({20, 20}, "Kitchen wall, left of the window 中文字"),
                                MakeNote({380, 380}, c.value)};
    for (InfoNote& n : notes)
        n.font.lfHeight = c.lfHeight;
    ViewMapping view;
    view.zoom = c.zoom;
    view.src = RECT{0, 0, 2000, 2000};
    view.dst = RECT{3, 7, 603, 507};
    for (int step : {7, 15}) {
        const std::vector<Dimension> dims = Fan({150, 150}, 120, c.value, step, c.lfHeight);
        AnnotationRenderer direct;
        direct.SetImageCacheEnabled(false);
        AnnotationRenderer cached;
        // Labels made beforehand, without a painter, as the export makes them.
        AnnotationRenderer prepared;
        for (const Dimension& d : dims)
            prepared.PrepareDimension(d, &view);
        for (const InfoNote& n : notes)
            prepared.PrepareInfoNote(n, &view);
        const size_t preparedImages = prepared.Labels().Images();
        const QImage want = DrawAll(direct, dims, notes, &view);
        const QImage cold = DrawAll(cached, dims, notes, &view);
        const QImage warm = DrawAll(cached, dims, notes, &view);
        const QImage stamped = DrawAll(prepared, dims, notes, &view);
        EXPECT_GT(cached.Labels().Images(), 0u);
        EXPECT_EQ(preparedImages, cached.Labels().Images()) << "step " << step;
        EXPECT_EQ(DifferingPixels(want, cold), 0) << "step " << step;
        EXPECT_EQ(DifferingPixels(want, warm), 0) << "step " << step;
        EXPECT_EQ(DifferingPixels(want, stamped), 0) << "step " << step;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RenderCache,
                         ::testing::Values(CacheCase{"1234", -13, 1.0f},
                                           CacheCase{"中文 8.5m", -13, 1.0f},
                                           CacheCase{"Wy/gj|", -22, 0.7f},
                                           CacheCase{"305", -13, 2.0f}, CacheCase{"42", 16, 0.3f}));

TEST(RenderCache, ImageBudgetIsKept) {
    AnnotationRenderer r;
    QImage img = WhiteImage(200, 200);
    QPainter p(&img);
    for (int i = 0; i < 3000; ++i) {
        Dimension d = MakeDimension({10, 100}, {190, 100}, std::to_string(i).c_str());
        d.font.lfHeight = -40;
        r.DrawDimension(p, d, false, nullptr);
    }
    EXPECT_LE(r.Labels().Bytes(), size_t(48) << 20);
    EXPECT_GT(r.Labels().Images(), 0u);
}

TEST(RenderCache, HugeFontsAreDrawnWithoutAnImage) {
    AnnotationRenderer r;
    QImage img = WhiteImage(300, 300);
    QPainter p(&img);
    Dimension d = MakeDimension({-1500, 500}, {1800, 500}, "12345678901");
    d.font.lfHeight = -600;
    r.DrawDimension(p, d, false, nullptr);
    EXPECT_EQ(r.Labels().Images(), 0u);
    EXPECT_GT(CountColour(img, kYellowPx), 100);
}

} // namespace
