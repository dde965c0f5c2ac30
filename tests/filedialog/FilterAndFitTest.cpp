#include "filedialog/MfcFilter.h"
#include "filedialog/PreviewFit.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

TEST(FitPictureRectTest, KeepsProportionsAndCentres) {
    const std::tuple<QSize, QSize, QRect> cases[] = {
        {{3000, 2000}, {120, 90}, {0, 5, 120, 80}},                // landscape
        {{2000, 3000}, {120, 90}, {30, 0, 60, 90}},                // portrait
        {{3001, 2000}, {121, 91}, {0, 5, 121, 80}},                // 80.64 truncates, (91-80)/2 = 5
        {{10000, 1}, {120, 90}, {0, 45, 120, 0}},                  // very wide: under a pixel high
        {{100000, 70000}, {30000, 20000}, {714, 0, 28571, 20000}}, // 32-bit overflow
        {{0, 2000}, {120, 90}, {0, 0, 0, 0}},                      // nothing to draw
        {{3000, 2000}, {0, 0}, {0, 0, 0, 0}}};
    for (const auto& [picture, client, expected] : cases) {
        const QRect r = FitPictureRect(picture, client);
        EXPECT_EQ(r, expected) << picture.width() << "x" << picture.height() << " gives " << r.x()
                               << "," << r.y() << " " << r.width() << "x" << r.height();
    }
}

TEST(MfcFilterTest, BecomesQtNameFilters) {
    const std::pair<const char*, QStringList> cases[] = {
        {"JPGE IMAGE (*.jpg;*.jpeg)|*.jpg; *.jpeg|All Files (*.*)|*.*||",
         {"JPGE IMAGE (*.jpg *.jpeg)", "All Files (*)"}},
        {"Photos|*.jpg||", {"Photos (*.jpg)"}},
        {"Photos (*.jpg)|*.jpg", {"Photos (*.jpg)"}}, // no closing "||"
        {"|*.png||", {"*.png (*.png)"}},
        {"Images (*.png *.jpg);;Text (*.txt)", {"Images (*.png *.jpg)", "Text (*.txt)"}},
        {"", {}}};
    for (const auto& [mfc, expected] : cases)
        EXPECT_EQ(MfcFilterToNameFilters(QString::fromUtf8(mfc)), expected) << mfc;
}

} // namespace
