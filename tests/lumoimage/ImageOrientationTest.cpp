#include "lumoimage/ImageOrientation.h"
#include "lumoimage/PixelBuffer.h"

#include <QTransform>

#include <gtest/gtest.h>

namespace {

// Qt's own mirroring and turning, step by step, as the reference.
QImage Reference(const QImage& image, int orientation) {
    const QTransform quarter = QTransform().rotate(90);
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return image.mirrored(true, true);
    case 4:
        return image.mirrored(false, true);
    case 5:
        return image.transformed(quarter).mirrored(true, false);
    case 6:
        return image.transformed(quarter);
    case 7:
        return image.transformed(quarter).mirrored(false, true);
    case 8:
        return image.transformed(QTransform().rotate(270));
    default:
        return image;
    }
}

QImage Numbered(int width, int height) {
    QImage image = AllocateRgb32(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, 0xFF000000u | quint32(y * width + x));
    return image;
}

class TurnUprightTest : public ::testing::TestWithParam<int> {};

// Odd sizes that do not fill the last tile, and a picture large enough to
// live in a mapped buffer.
TEST_P(TurnUprightTest, MovesEveryPixelLikeTheReference) {
    const int orientation = GetParam();
    for (const QSize size : {QSize(37, 23), QSize(1, 5), QSize(2100, 1001)}) {
        const QImage stored = Numbered(size.width(), size.height());
        const QImage upright = TurnUpright(stored, orientation);
        ASSERT_EQ(upright.size(), UprightSize(size, orientation));
        ASSERT_EQ(upright.format(), QImage::Format_RGB32);
        EXPECT_TRUE(upright == Reference(stored, orientation))
            << size.width() << "x" << size.height();
    }
}

INSTANTIATE_TEST_SUITE_P(AllEight, TurnUprightTest, ::testing::Range(1, 9));

TEST(PixelBufferTest, LargeBuffersAreWritableAndSurviveCopies) {
    QImage big = AllocateRgb32(3000, 2000);
    ASSERT_FALSE(big.isNull());
    EXPECT_EQ(big.bytesPerLine(), 3000 * 4);
    const uchar* mapped = big.constBits();
    big.fill(Qt::red);
    EXPECT_EQ(big.constBits(), mapped); // written in place, not copied
    QImage copy = big;                  // shared; writing to the copy detaches it
    copy.setPixel(0, 0, qRgb(0, 0, 255));
    big = QImage();
    EXPECT_EQ(copy.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(copy.pixel(2999, 1999), qRgb(255, 0, 0));
    EXPECT_TRUE(AllocateRgb32(0, 10).isNull());
}

} // namespace
