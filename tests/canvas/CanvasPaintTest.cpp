// Pixels of the composed canvas and the exported picture, which is written
// by the canvas and by `tessamar --export` (run in-process).
#include "CanvasTestSupport.h"
#include "app/CommandLine.h"
#include "canvas/AnnotatedExport.h"
#include "document/PhotoInfo.h"
#include "lumoimage/CDibDC.h"

#include <QFileInfo>
#include <QImageReader>

namespace {

TEST(CanvasPaint, PhotoIsCentredInGreyWithItsRecordsCutAtItsEdge) {
    CPhotoCanvas canvas;
    canvas.resize(300, 200);
    canvas.m_info.dimensions.push_back(MakeDimension({10, 50}, {400, 50}));
    canvas.m_info.dimensions.push_back(MakeDimension({20, 85}, {180, 85}, "123"));
    canvas.m_info.notes.push_back(MakeNote({80, 35}, "abc"));
    EXPECT_TRUE(AllOf(canvas.RenderToImage(), QRect(0, 0, 300, 200), kGreyPx)); // no photo
    canvas.m_dib.Image() = Solid(200, 100);
    canvas.UpdateLayout(); // dst (50, 50, 250, 150)
    const QImage image = canvas.RenderToImage();
    EXPECT_EQ(CountColour(image, kGreyPx), 300 * 200 - 200 * 100);
    EXPECT_TRUE(AllOf(image, QRect(60, 100, 20, 1), kBluePx));
    EXPECT_EQ(At(image, 249, 100), kBluePx);
    EXPECT_EQ(At(image, 133, 100), kYellowPx); // photo (83, 50): in the note, on the line
    // The second line: both ends, inside both arrowheads, the label above it
    // and nothing below.
    for (QPoint q : {QPoint(70, 135), QPoint(230, 135), QPoint(77, 136), QPoint(77, 134),
                     QPoint(223, 136), QPoint(223, 134)})
        EXPECT_EQ(At(image, q.x(), q.y()), kBluePx) << q.x() << "," << q.y();
    const QRect label(120, 112, 60, 22), below(85, 136, 130, 14);
    EXPECT_GT(std::min(CountColour(image, kYellowPx, label), CountColour(image, kBluePx, label)),
              10);
    EXPECT_TRUE(AllOf(image, below, kWhitePx));
}

struct SmoothCase {
    int period, slant; // white where (x + slant * y) % period == 0, else black
    QSize photo, canvas;
};
class CanvasSmoothness : public ::testing::TestWithParam<SmoothCase> {};

// A fine pattern shown much smaller than its size must look like its area
// average, an even grey; point or plain bilinear sampling shows moire bands.
TEST_P(CanvasSmoothness, FittedViewMatchesTheAreaAverage) {
    const SmoothCase& c = GetParam();
    QImage photo = Solid(c.photo.width(), c.photo.height(), Qt::black);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            if ((x + c.slant * y) % c.period == 0)
                photo.setPixel(x, y, qRgb(255, 255, 255));
    CPhotoCanvas canvas;
    canvas.resize(c.canvas);
    ShowPhotoOnCanvas(canvas, photo);
    canvas.SetZoom(ZoomFit);
    const QImage image = canvas.RenderToImage();
    const RECT& d = canvas.m_rcDst;
    // The outermost pixels are left out: an odd-sized photo's last row and
    // column are single pixels, which no filter can average with a neighbour.
    double sum = 0, worst = 0, count = 0;
    for (int y = d.top + 1; y < d.bottom - 1; ++y)
        for (int x = d.left + 1; x < d.right - 1; ++x, ++count) {
            const double diff = std::abs(qGreen(image.pixel(x, y)) - 255.0 / c.period);
            sum += diff;
            worst = std::max(worst, diff);
        }
    EXPECT_LE(sum / count, 6.0);
    EXPECT_LE(worst, 40);
    canvas.m_dib.Image().fill(Qt::black); // the reduced copies follow a change in place
    EXPECT_EQ(At(canvas.RenderToImage(), d.left + 9, d.top + 9), kBlackPx);
}

INSTANTIATE_TEST_SUITE_P(Patterns, CanvasSmoothness,
                         ::testing::Values(SmoothCase{2, 1, {4096, 3072}, {512, 384}},
                                           SmoothCase{2, 1, {2001, 1333}, {700, 700}},
                                           SmoothCase{4, 0, {4096, 3072}, {512, 384}},
                                           SmoothCase{2, 1, {3000, 2000}, {500, 400}}));

class Export : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString Path(const char* name) { return m_dir.filePath(QString::fromUtf8(name)); }
    int RunCommand(const QString& photo, const QString& out) {
        char name[] = "tessamar";
        char* argv[] = {name, nullptr};
        return RunExport(1, argv, photo, out);
    }
    QTemporaryDir m_dir;
};

