#include "lumoimage/JpegPreview.h"
#include "JpegFixtures.h"
#include "common/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class JpegPreviewTest : public ::testing::Test {
protected:
    QString Write(const QByteArray& bytes) {
        const QString path = m_dir.filePath(QString("p%1.jpg").arg(++m_count));
        EXPECT_TRUE(WriteWholeFile(path, bytes));
        return path;
    }
    QTemporaryDir m_dir;
    int m_count = 0;
};

QImage Solid(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

struct PreviewCase {
    const char* name;
    int orientation;
    QSize thumbnail; // empty = no thumbnail
    bool expectThumbnail;
};

class PreviewChoiceTest : public JpegPreviewTest,
                          public ::testing::WithParamInterface<PreviewCase> {};

// The photo is 1600 x 1200 and grey; its thumbnail is orange so the result
// tells which one was decoded. The box is 120 x 90.
TEST_P(PreviewChoiceTest, DecodesOnlyWhatTheBoxNeeds) {
    const PreviewCase c = GetParam();
    QImage photo = Solid(1600, 1200, QColor(128, 128, 128));
    for (int y = 0; y < 160; ++y) // red block at the stored top-left corner
        for (int x = 0; x < 160; ++x)
            photo.setPixel(x, y, qRgb(255, 0, 0));
    QByteArray thumb;
    if (!c.thumbnail.isEmpty()) {
        QImage small = Solid(c.thumbnail.width(), c.thumbnail.height(), QColor(255, 160, 0));
        thumb = EncodeTestJpeg(small, 80);
    }
    const QString path = Write(WithExif(EncodeTestJpeg(photo, 80, true), c.orientation, thumb));

    QImage out;
    QSize full;
    QString error;
    ASSERT_TRUE(LoadJpegPreview(path, QSize(120, 90), &out, &full, &error)) << error.toStdString();
    const bool swapped = c.orientation >= 5;
    EXPECT_EQ(full, swapped ? QSize(1200, 1600) : QSize(1600, 1200));
    // large enough to be drawn fitted into the box without enlarging ...
    const QSize drawn = full.scaled(120, 90, Qt::KeepAspectRatio);
    EXPECT_GE(out.width(), drawn.width());
    EXPECT_GE(out.height(), drawn.height());
    // ... upright, with the photo's proportions ...
    EXPECT_EQ(out.width() > out.height(), full.width() > full.height());
    const QColor centre = out.pixelColor(out.width() / 2, out.height() / 2);
    if (c.expectThumbnail) {
        EXPECT_TRUE(IsNear(centre, QColor(255, 160, 0), 20)) << ::testing::PrintToString(centre);
        return;
    }
    EXPECT_TRUE(IsNear(centre, QColor(128, 128, 128), 10)) << ::testing::PrintToString(centre);
    // ... and reduced in the DCT: 1600 x 1200 needs no more than 1/8 for 120 x 90
    // (1/4 when turned, 90 high needs 120 x 160 of 1200 x 1600 -> 1/8 = 150 x 200).
    EXPECT_LE(out.width() * out.height(), 200 * 150);
    // the red corner lands where the orientation puts it
    const int corner = std::min(out.width(), out.height()) / 20;
    const bool right =
        c.orientation == 2 || c.orientation == 3 || c.orientation == 6 || c.orientation == 7;
    const bool bottom =
        c.orientation == 3 || c.orientation == 4 || c.orientation == 7 || c.orientation == 8;
    const QColor red = out.pixelColor(right ? out.width() - 1 - corner : corner,
                                      bottom ? out.height() - 1 - corner : corner);
    EXPECT_TRUE(IsNear(red, Qt::red, 40)) << ::testing::PrintToString(red);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PreviewChoiceTest,
    ::testing::Values(PreviewCase{"NoThumbnail", 1, {}, false},
                      PreviewCase{"TurnedNoThumbnail", 6, {}, false},
                      PreviewCase{"MirroredNoThumbnail", 2, {}, false},
                      PreviewCase{"TransposedNoThumbnail", 7, {}, false},
                      PreviewCase{"LargeEnoughThumbnail", 1, {160, 120}, true},
                      PreviewCase{"TurnedThumbnail", 8, {160, 120}, true},
                      PreviewCase{"TooSmallThumbnail", 1, {80, 60}, false},
                      PreviewCase{"LetterboxedThumbnail", 1, {160, 90}, false}),
    [](const ::testing::TestParamInfo<PreviewCase>& info) { return std::string(info.param.name); });

TEST_F(JpegPreviewTest, FailsCleanlyOnBrokenFilesAndLeavesTheOutputsAlone) {
    const QByteArray good = EncodeTestJpeg(Solid(64, 48, Qt::gray));
    const QImage marker = Solid(3, 3, Qt::magenta);
    for (const QByteArray& bytes :
         {QByteArray(), QByteArray("plain text"), good.left(50), good.chopped(good.size() / 3),
          WithFrameSize(good, 65535, 65535)}) {
        QImage out = marker;
        QSize full(7, 7);
        QString error;
        EXPECT_FALSE(LoadJpegPreview(Write(bytes), QSize(120, 90), &out, &full, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(out, marker);
        EXPECT_EQ(full, QSize(7, 7));
    }
    QImage out;
    QSize full;
    QString error;
    EXPECT_FALSE(
        LoadJpegPreview(m_dir.filePath("missing.jpg"), QSize(120, 90), &out, &full, &error));
}

TEST_F(JpegPreviewTest, SmallPhotosComeAtFullSize) {
    QImage out;
    QSize full;
    QString error;
    ASSERT_TRUE(LoadJpegPreview(Write(EncodeTestJpeg(Solid(40, 30, Qt::gray))), QSize(120, 90),
                                &out, &full, &error));
    EXPECT_EQ(out.size(), QSize(40, 30));
    EXPECT_EQ(full, QSize(40, 30));
}

} // namespace
