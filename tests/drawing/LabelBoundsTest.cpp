// Records' bounds never cut a drawn pixel; only records near the view are
// drawn and labelled; labels over the frame's budget stand in and refine to
// exactly what drawing every record directly gives.
#include "common/Pictures.h"
#include "common/RecordBuilders.h"
#include "document/PhotoInfo.h"
#include "drawing/AnnotationRenderer.h"
#include "drawing/RecordBounds.h"
#include "drawing/RecordDrawing.h"

#include <QPainter>
#include <QRandomGenerator>
#include <chrono>
#include <cmath>
#include <functional>
#include <tuple>

namespace {

const float kZooms[] = {0.1f, 0.2f, 0.3f, 0.5f, 0.7f, 1.0f, 2.0f};

// The box around the pixels of `img` that are not white (or that are yellow).
QRect Drawn(const QImage& img, bool yellow = false) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (yellow ? (img.pixel(x, y) & 0xFFFFFF) == 0xFFFF00
                       : (img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                box |= QRect(x, y, 1, 1);
    return box;
}

// text, height, zoom, italic, whether the text is a computed length drawn in place of no value
using BoundCase = std::tuple<const char*, int32_t, float, bool, bool>;
class RecordBoundCase : public ::testing::TestWithParam<BoundCase> {};

// A selected dimension in every direction and a note: no pixel outside their
// bounds, and the bounds stay within a few times what is drawn.
TEST_P(RecordBoundCase, HoldsEveryDrawnPixel) {
    const auto [text, height, zoom, italic, computed] = GetParam();
    const QByteArray label(text);
    const ViewMapping view{zoom, RECT{0, 0, 4000, 4000}, RECT{0, 0, 900, 900}};
    AnnotationRenderer direct;
    direct.SetImageCacheEnabled(false);
    for (int deg = -75; deg <= 105; deg += 15) {
        const double a = deg * M_PI / 180.0;
        const POINT c{int32_t(450 / zoom), int32_t(450 / zoom)};
        Dimension d =
            MakeDimension(c, {c.x + int32_t(60 * std::cos(a)), c.y - int32_t(60 * std::sin(a))},
                          computed ? "" : text);
        d.font.lfHeight = height;
        d.font.lfItalic = italic;
        QImage img = Solid(900, 900);
        QPainter painter(&img);
        direct.DrawDimension(painter, d, true, &view, computed ? &label : nullptr);
        painter.end();
        const QRect bound =
            DimensionBound(direct.Measurer(), d, &view, computed ? &label : nullptr);
        const QRect drawn = Drawn(img);
        EXPECT_TRUE(bound.contains(drawn)) << deg;
        EXPECT_LT(std::max(bound.width(), bound.height()),
                  6 * std::max(drawn.width(), drawn.height()) + 100)
            << deg;
    }
    InfoNote n = MakeNote({int32_t(300 / zoom), int32_t(300 / zoom)}, text);
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
                                           BoundCase{"WWWWWWWWWWW", 16, 0.7f, false, false},
                                           BoundCase{"一二三四五六七八九十\r\nMMMM MMMM MMMM", -22,
                                                     1.0f, true, false},
                                           BoundCase{"", -13, 0.1f, false, false},
                                           BoundCase{"≈123456789 ±99999", -40, 2.0f, true, true}));

// Records scattered over a 2000 x 1500 photo, large fonts, some reaching
// into the view from outside it.
PhotoInfo Scattered() {
    PhotoInfo info;
    QRandomGenerator rng(5);
    for (int i = 0; i < 60; ++i) {
        const POINT s{int32_t(rng.bounded(2000)), int32_t(rng.bounded(1500))};
        Dimension d = MakeDimension(
            s, {s.x + int32_t(rng.bounded(400)) - 200, s.y + int32_t(rng.bounded(400)) - 200},
            i % 2 ? "中文 8.5m" : "305.5", RGB(i * 4, 40, 200));
        d.font.lfHeight = -13 - i % 30;
        NormalizeDimensionEnds(d);
        info.dimensions.push_back(d);
    }
    for (int i = 0; i < 15; ++i) {
        InfoNote n = MakeNote({int32_t(rng.bounded(2000)), int32_t(rng.bounded(1500))},
                              "Kitchen wall, left of the window 中文字");
        n.font.lfHeight = -13 - i;
        info.notes.push_back(n);
    }
    return info;
}

// Every record drawn as the canvas composes them (clipped to the photo's
// place; dimension 3 and note 1 selected), each directly or all at once.
QImage DrawClipped(AnnotationRenderer& r, const PhotoInfo& info, const ViewMapping& view,
                   bool oneByOne) {
    QImage img = Solid(500, 400);
    QPainter p(&img);
    p.setClipRect(QRect(view.dst.left, view.dst.top, view.dst.Width(), view.dst.Height()));
    if (oneByOne) {
        for (size_t i = 0; i < info.dimensions.size(); ++i)
            r.DrawDimension(p, info.dimensions[i], i == 3, &view);
        for (size_t i = 0; i < info.notes.size(); ++i)
            r.DrawInfoNote(p, info.notes[i], i == 1, &view);
    } else {
        DrawAllDimensions(r, p, info, 3, &view);
        DrawAllNotes(r, p, info, 1, &view);
    }
    return img;
}

// Labels: one per scale however the view is panned (the label's turn follows
// the photo, not the rounding), and none for records far from the view,
// computed lengths included.
TEST(LabelSweep, OneLabelPerScaleAndNoneOutsideTheView) {
    const Dimension d = MakeDimension({1003, 1001}, {1101, 1040}, "305");
    for (float zoom : kZooms) {
        AnnotationRenderer r;
        for (int shift = 0; shift < 7; ++shift) {
            const ViewMapping view{zoom, RECT{900 + shift, 900 + shift, 1400, 1300},
                                   RECT{0, 0, 500, 400}};
            QImage img = Solid(500, 400);
            QPainter painter(&img);
            r.DrawDimension(painter, d, false, &view);
        }
        EXPECT_EQ(r.Labels().Count(), 1u) << zoom;
    }
    PhotoInfo info;
    info.dimensions = {MakeDimension({100, 100}, {200, 100}, "1"),
                       MakeDimension({3000, 3000}, {3100, 3000}, "2"),
                       MakeDimension({100, 50}, {200, 60}), MakeDimension({3000, 50}, {3150, 90})};
    info.reference.dimension = 0;
    info.notes = {MakeNote({120, 150}, "in view"), MakeNote({5000, 10}, "far right")};
    AnnotationRenderer r;
    DrawClipped(r, info, ViewMapping{2.0f, RECT{0, 0, 250, 200}, RECT{0, 0, 500, 400}}, false);
    EXPECT_EQ(r.Labels().Count(), 3u);
}

void Spend(AnnotationRenderer& r) {
    r.SetLabelDeadline(std::chrono::steady_clock::now() - std::chrono::seconds(1));
}

// With the frame's budget spent, a zoom step's frames leave labels pending
// and show stand-ins; frames drawn until none is pending (skipping records
// away from the view) end exactly as drawing every record directly, through
// steps in and out.
TEST(LabelBudget, FramesOverBudgetRefineToTheDirectPicture) {
    const PhotoInfo info = Scattered();
    AnnotationRenderer direct, budgeted;
    direct.SetImageCacheEnabled(false);
    // zoom, whether labels are made there for the first time
    for (const auto& [zoom, fresh] : {std::pair{1.0f, true},
                                      {2.0f, true},
                                      {0.7f, true},
                                      {0.3f, true},
                                      {1.0f, false},
                                      {2.0f, false}}) {
        const RECT src{700, 500, 700 + int32_t(460 / zoom), 500 + int32_t(360 / zoom)};
        const ViewMapping view{zoom, src, RECT{20, 20, 480, 380}};
        QImage got;
        int frames = 0;
        do {
            Spend(budgeted);
            got = DrawClipped(budgeted, info, view, false);
            budgeted.ClearLabelDeadline();
        } while (budgeted.LabelsPending() && ++frames < 1000);
        EXPECT_FALSE(budgeted.LabelsPending()) << zoom;
        EXPECT_EQ(frames > 0, fresh) << zoom;
        EXPECT_EQ(got, DrawClipped(direct, info, view, true)) << zoom;
    }
}

// Over budget, a label not made at the new scale is drawn from the one made
// at the previous scale, stretched, in its place.
TEST(LabelBudget, PreviousScaleStandsIn) {
    const Dimension made = MakeDimension({10, 10}, {60, 10}, "1");
    const Dimension other = MakeDimension({20, 100}, {120, 100}, "8.5m");
    AnnotationRenderer r;
    for (float zoom : {1.0f, 2.0f}) {
        const ViewMapping view{zoom, RECT{0, 0, 300, 200}, RECT{0, 0, 600, 400}};
        QImage img = Solid(600, 400);
        QPainter painter(&img);
        if (zoom == 2.0f) // spent: the frame makes one label only
            Spend(r);
        r.DrawDimension(painter, made, false, &view);
        r.DrawDimension(painter, other, false, &view);
        r.ClearLabelDeadline();
        painter.end();
        const QRect above = QRect(QPoint(int(20 * zoom), int(60 * zoom)),
                                  QPoint(int(120 * zoom), int(100 * zoom) - 1));
        EXPECT_FALSE(Drawn(img.copy(above), true).isEmpty()) << zoom;
        EXPECT_EQ(r.LabelsPending(), zoom == 2.0f);
    }
}

// Where labels are drawn without images (a high-density device), a spent
// budget defers nothing: the first frame is whole.
TEST(LabelBudget, LabelsDrawnWithoutImagesAreNeverDeferred) {
    const PhotoInfo info = Scattered();
    const ViewMapping view{1.0f, RECT{700, 500, 1160, 860}, RECT{20, 20, 480, 380}};
    const auto draw = [&](AnnotationRenderer& r) {
        QImage img = Solid(500, 400);
        img.setDevicePixelRatio(2.0);
        QPainter p(&img);
        DrawAllDimensions(r, p, info, -1, &view);
        DrawAllNotes(r, p, info, -1, &view);
        return img;
    };
    AnnotationRenderer direct, budgeted;
    direct.SetImageCacheEnabled(false);
    Spend(budgeted);
    EXPECT_EQ(draw(budgeted), draw(direct));
    EXPECT_FALSE(budgeted.LabelsPending());
}

} // namespace
