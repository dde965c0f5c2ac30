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

struct SizeCase {
    const char* name;
    int width, height; // the next picture, after one of kW x kH went
    bool reused;       // it gets the block of the one that went
    int keptAfter;     // blocks kept once it has its memory
};
void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << c.name;
}

class KeptPictureMemory : public ::testing::TestWithParam<SizeCase> {};

TEST_P(KeptPictureMemory, GoesToAPictureThatFitsIt) {
    const SizeCase& c = GetParam();
    const PictureMemoryReuse reuse(2);
    const uchar* first = nullptr;
    {
        QImage picture = AllocateRgb32(kW, kH);
        ASSERT_FALSE(picture.isNull());
        first = picture.constBits();
    }
    ASSERT_EQ(PictureMemoryReuse::KeptBlocks(), 1);
    QImage next = AllocateRgb32(c.width, c.height);
    ASSERT_FALSE(next.isNull());
    EXPECT_EQ(next.constBits() == first, c.reused);
    EXPECT_EQ(PictureMemoryReuse::KeptBlocks(), c.keptAfter);
    // All of it can be written.
    next.fill(Qt::red);
    EXPECT_EQ(next.pixel(c.width - 1, c.height - 1), QColor(Qt::red).rgb());
}

INSTANTIATE_TEST_SUITE_P(Sizes, KeptPictureMemory,
                         ::testing::Values(SizeCase{"SameSize", kW, kH, true, 0},
                                           SizeCase{"SmallerButOverHalf", 2500, 2000, true, 0},
                                           // Not more than twice the picture: the block goes, so
                                           // what is mapped does not grow.
                                           SizeCase{"LessThanHalf", 2000, 1400, false, 0},
                                           SizeCase{"Larger", kW, kH + 16, false, 0},
                                           // Small pictures come from the ordinary allocator.
                                           SizeCase{"Small", 100, 100, false, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

struct CountCase {
    const char* name;
    int blocks;   // what the PictureMemoryReuse keeps (0: none lives)
    int pictures; // large pictures that go at once
    int kept;
};
void PrintTo(const CountCase& c, std::ostream* os) {
    *os << c.name;
}

class KeptBlockCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(KeptBlockCount, IsBoundedAndEndsWithTheReuse) {
    const CountCase& c = GetParam();
    std::optional<PictureMemoryReuse> reuse;
    if (c.blocks > 0)
        reuse.emplace(c.blocks);
    {
        std::vector<QImage> pictures;
        for (int i = 0; i < c.pictures; ++i)
            pictures.push_back(AllocateRgb32(kW, kH));
    }
    EXPECT_EQ(PictureMemoryReuse::KeptBlocks(), c.kept);
    reuse.reset();
    EXPECT_EQ(PictureMemoryReuse::KeptBlocks(), 0);
}

INSTANTIATE_TEST_SUITE_P(Counts, KeptBlockCount,
                         ::testing::Values(CountCase{"NoReuse", 0, 2, 0},
                                           CountCase{"OneOfOne", 1, 1, 1},
                                           CountCase{"TwoOfThree", 2, 3, 2},
                                           CountCase{"ThreeOfThree", 3, 3, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
