// Where the main window places its controls for a client size.

#include "DialogFixture.h"

TEST_F(MainWindowTest, StartsLaidOutAt1024By766AndLaysOutAgainWhenMaximised) {
    // Controls placed against each edge of the window, inside the panel and
    // against the bottom of the property group.
    const auto expectLayout = [this] {
        const int W = dlg->width(), H = dlg->height(), PL = W - 145;
        const std::pair<int, QRect> expected[] = {
            {IDC_CANVAS, {5, 5, W - 155, H - 10}},
            {IDC_PANEL, {PL, 0, 140, H - 5}},
            {IDC_PROPERTY_GROUP, {PL + 5, 335, 130, H - 345}},
            {IDC_SUPPORT_TEXT, {PL + 7, H - 138, 126, 126}},
        };
        for (const auto& [id, rect] : expected)
            EXPECT_EQ(Item(id)->geometry(), rect) << id << " at " << W << "x" << H;
    };
    EXPECT_EQ(dlg->size(), QSize(1024, 766));
    expectLayout();
    dlg->showMaximized();
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return dlg->isMaximized() && dlg->size() != QSize(1024, 766); }));
    expectLayout();
}
