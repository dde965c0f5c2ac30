// Records only near the view are drawn and labelled, their bounds never cut a
// drawn pixel, and panning and zooming leave the pictures exactly what
// drawing every record directly gives.
#include "canvas/CanvasTestSupport.h"
#include "canvas/PhotoViewPainter.h"
#include "common/CanvasAccess.h"
#include "drawing/RecordBounds.h"
#include "drawing/RecordDrawing.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <tuple>
#include <utility>

namespace {

// The pixels of `img` that are not white and lie outside `bound`; `drawn`
// receives the box around all pixels that are not white.
int PixelsOutside(const QImage& img, const QRect& bound, QRect* drawn = nullptr) {
    int outside = 0;
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (At(img, x, y) != kWhitePx) {
                outside += !bound.contains(x, y);
                box |= QRect(x, y, 1, 1);
            }
    if (drawn)
        *drawn = box;
    return outside;
}

// text, height, zoom, italic, whether the text is a computed length drawn in place of no value
using BoundCase = std::tuple<const char*, int32_t, float, bool, bool>;
class RecordBoundCase : public ::testing::TestWithParam<BoundCase> {};

// A selected dimension in every direction and a note, drawn directly: no
// pixel outside their bounds, and the bounds stay within a few times what is
// drawn.
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
        QRect drawn;
        EXPECT_EQ(PixelsOutside(img, bound, &drawn), 0) << deg;
        // Generous, yet not the whole view.
        const int side = std::max(drawn.width(), drawn.height());
        EXPECT_LT(std::max(bound.width(), bound.height()), 6 * side + 100) << deg;
    }
    InfoNote n = MakeNote({int32_t(300 / zoom), int32_t(300 / zoom)}, text);
    n.font.lfHeight = height;
    n.font.lfItalic = italic;
    QImage img = Solid(900, 900);
    QPainter painter(&img);
    direct.DrawInfoNote(painter, n, true, &view);
    painter.end();
    EXPECT_EQ(PixelsOutside(img, NoteBound(direct.Measurer(), n, &view)), 0);
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

// Draws as the canvas composes: clipped to the photo's place.
QImage DrawClipped(const ViewMapping& view, const std::function<void(QPainter&)>& draw) {
    QImage img = Solid(500, 400);
    QPainter painter(&img);
    painter.setClipRect(QRect(view.dst.left, view.dst.top, view.dst.Width(), view.dst.Height()));
    draw(painter);
    return img;
}

class ZoomStep : public ::testing::TestWithParam<float> {};

// Through pans at one zoom, a renderer whose caches the previous frames left
// (and that skips records away from the view) draws exactly what drawing
// every record directly draws.
TEST_P(ZoomStep, PanSweepMatchesDirectDrawing) {
    const float zoom = GetParam();
    const PhotoInfo info = Scattered();
    AnnotationRenderer direct, cached;
    direct.SetImageCacheEnabled(false);
    RECT src{700, 500, 700 + int32_t(460 / zoom), 500 + int32_t(360 / zoom)};
    for (const POINT pan : {POINT{0, 0}, POINT{1, 0}, POINT{0, 1}, POINT{3, 2}, POINT{-5, 7}}) {
        src = RECT{src.left + pan.x, src.top + pan.y, src.right + pan.x, src.bottom + pan.y};
        const ViewMapping view{zoom, src, RECT{20, 20, 480, 380}};
        const QImage want = DrawClipped(view, [&](QPainter& p) {
            for (size_t i = 0; i < info.dimensions.size(); ++i)
                direct.DrawDimension(p, info.dimensions[i], i == 3, &view);
            for (size_t i = 0; i < info.notes.size(); ++i)
                direct.DrawInfoNote(p, info.notes[i], i == 1, &view);
        });
        const QImage got = DrawClipped(view, [&](QPainter& p) {
            DrawAllDimensions(cached, p, info, 3, &view);
            DrawAllNotes(cached, p, info, 1, &view);
        });
        EXPECT_EQ(got, want) << pan.x << "," << pan.y;
    }
}

