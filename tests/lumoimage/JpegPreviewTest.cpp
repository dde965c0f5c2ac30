#include "lumoimage/JpegPreview.h"
#include "JpegFixtures.h"
#include "common/TestSupport.h"
#include "lumoimage/ExifReader.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

namespace {

const QColor kGrey(128, 128, 128);
const QColor kOrange(255, 160, 0);

// Every prefix of a real header, and every single-byte corruption of its Exif
// segment, is read without going outside the buffer (the sanitizer build
// checks) and gives either the true values or the neutral ones.
TEST(ExifReaderTest, DamagedHeadersNeverReadOutOfBounds) {
    const QByteArray thumb = EncodeTestJpeg(CornerMarkedPicture(16, 8));
    const QByteArray jpeg = WithExif(EncodeTestJpeg(CornerMarkedPicture(48, 32)), 8, thumb, true);
    const auto scan = [](std::vector<std::uint8_t> bytes) { // exactly these bytes, no slack
        JpegHeaderInfo info;
        ScanJpegHeader(bytes.data(), bytes.size(), &info);
        EXPECT_TRUE(info.orientation >= 1 && info.orientation <= 8) << info.orientation;
        EXPECT_LE(info.thumbnailOffset + info.thumbnailLength,
                  info.thumbnailLength ? bytes.size() : ~0u);
        return info;
    };
    const auto* begin = reinterpret_cast<const std::uint8_t*>(jpeg.constData());
    EXPECT_EQ(scan({begin, begin + jpeg.size()}).orientation, 8);
    for (qsizetype n = 0; n < jpeg.size(); ++n)
        scan({begin, begin + n});
    for (qsizetype i = 2; i < jpeg.indexOf(thumb); ++i)
        for (std::uint8_t value : {0x00, 0x7F, 0xFF}) {
            std::vector<std::uint8_t> bytes(begin, begin + jpeg.size());
            bytes[std::size_t(i)] = value;
            scan(bytes);
        }
}

struct PreviewCase {
    const char* name;
    int orientation;
    QSize thumbnail; // empty: none
    bool thumbnailUsed;
};
void PrintTo(const PreviewCase& c, std::ostream* os) {
    *os << c.name << ": orientation " << c.orientation << ", thumbnail " << c.thumbnail.width()
        << "x" << c.thumbnail.height() << (c.thumbnailUsed ? " used" : " not used");
}

class PreviewChoiceTest : public ::testing::TestWithParam<PreviewCase> {};

// The photo is 1600 x 1200 and grey with a red top-left corner; its thumbnail
// is orange, so the result tells which one was decoded. The box is 120 x 90.
TEST_P(PreviewChoiceTest, DecodesOnlyWhatTheBoxNeeds) {
    const PreviewCase c = GetParam();
    QImage photo(1600, 1200, QImage::Format_RGB32), thumbnail(c.thumbnail, QImage::Format_RGB32);
    photo.fill(kGrey);
    thumbnail.fill(kOrange);
    QPainter(&photo).fillRect(0, 0, 160, 160, Qt::red);
    const QByteArray thumb = thumbnail.isNull() ? QByteArray() : EncodeTestJpeg(thumbnail, 80);
    QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpg");
    ASSERT_TRUE(WriteWholeFile(
        path, WithExif(EncodeTestJpeg(photo, 80, TJSAMP_420), c.orientation, thumb)));

    QImage out;
    QSize full;
    QString error;
    ASSERT_TRUE(LoadJpegPreview(path, QSize(120, 90), &out, &full, &error)) << error.toStdString();
    EXPECT_EQ(full, c.orientation >= 5 ? QSize(1200, 1600) : QSize(1600, 1200));
    // Enough pixels to be drawn fitted into the box without enlarging, upright:
    // 4:3 fills it, 3:4 is 67 pixels wide (1200 * 90 / 1600, truncated).
    const QSize drawn = c.orientation >= 5 ? QSize(67, 90) : QSize(120, 90);
    EXPECT_TRUE(out.width() >= drawn.width() && out.height() >= drawn.height()) << out.width();
    EXPECT_EQ(out.width() > out.height(), full.width() > full.height());
    const QColor centre = out.pixelColor(out.width() / 2, out.height() / 2);
    EXPECT_TRUE(IsNear(centre, c.thumbnailUsed ? kOrange : kGrey, 20));
    if (c.thumbnailUsed)
        return;
    // Reduced in the DCT: 1/8 of the photo covers the box either way round.
    EXPECT_LE(out.width() * out.height(), 200 * 150);
    // The red corner lands where the orientation puts it: bottom right for 7.
    const QPoint corner =
        c.orientation == 7 ? QPoint(out.width() - 5, out.height() - 5) : QPoint(4, 4);
    EXPECT_TRUE(IsNear(out.pixelColor(corner), Qt::red, 40));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PreviewChoiceTest,
    ::testing::Values(PreviewCase{"NoThumbnail", 1, {}, false},
                      PreviewCase{"TransposedNoThumbnail", 7, {}, false},
                      PreviewCase{"LargeEnoughThumbnail", 1, {160, 120}, true},
                      PreviewCase{"TurnedThumbnail", 8, {160, 120}, true},
                      PreviewCase{"TooSmallThumbnail", 1, {80, 60}, false},
                      PreviewCase{"LetterboxedThumbnail", 1, {160, 90}, false}),
    [](const ::testing::TestParamInfo<PreviewCase>& info) { return std::string(info.param.name); });

} // namespace
