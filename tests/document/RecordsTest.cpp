#include "document/Records.h"
#include "common/TestSupport.h"
#include "document/PhotoInfo.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <tuple>

namespace {

// Lines pointing further down than -75 degrees or further up than +105 (y
// grows downwards) have their ends exchanged so that their text stands upright.
TEST(NormalizeDimensionEndsTest, PointsTheLineSoItsTextStandsUpright) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const std::tuple<POINT, POINT, bool> cases[] = {
        {{90, 5}, {10, 5}, true},      // -180 degrees
        {{0, 0}, {364, 1000}, false},  // -70
        {{0, 0}, {176, 1000}, true},   // -80
        {{0, 1000}, {-176, 0}, false}, // +100
        {{0, 1000}, {-364, 0}, true},  // +110
        {{kMin, 0}, {kMax, 0}, false}, // the difference does not fit 32 bits:
        {{kMax, 0}, {kMin, 0}, true}}; // it must not wrap to the other side
    for (const auto& [start, end, exchanged] : cases) {
        Dimension dim{0, start, end, {}, {}};
        NormalizeDimensionEnds(dim);
        EXPECT_EQ(dim.start, exchanged ? end : start) << end.x << "," << end.y;
        EXPECT_EQ(dim.end, exchanged ? start : end) << end.x << "," << end.y;
    }
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
        {"D:\\rooms\\flat.2.jpeg", "D:\\rooms\\flat.2.dat"},
        {"D:\\my.rooms\\kitchen", "D:\\my.rooms\\kitchen.dat"},
        {"/home/ann/my.rooms/kitchen", "/home/ann/my.rooms/kitchen.dat"},
        {"/home/ann/my.rooms/廚房.JPG", "/home/ann/my.rooms/廚房.dat"}};
    for (const auto& [photo, info] : paths)
        EXPECT_EQ(InfoFilePathFor(QString::fromUtf8(photo)), QString::fromUtf8(info)) << photo;
}

} // namespace
