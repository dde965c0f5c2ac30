#include "document/Records.h"
#include "common/TestSupport.h"
#include "document/PhotoInfo.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

struct EndsCase {
    const char* name;
    POINT start;
    POINT end;
    bool exchanged;
};

class NormalizeDimensionEndsTest : public ::testing::TestWithParam<EndsCase> {};

TEST_P(NormalizeDimensionEndsTest, PointsTheLineSoItsTextStandsUpright) {
    const EndsCase& c = GetParam();
    Dimension dim{0, c.start, c.end, {}, {}};
    NormalizeDimensionEnds(dim);
    EXPECT_EQ(dim.start, c.exchanged ? c.end : c.start);
    EXPECT_EQ(dim.end, c.exchanged ? c.start : c.end);
}

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Directions, NormalizeDimensionEndsTest,
    ::testing::Values(EndsCase{"Rightwards", {10, 5}, {90, 5}, false},
                      EndsCase{"Leftwards", {90, 5}, {10, 5}, true},       // -180 degrees
                      EndsCase{"DownRight70", {0, 0}, {364, 1000}, false}, // -70
                      EndsCase{"DownRight80", {0, 0}, {176, 1000}, true},  // -80
                      EndsCase{"UpLeft100", {0, 1000}, {-176, 0}, false},  // +100
                      EndsCase{"UpLeft110", {0, 1000}, {-364, 0}, true},   // +110
                      EndsCase{"Coincident", {7, 7}, {7, 7}, false},
                      // The difference does not fit 32 bits: it must not wrap to the left.
                      EndsCase{"ExtremeRightwards", {kMin, 0}, {kMax, 0}, false},
                      EndsCase{"ExtremeLeftwards", {kMax, 0}, {kMin, 0}, true}),
    [](const ::testing::TestParamInfo<EndsCase>& info) { return info.param.name; });

TEST(NormalizeDimensionEndsTest, BothBoundsAreKeptAndEverythingBeyondIsExchanged) {
    const double lower = -1.3089969166666666; // -75 degrees with pi = 3.1415926
    const double upper = 1.8325956833333334;  // +105 degrees likewise
    EXPECT_FALSE(DirectionNeedsExchange(lower));
    EXPECT_FALSE(DirectionNeedsExchange(upper));
    EXPECT_TRUE(DirectionNeedsExchange(std::nextafter(lower, -10.0)));
    EXPECT_TRUE(DirectionNeedsExchange(std::nextafter(upper, 10.0)));
    // -75 degrees with the precise pi lies just beyond the bound.
    EXPECT_TRUE(DirectionNeedsExchange(-75.0 * M_PI / 180.0));
}

TEST(InfoFilePathForTest, ReplacesTheExtensionOfTheFileNameOnly) {
    const std::pair<const char*, const char*> paths[] = {
        {"kitchen.jpg", "kitchen.dat"},
        {"D:\\rooms\\flat.2.jpeg", "D:\\rooms\\flat.2.dat"},
        {"D:\\my.rooms\\kitchen", "D:\\my.rooms\\kitchen.dat"},
        {"/home/ann/my.rooms/kitchen", "/home/ann/my.rooms/kitchen.dat"},
        {"/home/ann/my.rooms/廚房.JPG", "/home/ann/my.rooms/廚房.dat"}};
    for (const auto& [photo, info] : paths)
        EXPECT_EQ(InfoFilePathFor(QString::fromUtf8(photo)), QString::fromUtf8(info)) << photo;
}

} // namespace
