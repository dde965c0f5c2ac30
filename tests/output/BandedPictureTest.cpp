// The annotated picture made band by band is the picture drawn on a whole
// copy of the photo, pixel for pixel, whatever the band height and wherever
// records cross band edges; and its file is written durably while it is
// made.

#include "output/BandedPicture.h"
#include "canvas/CanvasTestSupport.h"
#include "common/DiskFaults.h"
#include "common/JpegEncoder.h"
#include "document/InfoFileRead.h"
#include "drawing/AnnotationRenderer.h"
#include "lumoimage/CDibDC.h"
#include "lumoimage/ExifExport.h"
#include "lumoimage/JpegFixtures.h"
#include "output/AnnotatedExport.h"
#include "output/PhotoFileExport.h"

#include <optional>

namespace {

QImage Photo(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + y) & 255, (y * 3) & 255, (x ^ y) & 255));
    return image;
}

// Records that cross the edges of bands of 1, 3, 64, 100 and 256 rows:
// labels, arrowheads and note boxes cut by an edge, lines along an edge,
// steep and rotated labels, and records partly off the photo.
PhotoInfo RecordsAcrossBandEdges(int width, int height, bool plane = false) {
    PhotoInfo info;
    const int edges[] = {63, 64, 100, 128, 255, 256, 300};
    int i = 0;
    for (const int y : edges) {
        if (y >= height)
            continue;
        info.dimensions.push_back(
            MakeDimension({10 + i, y}, {width - 20 - i, y}, QString::number(1200 + i)));
        info.dimensions.push_back(MakeDimension({30 + 25 * i, y - 40}, {90 + 25 * i, y + 45},
                                                QStringLiteral("斜 %1").arg(i), RGB(255, 0, 0)));
        info.notes.push_back(MakeTitledNote({40 + 35 * i, y - 10}, QStringLiteral("窗台"),
                                            QStringLiteral("note %1 across %2").arg(i).arg(y)));
        ++i;
    }
    info.dimensions.push_back(MakeDimension({width / 2, -50}, {width / 2, height + 50}, "88"));
    info.dimensions.push_back(MakeDimension({width - 5, 2}, {width - 5, height - 3}, "2400"));
    info.dimensions.push_back(MakeDimension({-30, height - 2}, {width + 30, height - 2}, "end"));
    if (!plane)
        return info;
    // A reference plane, drawn smoothed (antialiased) across every band.
    info.reference.hasPlane = true;
    info.reference.plane.corners[0] = {20, 30};
    info.reference.plane.corners[1] = {width - 40, 50};
    info.reference.plane.corners[2] = {width - 60, height - 20};
    info.reference.plane.corners[3] = {35, height - 45};
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

QByteArray BandedPicture(const QImage& photo, const PhotoInfo& info, int bandRows,
                         std::vector<int>* progress = nullptr) {
    QByteArray jpeg;
    AnnotationRenderer renderer;
    QString error;
    BandedPictureOptions options;
    options.bandRows = bandRows;
    if (progress)
        options.progress = [progress](int done, int rows) {
            progress->push_back(done);
            EXPECT_EQ(rows, progress->empty() ? -1 : rows);
        };
    const bool ok = EncodeAnnotatedPicture(
        photo, info, renderer,
        [&jpeg](const char* data, qsizetype size) {
            jpeg.append(data, size);
            return true;
        },
        &error, options);
    EXPECT_TRUE(ok) << error.toStdString();
    return jpeg;
}

QImage Decoded(const QByteArray& jpeg) {
    CDibDC dib;
    EXPECT_TRUE(dib.LoadFromMemory(reinterpret_cast<const std::uint8_t*>(jpeg.constData()),
                                   std::size_t(jpeg.size())))
        << dib.ErrorString().toStdString();
    return dib.Image();
}

int DifferentPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
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

TEST_P(BandedPictureEquality, IsTheWholePicturePixelForPixel) {
    const BandCase& c = GetParam();
    const QImage photo = Photo(c.photo.width(), c.photo.height()).convertToFormat(c.format);
    const PhotoInfo info = c.records
                               ? RecordsAcrossBandEdges(c.photo.width(), c.photo.height(), c.plane)
                               : PhotoInfo();
    const QImage before = photo.copy();
    const QByteArray whole = WholePicture(photo, info);
    std::vector<int> progress;
    const QByteArray banded = BandedPicture(photo, info, c.bandRows, &progress);
    EXPECT_EQ(DifferentPixels(Decoded(banded), Decoded(whole)), 0);
    EXPECT_TRUE(banded == whole); // the same pixels make the same stream
    EXPECT_TRUE(photo == before); // the photo is only read
    // Progress after every band, up to every row (a photo with a plane is
    // one band).
    const int bandRows = c.plane ? c.photo.height() : std::min(c.bandRows, c.photo.height());
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), c.photo.height());
    EXPECT_EQ(int(progress.size()), (c.photo.height() + bandRows - 1) / bandRows);
}

