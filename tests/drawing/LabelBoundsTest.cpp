// Records' bounds never cut a drawn pixel; labels over the frame's budget
// stand in and refine to exactly what drawing every record directly gives.
#include "common/Pictures.h"
#include "common/RecordBuilders.h"
#include "document/PhotoInfo.h"
#include "drawing/AnnotationRenderer.h"
#include "drawing/RecordBounds.h"
#include "drawing/RecordDrawing.h"

#include <QPainter>
#include <chrono>
#include <cmath>
#include <tuple>

namespace {

// The box around the pixels of `img` that are not white.
QRect Drawn(const QImage& img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                box |= QRect(x, y, 1, 1);
    return box;
}

// text, height, zoom, italic, whether the text is a computed length drawn in place of no value
using BoundCase = std::tuple<const char*, int32_t, float, bool, bool>;
class RecordBoundCase : public ::testing::TestWithParam<BoundCase> {};

// A selected dimension in every direction and a note: no pixel outside their bounds.
TEST_P(RecordBoundCase, HoldsEveryDrawnPixel) {
    const auto [text, height, zoom, italic, computed] = GetParam();
    const QByteArray label(text);
    const ViewMapping view{zoom, RECT{0, 0, 4000, 4000}, RECT{0, 0, 900, 900}};
    AnnotationRenderer direct;
    direct.SetImageCacheEnabled(false);
    const POINT c{int32_t(450 / zoom), int32_t(450 / zoom)};
    for (int deg = -75; deg <= 105; deg += 15) {
        const double a = deg * M_PI / 180.0;
        Dimension d =
            MakeDimension(c, {c.x + int32_t(60 * std::cos(a)), c.y - int32_t(60 * std::sin(a))},
                          computed ? "" : text);
        d.font.lfHeight = height;
        d.font.lfItalic = italic;
        QImage img = Solid(900, 900);
        QPainter painter(&img);
        direct.DrawDimension(painter, d, true, &view, computed ? &label : nullptr);
        painter.end();
        EXPECT_TRUE(DimensionBound(direct.Measurer(), d, &view, computed ? &label : nullptr)
                        .contains(Drawn(img)))
            << deg;
    }
    InfoNote n = MakeNote(c, text);
    n.font.lfHeight = height;
    n.font.lfItalic = italic;
    QImage img = Solid(900, 900);
    QPainter painter(&img);
    direct.DrawInfoNote(painter, n, true, &view);
    painter.end();
    EXPECT_TRUE(NoteBound(direct.Measurer(), n, &view).contains(Drawn(img)));
}

INSTANTIATE_TEST_SUITE_P(Fonts, RecordBoundCase,
                         ::testing::Values(BoundCase{"中文 8.5m", -13, 1.0f, false, false},
                                           BoundCase{"Wy/gj|", -40, 2.0f, true, false},
                                           BoundCase{"一二三四五六七八九十\r\nMMMM MMMM MMMM", -22,
                                                     0.7f, true, false},
                                           BoundCase{"≈123456789 ±99999", -40, 2.0f, true, true}));

// With the frame's budget spent, a zoom step's frames leave labels pending;
// frames drawn until none is pending end exactly as drawing every record
// directly, through steps in and out (how many frames it takes is bench_view's).
TEST(LabelBudget, FramesOverBudgetRefineToTheDirectPicture) {
    PhotoInfo info; // over 2000 x 1500 in large fonts, some reaching in from outside the view
    for (int i = 0; i < 60; ++i) {
        const POINT s{(i * 337) % 2000, (i * 211) % 1500};
        Dimension d = MakeDimension(s, {s.x + (i * 53) % 400 - 200, s.y + (i * 97) % 400 - 200},
                                    i % 2 ? "中文 8.5m" : "305.5", RGB(i * 4, 40, 200));
        d.font.lfHeight = -13 - i % 30;
        NormalizeDimensionEnds(d);
        info.dimensions.push_back(d);
        if (i % 4 == 0)
            info.notes.push_back(MakeNote(s, "Kitchen wall, left of the window 中文字"));
    }
    // Clipped to the photo's place, dimension 3 and note 1 selected.
    const auto draw = [&](AnnotationRenderer& r, const ViewMapping& view) {
        QImage img = Solid(500, 400);
        QPainter p(&img);
        p.setClipRect(QRect(20, 20, 460, 360));
        DrawAllDimensions(r, p, info, 3, &view);
        DrawAllNotes(r, p, info, 1, &view);
        return img;
    };
    AnnotationRenderer direct, budgeted;
    direct.SetImageCacheEnabled(false);
    for (const float zoom : {1.0f, 2.0f, 0.3f, 1.0f}) {
        const RECT src{700, 500, 700 + int32_t(460 / zoom), 500 + int32_t(360 / zoom)};
        const ViewMapping view{zoom, src, RECT{20, 20, 480, 380}};
        QImage got;
        for (int frames = 0; frames == 0 || (budgeted.LabelsPending() && frames < 1000); ++frames) {
            budgeted.SetLabelDeadline(std::chrono::steady_clock::now() - std::chrono::seconds(1));
            got = draw(budgeted, view);
            budgeted.ClearLabelDeadline();
        }
        EXPECT_FALSE(budgeted.LabelsPending()) << zoom;
        EXPECT_EQ(got, draw(direct, view)) << zoom;
    }
}

} // namespace
