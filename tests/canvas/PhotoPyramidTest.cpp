// The pyramid of reduced copies: level k is ceil(W / 2^k) x ceil(H / 2^k),
// halved until neither side is over 64 pixels, and an odd edge keeps its
// last row and column.
#include "canvas/PhotoPyramid.h"

#include <gtest/gtest.h>

#include <QColor>

namespace {

TEST(PhotoPyramidTest, LevelsRoundUpUntilTheSmallestAndOddEdgesStay) {
    const struct {
        int w, h, levels;
    } cases[] = {{64, 64, 1}, {65, 1, 2}, {129, 3, 3}, {257, 257, 4}, {1000, 30, 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        QImage photo(c.w, c.h, QImage::Format_RGB32);
        photo.fill(Qt::gray);
        PhotoPyramid pyramid;
        pyramid.SetSource(photo);
        int last = -1;
        pyramid.LevelFor(1e-9, true, &last);
        EXPECT_EQ(last, c.levels - 1);
        for (int k = 0; k < c.levels; ++k) {
            int level = -1;
            const QImage image = pyramid.LevelFor(1.0 / (1 << k), true, &level);
            ASSERT_EQ(level, k);
            EXPECT_EQ(image.size(), QSize((c.w + (1 << k) - 1) >> k, (c.h + (1 << k) - 1) >> k));
        }
    }
    // The odd last column is averaged with itself, not dropped.
    QImage row(3, 1, QImage::Format_RGB32);
    row.setPixel(0, 0, qRgb(255, 0, 0));
    row.setPixel(1, 0, qRgb(0, 255, 0));
    row.setPixel(2, 0, qRgb(0, 0, 255));
    const QImage half = PhotoPyramid::Halve(row);
    ASSERT_EQ(half.size(), QSize(2, 1));
    EXPECT_EQ(QColor(half.pixel(1, 0)), QColor(0, 0, 255));
}

} // namespace
