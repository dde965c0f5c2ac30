// Pixels of the composed canvas and the exported picture, which is written
// by the canvas and by `tessamar --export` (run in-process).
#include "app/CommandLine.h"
#include "canvas/CanvasTestSupport.h"
#include "common/CanvasAccess.h"
#include "output/AnnotatedExport.h"

#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <numeric>
#include <tuple>

namespace {

TEST(CanvasPaint, PhotoIsCentredInGreyWithItsRecordsCutAtItsEdge) {
    CPhotoCanvas canvas;
    canvas.resize(300, 200);
    canvas.Model().Records().dimensions.push_back(MakeDimension({10, 50}, {400, 50}));
    canvas.Model().Records().dimensions.push_back(MakeDimension({20, 85}, {180, 85}, "123"));
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
    // The second line: both ends, the label above it and nothing below.
    EXPECT_TRUE(At(image, 70, 135) == kBluePx && At(image, 230, 135) == kBluePx);
    const QRect label(120, 112, 60, 22), below(85, 136, 130, 14);
    EXPECT_GT(std::min(CountColour(image, kYellowPx, label), CountColour(image, kBluePx, label)),
              10);
    EXPECT_EQ(CountColour(image, kWhitePx, below), 130 * 14);
}

// Period, slant (white where (x + slant * y) % period == 0, else black),
// photo size, canvas size.
using SmoothCase = std::tuple<int, int, QSize, QSize>;
class CanvasSmoothness : public ::testing::TestWithParam<SmoothCase> {};

// A fine pattern shown much smaller than its size must look like its area
// average, an even grey; point or plain bilinear sampling shows moire bands.
TEST_P(CanvasSmoothness, FittedViewMatchesTheAreaAverage) {
    const auto [period, slant, size, canvasSize] = GetParam();
    QImage photo = Solid(size.width(), size.height(), Qt::black);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            if ((x + slant * y) % period == 0)
                photo.setPixel(x, y, qRgb(255, 255, 255));
    CPhotoCanvas canvas;
    canvas.resize(canvasSize);
    ShowPhotoOnCanvas(canvas, photo);
    canvas.SetZoom(ZoomFit);
    const QImage image = canvas.RenderToImage();
    const RECT& d = canvas.DestRect();
    // The outermost pixels are left out: an odd-sized photo's last row and
    // column are single pixels, which no filter can average with a neighbour.
    std::vector<double> diffs;
    for (int y = d.top + 1; y < d.bottom - 1; ++y)
        for (int x = d.left + 1; x < d.right - 1; ++x)
            diffs.push_back(std::abs(qGreen(image.pixel(x, y)) - 255.0 / period));
    EXPECT_LE(std::accumulate(diffs.begin(), diffs.end(), 0.0) / diffs.size(), 6.0);
    EXPECT_LE(*std::max_element(diffs.begin(), diffs.end()), 40);
}

INSTANTIATE_TEST_SUITE_P(Patterns, CanvasSmoothness,
                         ::testing::Values(SmoothCase{2, 1, {4096, 3072}, {512, 384}},
                                           SmoothCase{2, 1, {2001, 1333}, {700, 700}},
                                           SmoothCase{4, 0, {4096, 3072}, {512, 384}},
                                           SmoothCase{2, 1, {3000, 2000}, {500, 400}}));

TEST(ExportRecords, AreDrawnAtPhotoScaleAndFarCoordinatesAreClipped) {
    PhotoInfo info;
    info.dimensions.push_back(MakeDimension({100, 50}, {200, 50}));
    info.dimensions.push_back(MakeDimension({-2147483000, 90}, {2147483000, 90}));
    QImage picture = Solid(300, 100);
    DrawRecordsAtPhotoScale(picture, info);
    // Ten pixels long, about five wide: a dozen pixels or more off the line.
    EXPECT_GE(CountColour(picture, kBluePx, QRect(100, 44, 13, 13)) - 13, 12);
    EXPECT_EQ(CountColour(picture, kBluePx, QRect(113, 44, 70, 6)), 0);
    EXPECT_EQ(CountColour(picture, kBluePx, QRect(0, 90, 300, 1)), 300);
}

class Export : public ::testing::Test {
protected:
    QString Path(const char* name) { return m_dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir m_dir;
};

// The command (`tessamar --export`, run in-process) makes the labels while the
// photo decodes on another thread; its file must be the very file the
// canvas's export writes for the same records, which leaves out the selection
// look, draws at photo scale whatever the view's zoom and leaves the photo
// on the canvas alone.
using ExportCommand = Export;

TEST_F(ExportCommand, WritesWhatTheInProcessExportWrites) {
    const QString photo = WriteTestJpeg(m_dir, QStringLiteral("room.jpg"), 320, 240);
    // No photo-info file: the plain photo.
    ASSERT_EQ(RunExport(0, nullptr, photo, Path("plain.jpg")), 0);
    EXPECT_EQ(QImageReader(Path("plain.jpg")).size(), QSize(320, 240));
    PhotoInfo info;
    for (int i = 0; i < 40; ++i) {
        info.dimensions.push_back(
            MakeDimension({10 + i * 7, 20 + (i * 37) % 200}, {300 - i * 3, 230 - (i * 53) % 200},
                          (std::to_string(100 + i) + ".5").c_str(), RGB(255, i * 6, 0)));
        NormalizeDimensionEnds(info.dimensions.back()); // as the file gives them back
    }
    for (int i = 0; i < 4; ++i)
        info.notes.push_back(MakeNote({20 + 70 * i, 30 + 40 * i}, "Note: window sill 窗台"));
    ASSERT_EQ(info.SaveToFile(InfoFilePathFor(photo)), 1);
    ASSERT_EQ(RunExport(0, nullptr, photo, Path("out.jpg")), 0);
    CPhotoCanvas canvas;
    ASSERT_TRUE(CanvasAccess::LoadPhoto(canvas, photo));
    const QImage shown = canvas.Photo().Image();
    canvas.Model().Records() = info;
    canvas.Model().SelectDimension(0);
    canvas.Model().SelectNote(0);
    canvas.SetZoom(ZoomOut);
    ASSERT_TRUE(CanvasAccess::ExportAnnotated(canvas, Path("direct.jpg")));
    EXPECT_EQ(ReadWholeFile(Path("out.jpg")), ReadWholeFile(Path("direct.jpg")));
    EXPECT_EQ(canvas.Photo().Image(), shown);
}

TEST_F(Export, FailuresAreReportedAndWriteNothing) {
    CPhotoCanvas canvas;
    QString error;
    EXPECT_FALSE(CanvasAccess::ExportAnnotated(canvas, Path("out.jpg"), &error)); // no photo
    EXPECT_FALSE(error.isEmpty());
    // The command: a damaged photo, a missing one, an output it cannot write,
    // a damaged photo-info file.
    const QString photo = WriteTestJpeg(m_dir, QStringLiteral("room.jpg"), 32, 24);
    ASSERT_TRUE(WriteWholeFile(Path("broken.jpg"), QByteArray("not a picture")));
    EXPECT_EQ(RunExport(0, nullptr, Path("broken.jpg"), Path("out.jpg")), 1);
    EXPECT_EQ(RunExport(0, nullptr, Path("missing.jpg"), Path("out.jpg")), 1);
    EXPECT_EQ(RunExport(0, nullptr, photo, Path("no/such/dir/out.jpg")), 1);
    ASSERT_TRUE(WriteWholeFile(InfoFilePathFor(photo), QByteArray("KZR\0\x08\x00\x01", 7)));
    EXPECT_EQ(RunExport(0, nullptr, photo, Path("out.jpg")), 1);
    EXPECT_FALSE(QFileInfo::exists(Path("out.jpg")));
}

} // namespace
