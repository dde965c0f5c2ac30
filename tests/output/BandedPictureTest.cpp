// The annotated picture made band by band is the picture drawn on a whole
// copy of the photo, byte for byte, whatever the band height and wherever
// records cross band edges.

#include "output/BandedPicture.h"
#include "common/JpegEncoder.h"
#include "common/RecordBuilders.h"
#include "common/TestSupport.h"
#include "document/PhotoInfo.h"
#include "drawing/AnnotationRenderer.h"
#include "lumoimage/CDibDC.h"
#include "output/AnnotatedExport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QImage Photo(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + y) & 255, (y * 3) & 255, (x ^ y) & 255));
    return image;
}

// Records that cross the edges of bands of 1, 64 and 256 rows: labels,
// arrowheads and note boxes cut by an edge, lines along an edge, steep and
// rotated labels, records partly off the photo; and a reference plane, drawn
// smoothed (antialiased) across every band.
PhotoInfo RecordsAcrossBandEdges(int width, int height, bool plane = false) {
    PhotoInfo info;
    int i = 0;
    for (const int y : {63, 64, 128, 255, 256, 300}) {
        if (y >= height)
            continue;
        info.dimensions.push_back(
            MakeDimension({10 + i, y}, {width - 20 - i, y}, QString::number(1200 + i)));
        info.dimensions.push_back(MakeDimension({30 + 25 * i, y - 40}, {90 + 25 * i, y + 45},
                                                QStringLiteral("斜 %1").arg(i), RGB(255, 0, 0)));
        info.notes.push_back(
            MakeTitledNote({40 + 35 * i, y - 10}, "窗台", QStringLiteral("note %1").arg(i)));
        ++i;
    }
    info.dimensions.push_back(MakeDimension({width / 2, -50}, {width / 2, height + 50}, "88"));
    info.dimensions.push_back(MakeDimension({-30, height - 2}, {width + 30, height - 2}, "end"));
    info.reference.hasPlane = plane;
    const POINT corners[4] = {
        {20, 30}, {width - 40, 50}, {width - 60, height - 20}, {35, height - 45}};
    std::copy(corners, corners + 4, info.reference.plane.corners);
    info.reference.plane.width = 1000;
    info.reference.plane.height = 700;
    return info;
}

// The picture as it was made before bands: the whole photo copied, every
// record drawn on it, the whole picture encoded at once.
QByteArray WholePicture(const QImage& photo, const PhotoInfo& info) {
    QImage picture = photo.convertToFormat(QImage::Format_RGB32).copy();
    DrawRecordsAtPhotoScale(picture, info);
    QByteArray jpeg;
    QString error;
    EXPECT_TRUE(EncodeJpeg(picture, CDibDC::ExportSettings(), &jpeg, &error));
    return jpeg;
}

struct BandCase {
    const char* name;
    QSize photo;
    int bandRows;
    bool records;
    QImage::Format format;
    bool plane = false;
};
void PrintTo(const BandCase& c, std::ostream* os) {
    *os << c.name;
}

class BandedPictureEquality : public ::testing::TestWithParam<BandCase> {};

TEST_P(BandedPictureEquality, IsTheWholePictureByteForByte) {
    const BandCase& c = GetParam();
    const QImage photo = Photo(c.photo.width(), c.photo.height()).convertToFormat(c.format);
    const PhotoInfo info = c.records
                               ? RecordsAcrossBandEdges(c.photo.width(), c.photo.height(), c.plane)
                               : PhotoInfo();
    const QImage before = photo.copy();
    QByteArray banded;
    std::vector<int> progress;
    AnnotationRenderer renderer;
    QString error;
    BandedPictureOptions options;
    options.bandRows = c.bandRows;
    options.progress = [&progress, &c](int done, int rows) {
        progress.push_back(done);
        EXPECT_EQ(rows, c.photo.height());
    };
    const auto sink = [&banded](const char* data, qsizetype size) {
        banded.append(data, size);
        return true;
    };
    ASSERT_TRUE(EncodeAnnotatedPicture(photo, info, renderer, sink, &error, options))
        << error.toStdString();
    EXPECT_TRUE(banded == WholePicture(photo, info));
    EXPECT_TRUE(photo == before); // the photo is only read
    // Progress after every band, up to every row (a photo with a plane is one band).
    const int bandRows = c.plane ? c.photo.height() : std::min(c.bandRows, c.photo.height());
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), c.photo.height());
    EXPECT_EQ(int(progress.size()), (c.photo.height() + bandRows - 1) / bandRows);
}

INSTANTIATE_TEST_SUITE_P(
    Bands, BandedPictureEquality,
    ::testing::Values(
        BandCase{"OneRowBands", {517, 389}, 1, true, QImage::Format_RGB32},
        BandCase{"Bands64", {517, 389}, 64, true, QImage::Format_RGB32},
        BandCase{"Bands256", {641, 513}, 256, true, QImage::Format_RGB32},
        BandCase{"BandTallerThanThePhoto", {331, 277}, 4000, true, QImage::Format_RGB32},
        BandCase{"NoRecords", {333, 257}, 64, false, QImage::Format_RGB32},
        BandCase{"PhotoWithAlpha", {300, 200}, 64, true, QImage::Format_ARGB32},
        BandCase{"PhotoIn24Bits", {300, 200}, 7, true, QImage::Format_RGB888},
        BandCase{"WithReferencePlane", {517, 389}, 64, true, QImage::Format_RGB32, true}),
    [](const auto& info) { return std::string(info.param.name); });

// The file, written band by band as the encoder makes its bytes, is what the
// whole picture would have written (its write failing: the command line's
// rows and the writer's own tests).
TEST(BandedExportFile, IsTheWholePicture) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.jpg"));
    const PhotoInfo info = RecordsAcrossBandEdges(700, 530);
    QString error;
    ASSERT_TRUE(ExportAnnotatedPicture(Photo(700, 530), info, path, &error)) << error.toStdString();
    EXPECT_TRUE(ReadWholeFile(path) == WholePicture(Photo(700, 530), info));
}

} // namespace
