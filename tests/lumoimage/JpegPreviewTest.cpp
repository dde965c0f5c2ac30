#include "lumoimage/JpegPreview.h"
#include "JpegFixtures.h"
#include "common/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QColor kGrey(128, 128, 128);
const QColor kOrange(255, 160, 0);

QImage Solid(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

struct PreviewCase {
    const char* name;
    int orientation;
    QSize thumbnail; // empty: none
    bool thumbnailUsed;
};

class PreviewChoiceTest : public ::testing::TestWithParam<PreviewCase> {};

// The photo is 1600 x 1200 and grey with a red top-left corner; its thumbnail
// is orange, so the result tells which one was decoded. The box is 120 x 90.
TEST_P(PreviewChoiceTest, DecodesOnlyWhatTheBoxNeeds) {
    const PreviewCase c = GetParam();
    QImage photo = Solid({1600, 1200}, kGrey);
    QPainter(&photo).fillRect(0, 0, 160, 160, Qt::red);
    const QByteArray thumb =
        c.thumbnail.isEmpty() ? QByteArray() : EncodeTestJpeg(Solid(c.thumbnail, kOrange), 80);
    QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpg");
    ASSERT_TRUE(WriteWholeFile(
        path, WithExif(EncodeTestJpeg(photo, 80, TJSAMP_420), c.orientation, thumb)));

    QImage out;
    QSize full;
    QString error;
    ASSERT_TRUE(LoadJpegPreview(path, QSize(120, 90), &out, &full, &error)) << error.toStdString();
    EXPECT_EQ(full, c.orientation >= 5 ? QSize(1200, 1600) : QSize(1600, 1200));
    // Enough pixels to be drawn fitted into the box without enlarging, upright.
    const QSize drawn = full.scaled(120, 90, Qt::KeepAspectRatio);
    EXPECT_GE(out.width(), drawn.width());
    EXPECT_GE(out.height(), drawn.height());
    EXPECT_EQ(out.width() > out.height(), full.width() > full.height());
    const QColor centre = out.pixelColor(out.width() / 2, out.height() / 2);
    EXPECT_TRUE(IsNear(centre, c.thumbnailUsed ? kOrange : kGrey, 20));
    if (c.thumbnailUsed)
        return;
    // Reduced in the DCT: 1/8 of the photo covers the box either way round.
    EXPECT_LE(out.width() * out.height(), 200 * 150);
    // The red corner lands where the orientation puts it: bottom right for 7.
    const int inset = std::min(out.width(), out.height()) / 20;
    const QPoint corner = c.orientation == 7
                              ? QPoint(out.width() - 1 - inset, out.height() - 1 - inset)
                              : QPoint(inset, inset);
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
