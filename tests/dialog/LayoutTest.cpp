// Where the main window places its controls for a client size.

#include "DialogFixture.h"

namespace {
// Controls placed against each edge of the window, inside the panel and
// against the bottom of the property group.
void ExpectLayout(const CMeasureDlg& dlg, int W, int H) {
    const int PL = W - 145;
    const std::pair<int, QRect> expected[] = {
        {IDC_CANVAS, {5, 5, W - 155, H - 10}},
        {IDC_PANEL, {PL, 0, 140, H - 5}},
        {IDC_OPEN_PHOTO, {PL + 20, 65, 100, 25}},
        {IDC_ZOOM_FIT, {PL + 100, 270, 30, 30}},
        {IDC_PROPERTY_GROUP, {PL + 5, 335, 130, H - 345}},
        {IDC_SIZE_EDIT, {PL + 80, 410, 45, 20}},
        {IDC_SUPPORT_TEXT, {PL + 7, H - 138, 126, 126}},
    };
    for (const auto& [id, rect] : expected)
        EXPECT_EQ(dlg.GetDlgItem(id)->geometry(), rect) << id << " at " << W << "x" << H;
}

class LayoutAtSize : public MainWindowTest, public ::testing::WithParamInterface<QSize> {};
} // namespace

TEST_P(LayoutAtSize, ControlsFollowTheClientSize) {
    const QSize client = GetParam();
    dlg->OnSize(CMeasureDlg::SizeRestored, client.width(), client.height());
    ExpectLayout(*dlg, client.width(), client.height());
}

INSTANTIATE_TEST_SUITE_P(ClientSizes, LayoutAtSize,
                         ::testing::Values(QSize(1024, 766), QSize(800, 600), QSize(1912, 1046)));

TEST_F(MainWindowTest, StartsLaidOutAt1024By766AndLaysOutAgainWhenMaximisedAndRestored) {
    EXPECT_EQ(dlg->size(), QSize(1024, 766));
    ExpectLayout(*dlg, 1024, 766);
    dlg->showMaximized();
    QTRY_VERIFY(dlg->isMaximized() && dlg->size() != QSize(1024, 766));
    ExpectLayout(*dlg, dlg->width(), dlg->height());
    dlg->showNormal();
    QTRY_COMPARE(dlg->size(), QSize(1024, 766));
    ExpectLayout(*dlg, 1024, 766);
}
