// Records on the composed canvas and on the exported picture.
#include "canvas/AnnotatedExport.h"
#include "canvas/CPhotoCanvas.h"
#include "canvas/CanvasTestPhotos.h"
#include "common/TestSupport.h"

#include <QImageReader>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

namespace {

const QRgb kGrey = qRgb(128, 128, 128);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kYellow = qRgb(255, 255, 0);

QImage White(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

Dimension Line(POINT a, POINT b, COLORREF colour) {
    Dimension d;
    d.colour = colour;
    d.start = a;
    d.end = b;
    d.font = DefaultLogFont();
    return d;
}

InfoNote Note(POINT anchor, const char* text) {
    InfoNote n = MakeNewNote(anchor, DefaultLogFont());
    std::strncpy(n.text, text, sizeof n.text - 1);
    return n;
}

int Count(const QImage& image, const QRect& r, QRgb colour) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

class CanvasRecords : public ::testing::Test {
protected:
    void SetUp() override {
        m_canvas.resize(300, 200);
        ShowPhotoOnCanvas(m_canvas, White(200, 100)); // dst (50, 50, 250, 150)
        ASSERT_EQ(m_canvas.m_rcDst, (RECT{50, 50, 250, 150}));
    }
    CPhotoCanvas m_canvas;
};

TEST_F(CanvasRecords, DimensionIsCutAtThePhotoEdge) {
    m_canvas.m_info.dimensions.push_back(Line(POINT{10, 50}, POINT{400, 50}, RGB(0, 0, 255)));
    const QImage image = m_canvas.RenderToImage();
    EXPECT_EQ(image.pixel(150, 100), kBlue);
    EXPECT_EQ(image.pixel(249, 100), kBlue);
    EXPECT_EQ(Count(image, QRect(250, 0, 50, 200), kGrey), 50 * 200);
}

TEST_F(CanvasRecords, NoteLiesOverADimension) {
    m_canvas.m_info.dimensions.push_back(Line(POINT{10, 50}, POINT{190, 50}, RGB(0, 0, 255)));
    m_canvas.m_info.notes.push_back(Note(POINT{80, 35}, "abc"));
    const QImage image = m_canvas.RenderToImage();
    // Photo (83, 50) is inside the note's yellow box and on the line.
    EXPECT_EQ(image.pixel(133, 100), kYellow);
    EXPECT_EQ(image.pixel(70, 100), kBlue);
}

TEST(ExportRecords, ArrowheadsAreDrawnAtPhotoScale) {
    PhotoInfo info;
    info.dimensions.push_back(Line(POINT{100, 50}, POINT{200, 50}, RGB(0, 0, 255)));
    QImage picture = White(300, 100);
    DrawRecordsAtPhotoScale(picture, info);
    // A 10-pixel arrowhead, about 5 wide: well over a dozen pixels off the line
    // itself (half size would leave only a few).
    const int offLine =
        Count(picture, QRect(100, 44, 13, 6), kBlue) + Count(picture, QRect(100, 51, 13, 6), kBlue);
    EXPECT_GE(offLine, 12);
    EXPECT_EQ(Count(picture, QRect(113, 44, 70, 6), kBlue), 0);
}

TEST(ExportRecords, SelectedNoteHasNoRedOutlineInThePicture) {
    QTemporaryDir dir;
    CPhotoCanvas canvas;
    canvas.resize(200, 200);
    ShowPhotoOnCanvas(canvas, White(400, 300));
    canvas.m_info.notes.push_back(Note(POINT{100, 100}, "a fairly long note text here"));
    canvas.m_nSelNote = 0;
    canvas.SetZoom(ZoomOut);
    const QString out = dir.filePath(QStringLiteral("out.jpg"));
    ASSERT_TRUE(canvas.ExportAnnotatedImage(out));
    const QImage picture = QImageReader(out).read();
    ASSERT_EQ(picture.size(), QSize(400, 300));
    // The middle of the box's left edge: a dark outline, not a red one.
    const QRgb edge = picture.pixel(100, 108);
    EXPECT_LT(qRed(edge), 100);
    // On the canvas the same note is outlined in red.
    const QImage screen = canvas.RenderToImage();
    const POINT v = canvas.MapPoint(POINT{100, 104}, false);
    EXPECT_GT(qRed(screen.pixel(v.x, v.y)), 200);
    EXPECT_LT(qGreen(screen.pixel(v.x, v.y)), 60);
}

} // namespace
