// The memory of large pictures kept for the next one while a
// PictureMemoryReuse lives: which picture gets a kept block, how many blocks
// stay, and that nothing is kept without it or for small pictures.

#include "lumoimage/PictureMemoryReuse.h"
#include "lumoimage/PixelBuffer.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

// 3000 x 2000 x 4 bytes = 24 MB: large enough to be mapped on its own.
constexpr int kW = 3000;
constexpr int kH = 2000;

TEST(PictureMemoryReuse, AKeptBlockGoesToAPictureThatFitsIt) {
    const struct {
        int width, height; // the next picture, after one of kW x kH went
        bool reused;       // it gets the block of the one that went
        int keptAfter;     // blocks kept once it has its memory
    } cases[] = {{kW, kH, true, 0},
                 {2500, 2000, true, 0},
                 // Not more than twice the picture: the block goes, so what
                 // is mapped does not grow.
                 {2000, 1400, false, 0},
                 {kW, kH + 16, false, 0},
                 // Small pictures come from the ordinary allocator.
                 {100, 100, false, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height);
        const PictureMemoryReuse reuse(2);
        const uchar* first = AllocateRgb32(kW, kH).constBits();
        ASSERT_EQ(PictureMemoryReuse::KeptBlocks(), 1);
        QImage next = AllocateRgb32(c.width, c.height);
        EXPECT_EQ(next.constBits() == first, c.reused);
        EXPECT_EQ(PictureMemoryReuse::KeptBlocks(), c.keptAfter);
        next.fill(Qt::red); // all of it can be written
        EXPECT_EQ(next.pixel(c.width - 1, c.height - 1), QColor(Qt::red).rgb());
    }
}

TEST(PictureMemoryReuse, TheKeptBlocksAreBoundedAndEndWithTheReuse) {
    const struct {
        int blocks;   // what the PictureMemoryReuse keeps (0: none lives)
        int pictures; // large pictures that go at once
        int kept;
    } cases[] = {{0, 2, 0}, {1, 1, 1}, {2, 3, 2}, {3, 3, 3}};
    for (const auto& c : cases) {
        std::optional<PictureMemoryReuse> reuse;
        if (c.blocks > 0)
            reuse.emplace(c.blocks);
        std::vector<QImage> pictures;
        for (int i = 0; i < c.pictures; ++i)
            pictures.push_back(AllocateRgb32(kW, kH));
        pictures.clear();
        EXPECT_EQ(PictureMemoryReuse::KeptBlocks(), c.kept) << c.blocks << " of " << c.pictures;
        reuse.reset();
        EXPECT_EQ(PictureMemoryReuse::KeptBlocks(), 0);
    }
}

} // namespace
