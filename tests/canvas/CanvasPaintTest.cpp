// What the canvas composes on the screen: the photo centred in grey with its
// records cut at its edge, a fine pattern shown small as its area average,
// and pans that scroll the photo's picture until it is scaled afresh.
#include "canvas/CanvasTestSupport.h"
#include "canvas/PhotoViewPainter.h"
#include "canvas/ViewModel.h"

#include <QPainter>
#include <QTest>
#include <algorithm>
#include <cmath>

namespace {

TEST(CanvasPaint, PhotoIsCentredInGreyWithItsRecordsCutAtItsEdge) {
    CPhotoCanvas canvas;
    canvas.resize(300, 200);
    canvas.Model().Records().dimensions.push_back(MakeDimension({10, 50}, {400, 50}));
    canvas.Model().Records().notes.push_back(MakeNote({80, 35}, "abc"));
    canvas.Model().SelectNote(0);
    EXPECT_EQ(CountColour(canvas.RenderToImage(), kGreyPx), 300 * 200); // no photo
    CanvasAccess::Photo(canvas) = Solid(200, 100);
    canvas.UpdateLayout(); // dst (50, 50, 250, 150)
    const QImage image = canvas.RenderToImage();
    EXPECT_EQ(CountColour(image, kGreyPx), 300 * 200 - 200 * 100);
    EXPECT_EQ(CountColour(image, kBluePx, QRect(180, 100, 70, 1)), 70); // up to the edge
    EXPECT_EQ(At(image, 133, 100), kYellowPx); // photo (83, 50): in the note, on the line
    EXPECT_EQ(At(image, 130, 90), kRedPx);     // the selected note's outline
}

// A fine pattern (white where x + y is even, else black) shown much smaller
// than its size must look like its area average, an even grey; point or
// plain bilinear sampling shows moire bands.
TEST(CanvasPaint, FittedViewMatchesTheAreaAverage) {
    QImage photo = Solid(2001, 1333, Qt::black);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = (y & 1); x < photo.width(); x += 2)
            photo.setPixel(x, y, qRgb(255, 255, 255));
    CPhotoCanvas canvas;
    canvas.resize(700, 700);
    ShowPhotoOnCanvas(canvas, photo);
    canvas.SetZoom(ZoomFit);
    const QImage image = canvas.RenderToImage();
    const RECT& d = canvas.DestRect();
    // Leaving out the outermost pixels: the odd-sized photo's last row and
    // column are single pixels, which no filter can average.
    double sum = 0, most = 0, n = 0;
    for (int y = d.top + 1; y < d.bottom - 1; ++y)
        for (int x = d.left + 1; x < d.right - 1; ++x, ++n) {
            const double diff = std::abs(qGreen(image.pixel(x, y)) - 127.5);
            sum += diff;
            most = std::max(most, diff);
        }
    EXPECT_LE(sum / n, 6.0);
    EXPECT_LE(most, 40);
}

// A smooth photo: no channel changes by more than 3 from one pixel to the next.
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
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q))});
        }
    return most;
}

class ZoomStep : public ::testing::TestWithParam<float> {};

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
    for (const POINT pan :
         {POINT{1, 0}, POINT{3, 2}, POINT{-5, 7}, POINT{17, -11}, POINT{-40, 25}}) {
        src = RECT{src.left + pan.x, src.top + pan.y, src.right + pan.x, src.bottom + pan.y};
        PhotoViewPainter direct;
        const QImage want = draw(direct, true);
        EXPECT_LE(LargestDifference(draw(screen, false), want), tolerance) << pan.x << "," << pan.y;
        scrolled = scrolled || screen.Scrolled();
    }
    EXPECT_EQ(scrolled, zoom != 1.0f); // every step but actual size scales
    PhotoViewPainter direct;
    const QImage want = draw(direct, true);
    screen.DropScrolled();
    EXPECT_EQ(draw(screen, false), want);
    EXPECT_FALSE(screen.Scrolled());
}

INSTANTIATE_TEST_SUITE_P(Steps, ZoomStep, ::testing::ValuesIn(kZoomSteps));

// A canvas panned at 0.3 shows a scrolled photo while the pan goes on; once
// it rests, the frame on screen is exactly what Render draws.
TEST(CanvasPaint, PanFrameSettlesWhenThePanRests) {
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
    const QImage want = canvas.RenderToImage();
    EXPECT_EQ(frame(), want);
    EXPECT_NE(panned, want);
}

} // namespace
