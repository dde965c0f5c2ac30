// The memory of large pictures kept for the next one while a
// PictureMemoryReuse lives. How many blocks stay is a matter of memory, for
// the benchmarks (bench/); here, that a picture given one is whole.

#include "lumoimage/PictureMemoryReuse.h"
#include "lumoimage/PixelBuffer.h"

#include <gtest/gtest.h>

namespace {

// 3000 x 2000 x 4 bytes = 24 MB: large enough to be mapped on its own.
constexpr int kW = 3000;
constexpr int kH = 2000;

// A large picture that goes leaves its block to the next one that fits it
// (not more than twice its size), which can write all of it; small pictures
// come from the ordinary allocator. No block outlives the reuse.
TEST(PictureMemoryReuse, AKeptBlockGoesToAPictureThatFitsItAndEndsWithTheReuse) {
    const struct {
        int width, height; // the next picture, after one of kW x kH went
        bool reused;
    } cases[] = {{2500, 2000, true}, {2000, 1400, false}, {kW, kH + 16, false}, {100, 100, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height);
        {
            const PictureMemoryReuse reuse(2);
            const uchar* first = AllocateRgb32(kW, kH).constBits();
            QImage next = AllocateRgb32(c.width, c.height);
            EXPECT_EQ(next.constBits() == first, c.reused);
            next.fill(Qt::red);
            EXPECT_EQ(next.pixel(c.width - 1, c.height - 1), QColor(Qt::red).rgb());
        }
        EXPECT_EQ(PictureMemoryReuse::KeptBlocks(), 0);
    }
}

} // namespace