INSTANTIATE_TEST_SUITE_P(
    Bands, BandedPictureEquality,
    ::testing::Values(
        BandCase{"OneRowBands", {517, 389}, 1, true, QImage::Format_RGB32},
        BandCase{"ThreeRowBands", {517, 389}, 3, true, QImage::Format_RGB32},
        BandCase{"Bands64", {517, 389}, 64, true, QImage::Format_RGB32},
        BandCase{"Bands100", {640, 480}, 100, true, QImage::Format_RGB32},
        BandCase{"Bands256", {641, 513}, 256, true, QImage::Format_RGB32},
        BandCase{"BandTallerThanThePhoto", {331, 277}, 4000, true, QImage::Format_RGB32},
        BandCase{"PortraitOddSize", {289, 601}, 64, true, QImage::Format_RGB32},
        BandCase{"NoRecords", {333, 257}, 64, false, QImage::Format_RGB32},
        BandCase{"PhotoWithAlpha", {300, 200}, 64, true, QImage::Format_ARGB32},
        BandCase{"PhotoIn24Bits", {300, 200}, 7, true, QImage::Format_RGB888},
        BandCase{"WithReferencePlane", {517, 389}, 64, true, QImage::Format_RGB32, true}),
    [](const auto& info) { return std::string(info.param.name); });

class BandedExportFile : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
};

TEST_F(BandedExportFile, IsWhatTheWholePictureWouldHaveWritten) {
    const QImage photo = Photo(700, 530);
    const PhotoInfo info = RecordsAcrossBandEdges(700, 530);
    const QString path = m_dir.filePath(QStringLiteral("out.jpg"));
    QString error;
    ASSERT_TRUE(ExportAnnotatedPicture(photo, info, path, &error)) << error.toStdString();
    EXPECT_TRUE(ReadWholeFile(path) == WholePicture(photo, info));
    EXPECT_EQ(NamesIn(m_dir.path()), QStringList{"out.jpg"});
}

// A photo stored on its side is turned upright when decoded; the records, in
// upright coordinates, cross the band edges of the upright picture.
struct TurnedCase {
    const char* name;
    int orientation;
    QSize stored;
};
void PrintTo(const TurnedCase& c, std::ostream* os) {
    *os << c.name;
}

class BandedExportOfATurnedPhoto : public ::testing::TestWithParam<TurnedCase> {};