// A smooth photo: no channel changes by more than 3 from one photo pixel to
// the next.
QImage SmoothPhoto(int w, int h) {
    QImage photo(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            photo.setPixel(x, y,
                           qRgb(128 + int(90 * std::sin(x / 40.0)),
                                128 + int(90 * std::sin(y / 30.0)),
                                128 + int(90 * std::sin((x + y) / 50.0))));
    return photo;
}

// The largest difference of one channel between two images of one size.
int LargestDifference(const QImage& a, const QImage& b) {
    int most = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q))});
        }
    return most;
}

// Through pans at one zoom, the screen's photo (the kept part scrolled by
// whole view pixels) stays within half a view pixel of scaling the whole
// part, and once the scrolled picture is dropped the frame is exactly the
// fully scaled one.
TEST_P(ZoomStep, PhotoPanSweepSettlesOnTheScaledPicture) {
    const float zoom = GetParam();
    static const QImage photo = SmoothPhoto(2400, 1800);
    const RECT dst{10, 10, 210, 160};
    RECT src{300, 200, 300 + int32_t(200 / zoom), 200 + int32_t(150 / zoom)};
    const auto draw = [&](PhotoViewPainter& painter, bool whole) {
        QImage img = Solid(220, 170);
        QPainter p(&img);
        painter.Draw(p, photo, src, dst, whole);
        return img;
    };
    PhotoViewPainter screen;
    draw(screen, true); // the levels this zoom needs are made
    // Half a view pixel is 0.5 / zoom photo pixels, over which a channel
    // moves by 1.5 / zoom at most; scaling rounds by a few more.
    const int tolerance = 3 + static_cast<int>(1.5 / zoom);
    bool scrolled = false;
    for (const POINT pan : {POINT{1, 0}, POINT{0, 1}, POINT{3, 2}, POINT{-5, 7}, POINT{17, -11},
                            POINT{-40, 25}, POINT{2, 3}}) {
        src = RECT{src.left + pan.x, src.top + pan.y, src.right + pan.x, src.bottom + pan.y};
        PhotoViewPainter direct;
        const QImage want = draw(direct, true);
        const QImage got = draw(screen, false);
        scrolled = scrolled || screen.Scrolled();
        EXPECT_LE(LargestDifference(got, want), tolerance) << pan.x << "," << pan.y;
    }
    // Every step but actual size scales, so its pans scroll.
    EXPECT_EQ(scrolled, zoom != 1.0f);
    PhotoViewPainter direct;
    const QImage want = draw(direct, true);
    screen.DropScrolled();
    EXPECT_EQ(draw(screen, false), want);
    EXPECT_FALSE(screen.Scrolled());
}

INSTANTIATE_TEST_SUITE_P(Steps, ZoomStep, ::testing::ValuesIn(kZoomSteps));

