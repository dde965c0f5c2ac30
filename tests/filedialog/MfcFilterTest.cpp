#include "filedialog/MfcFilter.h"
#include "filedialog/CMyFileDialog.h"

#include <QFileSystemModel>
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
    ::testing::Values(
        FilterCase{"JPGE IMAGE (*.jpg;*.jpeg)|*.jpg; *.jpeg||", {"JPGE IMAGE (*.jpg *.jpeg)"}},
        FilterCase{"JPGE IMAGE (*.jpg;*.jpeg)|*.jpg; *.jpeg|All Files (*.*)|*.*||",
                   {"JPGE IMAGE (*.jpg *.jpeg)", "All Files (*)"}},
        FilterCase{"Photos|*.jpg||", {"Photos (*.jpg)"}},
        FilterCase{"Photos (*.jpg)|*.jpg", {"Photos (*.jpg)"}}, // no closing "||"
        FilterCase{"|*.png||", {"*.png (*.png)"}},
        FilterCase{"Images (*.png *.jpg);;Text (*.txt)", {"Images (*.png *.jpg)", "Text (*.txt)"}},
        FilterCase{"", {}}));

TEST(MfcFilterDialogTest, TheDialogMatchesEachPatternOfTheOpenFilter) {
    CMyFileDialog dialog(true, QString(), QString(), OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST,
                         QStringLiteral("JPGE IMAGE (*.jpg;*.jpeg)|*.jpg; *.jpeg||"));
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->nameFilters(), (QStringList{"*.jpg", "*.jpeg"}));
    EXPECT_EQ(dialog.GetFlags(), 0x1800u | 0x80040u);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
}

} // namespace
