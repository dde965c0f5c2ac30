#include "filedialog/DialogUnits.h"

#include <gtest/gtest.h>

namespace {

TEST(DialogUnitsTest, AQuarterOfTheWidthAndAnEighthOfTheHeightTruncated) {
    // The 8 x 16 base units of the Windows system font.
    EXPECT_EQ(DialogUnitsToPixels(QRect(33, 7, 80, 60), QSize(8, 16)), QRect(66, 14, 160, 120));
    EXPECT_EQ(DialogUnitsToPixels(QRect(42, 74, 63, 8), QSize(7, 15)), QRect(73, 138, 110, 15));
}

} // namespace