TEST_F(Export, WritesThePhotoAtItsOwnSizeWithoutTheSelectionLookAndLeavesTheCanvasAlone) {
    CPhotoCanvas canvas;
    canvas.resize(200, 200);
    ShowPhotoOnCanvas(canvas, Solid(400, 300, QColor(40, 160, 90)));
    canvas.m_info.notes.push_back(MakeNote({100, 100}, "a fairly long note text here"));
    canvas.m_nSelNote = 0;
    canvas.SetZoom(ZoomOut);
    const qint64 key = canvas.m_dib.Image().cacheKey();
    ASSERT_TRUE(canvas.ExportAnnotatedImage(Path("out.jpg"))) << canvas.ExportError().toStdString();
    const QImage picture = QImageReader(Path("out.jpg")).read();
    ASSERT_EQ(picture.size(), QSize(400, 300));
    EXPECT_NEAR(qGreen(picture.pixel(399, 299)), 160, 6);
    EXPECT_LT(qRed(picture.pixel(100, 108)), 100); // the box's left edge: dark, not red
    // On the canvas the selected note is outlined in red; its photo is untouched.
    const POINT v = canvas.MapPoint(POINT{100, 104}, false);
    EXPECT_EQ(At(canvas.RenderToImage(), v.x, v.y), kRedPx);
    EXPECT_EQ(canvas.m_dib.Image().cacheKey(), key);
    EXPECT_EQ(canvas.m_dib.Image().pixel(100, 104), qRgb(40, 160, 90));
}

TEST(ExportRecords, AreDrawnAtPhotoScaleAndFarCoordinatesAreClipped) {
    PhotoInfo info;
    info.dimensions.push_back(MakeDimension({100, 50}, {200, 50}));
    info.dimensions.push_back(MakeDimension({-2147483000, 90}, {2147483000, 90}));
    QImage picture = Solid(300, 100);
    DrawRecordsAtPhotoScale(picture, info);
    // Ten pixels long, about five wide: a dozen pixels or more off the line.
    EXPECT_GE(CountColour(picture, kBluePx, QRect(100, 44, 13, 13)) - 13, 12);
    EXPECT_EQ(CountColour(picture, kBluePx, QRect(113, 44, 70, 6)), 0);
    EXPECT_TRUE(AllOf(picture, QRect(0, 90, 300, 1), kBluePx));
}

// The command makes the labels while the photo decodes on another thread; its
// file must be the very file the canvas's export writes for the same records.
using ExportCommand = Export;

TEST_F(ExportCommand, WritesWhatTheInProcessExportWrites) {
    const QString photo = WriteTestJpeg(m_dir, QStringLiteral("room.jpg"), 320, 240);
    ASSERT_EQ(RunCommand(photo, Path("plain.jpg")), 0); // no photo-info file: the plain photo
    EXPECT_EQ(QImageReader(Path("plain.jpg")).size(), QSize(320, 240));
    PhotoInfo info;
    for (int i = 0; i < 40; ++i) {
        Dimension d =
            MakeDimension({10 + i * 7, 20 + (i * 37) % 200}, {300 - i * 3, 230 - (i * 53) % 200},
                          std::to_string(100 + i).append(".5").c_str(), RGB(255, i * 6, 0));
        NormalizeDimensionEnds(d);
        info.dimensions.push_back(d);
    }
    for (int i = 0; i < 4; ++i)
        info.notes.push_back(MakeNote({20 + 70 * i, 30 + 40 * i}, "Note: window sill 窗台"));
    ASSERT_EQ(info.SaveToFile(InfoFilePathFor(photo)), 1);
    ASSERT_EQ(RunCommand(photo, Path("out.jpg")), 0);
    CDibDC decoded;
    ASSERT_TRUE(decoded.Load(photo, 32));
    QString error;
    ASSERT_TRUE(ExportAnnotatedPicture(decoded.Image(), info, Path("direct.jpg"), &error))
        << error.toStdString();
    EXPECT_EQ(ReadWholeFile(Path("out.jpg")), ReadWholeFile(Path("direct.jpg")));
}

TEST_F(Export, FailuresAreReportedAndWriteNothing) {
    CPhotoCanvas canvas;
    EXPECT_FALSE(canvas.ExportAnnotatedImage(Path("out.jpg"))); // no photo
    EXPECT_FALSE(canvas.ExportError().isEmpty());
    ShowPhotoOnCanvas(canvas, Solid(64, 48));
    EXPECT_FALSE(canvas.ExportAnnotatedImage(Path("no/such/folder/out.jpg")));
    EXPECT_FALSE(canvas.ExportError().isEmpty());
    // The command: a damaged photo, a missing one, an output it cannot write,
    // a damaged photo-info file.
    const QString photo = WriteTestJpeg(m_dir, QStringLiteral("room.jpg"), 32, 24);
    ASSERT_TRUE(WriteWholeFile(Path("broken.jpg"), QByteArray("not a picture")));
    EXPECT_EQ(RunCommand(Path("broken.jpg"), Path("out.jpg")), 1);
    EXPECT_EQ(RunCommand(Path("missing.jpg"), Path("out.jpg")), 1);
    EXPECT_EQ(RunCommand(photo, Path("no/such/dir/out.jpg")), 1);
    ASSERT_TRUE(WriteWholeFile(InfoFilePathFor(photo), QByteArray("KZR\0\x08\x00\x01", 7)));
    EXPECT_EQ(RunCommand(photo, Path("out.jpg")), 1);
    EXPECT_FALSE(QFileInfo::exists(Path("out.jpg")));
}

} // namespace
