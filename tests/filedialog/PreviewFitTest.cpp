#include "filedialog/PreviewFit.h"

#include <gtest/gtest.h>

namespace {

struct FitCase {
    QSize picture;
    QSize client;
    QRect expected;
};

class FitPictureRectTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitPictureRectTest, KeepsProportionsAndCentres) {
    const FitCase& c = GetParam();
    const QRect r = FitPictureRect(c.picture, c.client);
    EXPECT_EQ(r, c.expected) << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

INSTANTIATE_TEST_SUITE_P(
    Table, FitPictureRectTest,
    ::testing::Values(
        FitCase{{3000, 2000}, {120, 90}, {0, 5, 120, 80}}, // landscape
        FitCase{{2000, 3000}, {120, 90}, {30, 0, 60, 90}}, // portrait
        FitCase{{4000, 3000}, {120, 90}, {0, 0, 120, 90}}, // same proportions
        FitCase{{3001, 2000}, {121, 91}, {0, 5, 121, 80}}, // 80.64 truncates, (91-80)/2 = 5
        FitCase{{10000, 1}, {120, 90}, {0, 45, 120, 0}},   // very wide: under a pixel high
        FitCase{{100000, 70000}, {30000, 20000}, {714, 0, 28571, 20000}}, // 32-bit overflow
        FitCase{{0, 2000}, {120, 90}, {0, 0, 0, 0}},                      // nothing to draw
        FitCase{{3000, 2000}, {0, 0}, {0, 0, 0, 0}}));

} // namespace