// A canvas panned at 0.3 shows a scrolled photo while the pan goes on; once
// it rests, the frame on screen is exactly what Render draws.
TEST(PhotoPan, CanvasFrameSettlesWhenThePanRests) {
    CPhotoCanvas canvas;
    canvas.resize(300, 200);
    ShowPhotoOnCanvas(canvas, SmoothPhoto(2400, 1800));
    while (canvas.Zoom() > 0.3f)
        canvas.SetZoom(ZoomOut);
    canvas.RenderToImage(); // the levels 0.3 needs are made
    const auto frame = [&] {
        return canvas.grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    frame();
    QImage panned;
    for (int move = 0; move < 5; ++move) {
        CanvasAccess::LastPoint(canvas) = POINT{100, 100};
        canvas.PanBy(POINT{97, 98});
        panned = frame();
        EXPECT_TRUE(canvas.PhotoScrolled()) << move;
    }
    QTest::qWait(400);
    EXPECT_FALSE(canvas.PhotoScrolled());
    const QImage settled = frame();
    const QImage want = canvas.RenderToImage();
    EXPECT_EQ(settled, want);
    EXPECT_NE(panned, want);
}

// A dimension drawn at every zoom step and a pan of one photo pixel keeps its
// one label per scale: the label's turn follows the photo, not the rounding.
TEST(LabelAngle, SameAtEveryPan) {
    const Dimension d = MakeDimension({1003, 1001}, {1101, 1040}, "305");
    for (float zoom : kZoomSteps) {
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
}

// With the frame's budget spent, a zoom step's frames leave labels pending
// and show stand-ins; frames drawn until none is pending end exactly as
// drawing every label directly, through steps in and out.
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
        const auto draw = [&](AnnotationRenderer& r) {
            return DrawClipped(view, [&](QPainter& p) {
                DrawAllDimensions(r, p, info, 3, &view);
                DrawAllNotes(r, p, info, 1, &view);
            });
        };
        const QImage want = draw(direct);
        QImage got;
        int frames = 0;
        do {
            budgeted.SetLabelDeadline(std::chrono::steady_clock::now() - std::chrono::seconds(1));
            got = draw(budgeted);
            budgeted.ClearLabelDeadline();
        } while (budgeted.LabelsPending() && ++frames < 1000);
        EXPECT_FALSE(budgeted.LabelsPending()) << zoom;
        EXPECT_EQ(frames > 0, fresh) << zoom;
        EXPECT_EQ(got, want) << zoom;
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
            r.SetLabelDeadline(std::chrono::steady_clock::now() - std::chrono::seconds(1));
        r.DrawDimension(painter, made, false, &view);
        r.DrawDimension(painter, other, false, &view);
        r.ClearLabelDeadline();
        painter.end();
        const QRect above = QRect(QPoint(int(20 * zoom), int(60 * zoom)),
                                  QPoint(int(120 * zoom), int(100 * zoom) - 1));
        EXPECT_GT(CountColour(img, kYellowPx, above), 0) << zoom;
        EXPECT_EQ(r.LabelsPending(), zoom == 2.0f);
    }
}

// Where labels are drawn without images (a high-density device), a spent
// budget defers nothing: the first frame is whole.
TEST(LabelBudget, LabelsDrawnWithoutImagesAreNeverDeferred) {
    const PhotoInfo info = Scattered();
    const ViewMapping view{1.0f, RECT{700, 500, 1160, 860}, RECT{20, 20, 480, 380}};
    const auto draw = [&](AnnotationRenderer& r, bool budget) {
        QImage img = Solid(500, 400);
        img.setDevicePixelRatio(2.0);
        QPainter p(&img);
        if (budget)
            r.SetLabelDeadline(std::chrono::steady_clock::now() - std::chrono::seconds(1));
        DrawAllDimensions(r, p, info, -1, &view);
        DrawAllNotes(r, p, info, -1, &view);
        r.ClearLabelDeadline();
        return img;
    };
    AnnotationRenderer direct, budgeted;
    direct.SetImageCacheEnabled(false);
    const QImage want = draw(direct, false);
    EXPECT_EQ(draw(budgeted, true), want);
    EXPECT_FALSE(budgeted.LabelsPending());
}

// Records far from the view make no label at all, computed lengths included.
TEST(LabelCulling, RecordsOutsideTheViewMakeNoLabel) {
    PhotoInfo info;
    info.dimensions = {MakeDimension({100, 100}, {200, 100}, "1"),
                       MakeDimension({3000, 3000}, {3100, 3000}, "2"),
                       MakeDimension({100, 50}, {200, 60}), MakeDimension({3000, 50}, {3150, 90})};
    info.reference.dimension = 0;
    info.notes = {MakeNote({120, 150}, "in view"), MakeNote({5000, 10}, "far right")};
    const ViewMapping view{2.0f, RECT{0, 0, 250, 200}, RECT{0, 0, 500, 400}};
    AnnotationRenderer r;
    DrawClipped(view, [&](QPainter& p) {
        DrawAllDimensions(r, p, info, -1, &view);
        DrawAllNotes(r, p, info, -1, &view);
    });
    EXPECT_EQ(r.Labels().Count(), 3u);
}

} // namespace
