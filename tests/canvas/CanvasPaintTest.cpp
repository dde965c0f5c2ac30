// Pixels of the composed canvas.
#include "canvas/CPhotoCanvas.h"
#include "canvas/CanvasTestPhotos.h"
#include "canvas/PhotoPyramid.h"
#include "common/TestSupport.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QRgb kGrey = qRgb(128, 128, 128);

QImage Solid(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Pixels of `image` inside `r` that differ from `colour`.
int CountOther(const QImage& image, const QRect& r, QRgb colour) {
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) != (colour & 0xFFFFFF);
    return count;
}

TEST(CanvasPaint, NoPhotoIsUniformlyGreyEvenWithRecords) {
    CPhotoCanvas canvas;
    canvas.resize(120, 90);
    canvas.m_info.dimensions.resize(1);
    canvas.m_info.notes.resize(1);
    const QImage image = canvas.RenderToImage();
    EXPECT_EQ(CountOther(image, image.rect(), kGrey), 0);
}

TEST(CanvasPaint, SmallPhotoIsCentredWithGreyBandsAllRound) {
    CPhotoCanvas canvas;
    canvas.resize(300, 200);
    ShowPhotoOnCanvas(canvas, Solid(100, 80, Qt::red));
    ASSERT_EQ(canvas.m_rcDst, (RECT{100, 60, 200, 140}));
    const QImage image = canvas.RenderToImage();
    EXPECT_EQ(CountOther(image, QRect(100, 60, 100, 80), qRgb(255, 0, 0)), 0);
    EXPECT_EQ(CountOther(image, QRect(0, 0, 300, 60), kGrey), 0);
    EXPECT_EQ(CountOther(image, QRect(0, 140, 300, 60), kGrey), 0);
    EXPECT_EQ(CountOther(image, QRect(0, 0, 100, 200), kGrey), 0);
    EXPECT_EQ(CountOther(image, QRect(200, 0, 100, 200), kGrey), 0);
}

TEST(CanvasPaint, WidePhotoHasBandsAboveAndBelowOnly) {
    CPhotoCanvas canvas;
    canvas.resize(300, 200);
    ShowPhotoOnCanvas(canvas, Solid(1000, 100, Qt::blue));
    ASSERT_EQ(canvas.m_rcDst, (RECT{0, 50, 300, 150}));
    const QImage image = canvas.RenderToImage();
    EXPECT_EQ(CountOther(image, QRect(0, 50, 300, 100), qRgb(0, 0, 255)), 0);
    EXPECT_EQ(CountOther(image, QRect(0, 0, 300, 50), kGrey), 0);
    EXPECT_EQ(CountOther(image, QRect(0, 150, 300, 50), kGrey), 0);
}

TEST(CanvasPaint, ShowsTheVisiblePartAtActualSize) {
    CPhotoCanvas canvas;
    canvas.resize(200, 200);
    QImage photo = Solid(1000, 1000, Qt::white);
    photo.setPixel(510, 520, qRgb(255, 0, 0));
    ShowPhotoOnCanvas(canvas, photo);
    canvas.CentreOn(POINT{500, 500});
    ASSERT_EQ(canvas.m_rcSrc, (RECT{400, 400, 600, 600}));
    const QImage image = canvas.RenderToImage();
    EXPECT_EQ(image.pixel(110, 120), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(111, 120), qRgb(255, 255, 255));
}

TEST(CanvasPaint, PhotoChangedInPlaceIsShownAnew) {
    CPhotoCanvas canvas;
    canvas.resize(250, 250);
    ShowPhotoOnCanvas(canvas, Solid(1000, 1000, Qt::white));
    canvas.SetZoom(ZoomFit);
    EXPECT_EQ(canvas.RenderToImage().pixel(125, 125), qRgb(255, 255, 255));
    canvas.m_dib.Image().fill(Qt::black);
    EXPECT_EQ(canvas.RenderToImage().pixel(125, 125), qRgb(0, 0, 0));
}

class CanvasRubberBand : public ::testing::Test {
protected:
    void SetUp() override {
        m_canvas.resize(300, 200);
        ShowPhotoOnCanvas(m_canvas, Solid(200, 100, Qt::white)); // dst (50, 50, 250, 150)
        m_canvas.SetTool(ToolDimension);
        m_canvas.m_bFirstPoint = 1;
        m_canvas.m_pendingDim.start = POINT{10, 50};
        m_canvas.m_pendingDim.colour = RGB(0, 0, 255);
    }
    CPhotoCanvas m_canvas;
};

TEST_F(CanvasRubberBand, RunsFromTheStartPointToTheCursorAtPaintTime) {
    m_canvas.SetCursorSource([] { return QPoint(150, 100); });
    const QImage image = m_canvas.RenderToImage();
    const QRgb blue = qRgb(0, 0, 255);
    EXPECT_EQ(image.pixel(60, 100), blue);
    EXPECT_EQ(image.pixel(100, 100), blue);
    EXPECT_EQ(image.pixel(149, 100), blue);
    EXPECT_EQ(image.pixel(152, 100), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(100, 101), qRgb(255, 255, 255));
}

TEST_F(CanvasRubberBand, IsCutAtThePhotoEdge) {
    m_canvas.SetCursorSource([] { return QPoint(299, 100); });
    const QImage image = m_canvas.RenderToImage();
    EXPECT_EQ(image.pixel(249, 100), qRgb(0, 0, 255));
    EXPECT_EQ(CountOther(image, QRect(250, 0, 50, 200), kGrey), 0);
}

