// Where the main window places its controls for a client size.

#include "DialogFixture.h"

#include <QRect>

namespace {
// Every control the layout moves, for a client area of W x H.
std::vector<std::pair<int, QRect>> ExpectedLayout(int W, int H) {
    const int PL = W - 145, PT = 0;
    const int ZL = PL + 5, ZT = PT + 255;
    const int GL = PL + 5, GT = PT + 335;
    const int GB = GT + (H - 5) - PT - 340;
    return {
        {IDC_CANVAS, {5, 5, W - 155, H - 10}},
        {IDC_STATUS, {5, H - 30, W - 10, 30}},
        {IDC_PANEL, {W - 145, 0, 140, H - 5}},
        {IDC_LOGO, {PL + 50, PT + 15, 40, 40}},
        {IDC_OPEN_PHOTO, {PL + 20, PT + 65, 100, 25}},
        {IDC_SAVE_INFO, {PL + 20, PT + 95, 100, 25}},
        {IDC_EXPORT_PICTURE, {PL + 20, PT + 125, 100, 25}},
        {IDC_CONNECT_RANGE, {PL + 20, PT + 155, 100, 25}},
        {IDC_HELP, {PL + 20, PT + 185, 100, 25}},
        {IDC_EXIT, {PL + 20, PT + 215, 100, 25}},
        {IDC_ZOOM_GROUP, {PL + 5, PT + 255, 130, 50}},
        {IDC_TOOL_DRAG, {PL + 10, PT + 310, 30, 30}},
        {IDC_TOOL_DIMENSION, {PL + 40, PT + 310, 30, 30}},
        {IDC_TOOL_NOTE, {PL + 70, PT + 310, 30, 30}},
        {IDC_TOOL_SELECT, {PL + 100, PT + 310, 30, 30}},
        {IDC_PROPERTY_GROUP, {PL + 5, PT + 335, 130, H - 345}},
        {IDC_ZOOM_IN, {ZL + 5, ZT + 15, 30, 30}},
        {IDC_ZOOM_OUT, {ZL + 35, ZT + 15, 30, 30}},
        {IDC_ZOOM_ACTUAL, {ZL + 65, ZT + 15, 30, 30}},
        {IDC_ZOOM_FIT, {ZL + 95, ZT + 15, 30, 30}},
        {IDC_COLOUR_LABEL, {GL + 10, GT + 20, 65, 28}},
        {IDC_COLOUR_SWATCH, {GL + 75, GT + 15, 30, 25}},
        {IDC_DIM_FONT_LABEL, {GL + 10, GT + 50, 40, 20}},
        {IDC_DIM_FONT_NAME, {GL + 50, GT + 50, 50, 20}},
        {IDC_DIM_FONT, {GL + 100, GT + 45, 25, 20}},
        {IDC_SIZE_LABEL, {GL + 10, GT + 80, 65, 20}},
        {IDC_SIZE_EDIT, {GL + 75, GT + 75, 45, 20}},
        {IDC_DELETE_DIMENSION, {GL + 40, GT + 105, 50, 20}},
        {IDC_NOTE_LIST, {GL + 5, GT + 15, 120, 50}},
        {IDC_NOTE_TITLE_LABEL, {GL + 5, GT + 75, 50, 20}},
        {IDC_NOTE_TITLE, {GL + 50, GT + 70, 75, 20}},
        {IDC_NOTE_FONT_LABEL, {GL + 5, GT + 100, 40, 20}},
        {IDC_NOTE_FONT_NAME, {GL + 45, GT + 100, 50, 20}},
        {IDC_NOTE_FONT, {GL + 95, GT + 95, 25, 20}},
        {IDC_NOTE_TEXT, {GL + 5, GT + 120, 120, 60}},
        {IDC_DELETE_NOTE, {GL + 35, GT + 185, 50, 20}},
        {IDC_SUPPORT_TEXT, {GL + 2, GB - 128, 126, 126}},
    };
}

void ExpectLayout(const CMeasureDlg& dlg, int W, int H) {
    for (const auto& [id, rect] : ExpectedLayout(W, H))
        EXPECT_EQ(dlg.GetDlgItem(id)->geometry(), rect)
            << "control " << id << " at " << W << "x" << H;
}

class LayoutAtSize : public MainWindowTest, public ::testing::WithParamInterface<QSize> {};
} // namespace

TEST_P(LayoutAtSize, EveryControlFollowsTheClientSize) {
    const QSize client = GetParam();
    const QRect banner = dlg->GetDlgItem(IDC_BANNER)->geometry();
    const QRect addNote = dlg->GetDlgItem(IDC_ADD_NOTE)->geometry();
    dlg->OnSize(CMeasureDlg::SizeRestored, client.width(), client.height());
    ExpectLayout(*dlg, client.width(), client.height());
    // Not moved by the layout.
    EXPECT_EQ(dlg->GetDlgItem(IDC_BANNER)->geometry(), banner);
    EXPECT_EQ(dlg->GetDlgItem(IDC_ADD_NOTE)->geometry(), addNote);
}

INSTANTIATE_TEST_SUITE_P(ClientSizes, LayoutAtSize,
                         ::testing::Values(QSize(1024, 766), QSize(800, 600), QSize(1912, 1046)));

TEST_F(MainWindowTest, StartsAt1024By766WithTheFirstLayoutDone) {
    EXPECT_EQ(dlg->size(), QSize(1024, 766));
    ExpectLayout(*dlg, 1024, 766);
    // The support text sits in the bottom 128 pixels of the property group.
    const QRect group = dlg->GetDlgItem(IDC_PROPERTY_GROUP)->geometry();
    EXPECT_EQ(dlg->GetDlgItem(IDC_SUPPORT_TEXT)->geometry().bottom(), group.bottom() - 2);
}

TEST_F(MainWindowTest, MaximiseAndRestoreLayOutAgain) {
    ShowWindow();
    dlg->showMaximized();
    QTRY_VERIFY(dlg->isMaximized());
    QTRY_VERIFY(dlg->size() != QSize(1024, 766));
    ExpectLayout(*dlg, dlg->width(), dlg->height());
    dlg->showNormal();
    QTRY_COMPARE(dlg->size(), QSize(1024, 766));
    ExpectLayout(*dlg, 1024, 766);
}

TEST_F(MainWindowTest, MinimisedSizeMovesNothing) {
    const QRect canvas = dlg->m_canvas.geometry();
    const QRect panel = dlg->GetDlgItem(IDC_PANEL)->geometry();
    dlg->OnSize(CMeasureDlg::SizeMinimized, 160, 28);
    EXPECT_EQ(dlg->m_canvas.geometry(), canvas);
    EXPECT_EQ(dlg->GetDlgItem(IDC_PANEL)->geometry(), panel);
}

TEST(MainWindowBeforeControls, SizeBeforeTheControlsExistMovesNothing) {
    CMeasureDlg dlg;
    const QRect canvas = dlg.m_canvas.geometry();
    dlg.OnSize(CMeasureDlg::SizeRestored, 800, 600);
    dlg.resize(900, 700);
    EXPECT_EQ(dlg.GetDlgItem(IDC_PANEL), nullptr);
    EXPECT_EQ(dlg.m_canvas.geometry(), canvas);
    EXPECT_FALSE(dlg.IsInitialised());
}
