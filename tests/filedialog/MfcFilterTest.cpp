#include "filedialog/MfcFilter.h"

#include <gtest/gtest.h>

namespace {

struct FilterCase {
    const char* mfc;
    QStringList expected;
};

class MfcFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(MfcFilterTest, BecomesQtNameFilters) {
    EXPECT_EQ(MfcFilterToNameFilters(QString::fromUtf8(GetParam().mfc)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MfcFilterTest,
    ::testing::Values(FilterCase{"JPGE IMAGE (*.jpg;*.jpeg)|*.jpg; *.jpeg|All Files (*.*)|*.*||",
                                 {"JPGE IMAGE (*.jpg *.jpeg)", "All Files (*)"}},
                      FilterCase{"Photos|*.jpg||", {"Photos (*.jpg)"}},
                      FilterCase{"Photos (*.jpg)|*.jpg", {"Photos (*.jpg)"}}, // no closing "||"
                      FilterCase{"|*.png||", {"*.png (*.png)"}},
                      FilterCase{"Images (*.png *.jpg);;Text (*.txt)",
                                 {"Images (*.png *.jpg)", "Text (*.txt)"}},
                      FilterCase{"", {}}));

} // namespace