TEST_F(CanvasRubberBand, IsDrawnOnlyWithTheDimensionToolAndAFirstPoint) {
    m_canvas.SetCursorSource([] { return QPoint(150, 100); });
    m_canvas.SetTool(ToolSelect);
    EXPECT_EQ(CountOther(m_canvas.RenderToImage(), QRect(50, 50, 200, 100), qRgb(255, 255, 255)),
              0);
    m_canvas.SetTool(ToolDimension);
    m_canvas.CancelPendingDimension();
    EXPECT_EQ(CountOther(m_canvas.RenderToImage(), QRect(50, 50, 200, 100), qRgb(255, 255, 255)),
              0);
}

// Stripes three pixels wide: one white, two black.
QImage Stripes(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = x % 3 == 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    }
    return image;
}

// Mean and largest difference of the green channel over `r` of `image`
// against `reference` (which covers r).
struct Difference {
    double mean = 0;
    int worst = 0;
};

Difference Compare(const QImage& image, const QRect& r, const QImage& reference) {
    Difference d;
    double sum = 0;
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x) {
            const int diff = std::abs(qGreen(image.pixel(r.left() + x, r.top() + y)) -
                                      qGreen(reference.pixel(x, y)));
            sum += diff;
            d.worst = std::max(d.worst, diff);
        }
    d.mean = sum / (r.width() * r.height());
    return d;
}

struct SmoothCase {
    const char* name;
    QImage (*pattern)(int, int);
    QSize photo;
    QSize canvas;
};

void PrintTo(const SmoothCase& c, std::ostream* os) {
    *os << c.name;
}

class CanvasSmoothness : public ::testing::TestWithParam<SmoothCase> {};

// A fine pattern shown much smaller than its size must look like its area
// average; point or plain bilinear sampling shows moire bands instead.
TEST_P(CanvasSmoothness, FittedViewMatchesAnAreaAverage) {
    const SmoothCase& c = GetParam();
    CPhotoCanvas canvas;
    canvas.resize(c.canvas);
    const QImage photo = c.pattern(c.photo.width(), c.photo.height());
    ShowPhotoOnCanvas(canvas, photo);
    canvas.SetZoom(ZoomFit);
    const QImage image = canvas.RenderToImage();
    const RECT& d = canvas.m_rcDst;
    const QRect place(d.left, d.top, d.right - d.left, d.bottom - d.top);
    const QImage reference =
        photo.scaled(place.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // The outermost pixels are left out: an odd-sized photo's last row and
    // column are single pixels, which no filter can average with a neighbour.
    const Difference diff = Compare(image, place.adjusted(1, 1, -1, -1),
                                    reference.copy(1, 1, place.width() - 2, place.height() - 2));
    EXPECT_LE(diff.mean, 6.0);
    EXPECT_LE(diff.worst, 40);
}

INSTANTIATE_TEST_SUITE_P(
    Scales, CanvasSmoothness,
    ::testing::Values(SmoothCase{"CheckerEighth", Checkerboard, {4096, 3072}, {512, 384}},
                      SmoothCase{"CheckerOdd", Checkerboard, {2001, 1333}, {700, 700}},
                      SmoothCase{"StripesEighth", Stripes, {4096, 3072}, {512, 384}},
                      SmoothCase{"CheckerSixth", Checkerboard, {3000, 2000}, {500, 400}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CanvasPyramid, HalvesWithABoxFilterRepeatingOddEdges) {
    QImage image(3, 3, QImage::Format_RGB32);
    const int v[3][3] = {{0, 100, 200}, {50, 150, 250}, {10, 20, 30}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            image.setPixel(x, y, qRgb(v[y][x], 0, 255 - v[y][x]));
    const QImage half = PhotoPyramid::Halve(image);
    ASSERT_EQ(half.size(), QSize(2, 2));
    EXPECT_EQ(qRed(half.pixel(0, 0)), 75);  // (0 + 100 + 50 + 150 + 2) / 4
    EXPECT_EQ(qRed(half.pixel(1, 0)), 225); // (200 + 200 + 250 + 250 + 2) / 4
    EXPECT_EQ(qRed(half.pixel(0, 1)), 15);  // (10 + 20 + 10 + 20 + 2) / 4
    EXPECT_EQ(qRed(half.pixel(1, 1)), 30);
    EXPECT_EQ(qBlue(half.pixel(0, 0)), 180);
}

struct LevelCase {
    double scale;
    int level;
};

class CanvasPyramidLevel : public ::testing::TestWithParam<LevelCase> {};

TEST_P(CanvasPyramidLevel, IsTheSmallestAtLeastAsLargeAsTheView) {
    EXPECT_EQ(PhotoPyramid::WantedLevel(GetParam().scale, 8), GetParam().level);
}

INSTANTIATE_TEST_SUITE_P(Scales, CanvasPyramidLevel,
                         ::testing::Values(LevelCase{2.0, 0}, LevelCase{1.0, 0}, LevelCase{0.7, 0},
                                           LevelCase{0.5, 1}, LevelCase{0.3, 1}, LevelCase{0.25, 2},
                                           LevelCase{0.145, 2}, LevelCase{0.125, 3},
                                           LevelCase{0.1, 3}, LevelCase{0.001, 7}));

TEST(CanvasPyramid, ReducedCopiesMatchThePhotoGeometry) {
    PhotoPyramid pyramid;
    QImage photo = Solid(1001, 601, Qt::black);
    QPainter(&photo).fillRect(QRect(500, 300, 501, 301), Qt::white);
    pyramid.SetSource(photo);
    int level = -1;
    const QImage eighth = pyramid.LevelFor(0.125, true, &level);
    ASSERT_EQ(level, 3);
    EXPECT_EQ(eighth.size(), QSize(126, 76));
    // Photo pixel x lies at x / 8 in level 3.
    EXPECT_EQ(qRed(eighth.pixel(61, 36)), 0);
    EXPECT_EQ(qRed(eighth.pixel(63, 38)), 255);
}

} // namespace