TEST_P(BandedExportOfATurnedPhoto, IsTheWholePictureOfTheUprightPhoto) {
    const TurnedCase& c = GetParam();
    QTemporaryDir dir;
    const QString photoPath = dir.filePath(QStringLiteral("turned.jpg"));
    ASSERT_TRUE(WriteWholeFile(
        photoPath,
        WithExif(EncodeTestJpeg(Photo(c.stored.width(), c.stored.height())), c.orientation)));
    CDibDC upright;
    ASSERT_TRUE(upright.Load(photoPath));
    const QSize size = upright.Image().size();
    ASSERT_EQ(size, c.orientation >= 5 ? c.stored.transposed() : c.stored);
    const PhotoInfo info = RecordsAcrossBandEdges(size.width(), size.height());
    ASSERT_EQ(info.SaveToFile(InfoFilePathFor(photoPath)), 1);
    const QString out = dir.filePath(QStringLiteral("out.jpg"));
    const PhotoFileExport result = ExportPhotoFile(photoPath, out);
    ASSERT_TRUE(result.Succeeded()) << result.detail.toStdString();
    // What the file gives back, as `tessamar --export` reads it.
    PhotoInfo read;
    ASSERT_EQ(ReadInfoFile(InfoFilePathFor(photoPath), read).outcome, InfoFileOutcome::Read);
    const QByteArray whole = WholePicture(upright.Image(), read);
    EXPECT_EQ(DifferentPixels(Decoded(ReadWholeFile(out)), Decoded(whole)), 0);
    // The same stream, with the photo's Exif after the JFIF segment.
    const QByteArray exif = ExportExifOfPhoto(photoPath, false);
    const int length = int(exif.size()) + 2;
    const QByteArray segment =
        QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + exif;
    EXPECT_TRUE(ReadWholeFile(out) == whole.left(20) + segment + whole.mid(20));
}

INSTANTIATE_TEST_SUITE_P(Orientations, BandedExportOfATurnedPhoto,
                         ::testing::Values(TurnedCase{"Upright", 1, {517, 389}},
                                           TurnedCase{"UpsideDown", 3, {517, 389}},
                                           TurnedCase{"TurnedRight", 6, {389, 517}},
                                           TurnedCase{"TurnedLeft", 8, {301, 611}}),
                         [](const auto& info) { return std::string(info.param.name); });

enum class Fault { FullFileSystem, FileSizeLimit };
struct FaultCase {
    const char* name;
    Fault fault;
    const char* reason;
};
void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class BandedExportFaults : public ::testing::TestWithParam<FaultCase> {};

// The encoder's bytes reach the file as they are made: a disk that fills up
// midway fails the export with the system's reason, the older picture stays
// and no temporary file is left.
TEST_P(BandedExportFaults, FailMidwayKeepTheOldPictureAndLeaveNothing) {
    const FaultCase& c = GetParam();
    QTemporaryDir dir;
    std::optional<SmallFileSystem> disk;
    std::string why;
    const QString folder =
        FaultFolder(c.fault == Fault::FullFileSystem, dir.path(), 300 * 1024, &disk, &why);
    if (folder.isEmpty())
        GTEST_SKIP() << why;
    const QString path = folder + QStringLiteral("/out.jpg");
    ASSERT_TRUE(WriteWholeFile(path, "older picture"));
    const QImage photo = Photo(1200, 900); // about 1 MB of JPEG
    const PhotoInfo info = RecordsAcrossBandEdges(1200, 900);
    const QStringList names = NamesIn(folder);
    std::vector<int> progress;
    BandedPictureOptions options;
    options.progress = [&progress](int done, int) { progress.push_back(done); };
    QString error;
    bool ok;
    {
        std::optional<FileSizeLimit> limit;
        if (c.fault == Fault::FileSizeLimit)
            limit.emplace(rlim_t(200 * 1024));
        ok = ExportAnnotatedPicture(photo, info, path, &error, nullptr, options);
    }
    EXPECT_FALSE(ok);
    EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << error.toStdString();
    // It failed midway, not before the first band nor after the last.
    ASSERT_FALSE(progress.empty());
    EXPECT_LT(progress.back(), 900);
    EXPECT_EQ(ReadWholeFile(path), QByteArray("older picture"));
    EXPECT_EQ(NamesIn(folder), names);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BandedExportFaults,
    ::testing::Values(FaultCase{"FullDisk", Fault::FullFileSystem, "No space left on device"},
                      FaultCase{"FileSizeLimit", Fault::FileSizeLimit, "File too large"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
