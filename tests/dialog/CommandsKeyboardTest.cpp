// The zoom commands from the buttons and the canvas's context menu. (Escape
// and Return in the main window: tests/x11.)

#include "DialogFixture.h"

namespace {
// The window shown and active with a photo far larger than the canvas.
class ShownPhotoTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        Open(WritePhoto(QStringLiteral("room.jpg"), 2400, 1800));
    }
};

} // namespace

// The buttons and the canvas's context menu reach the zoom commands. (The
// zoom steps: the canvas's tests; Ctrl with the numeric keypad through the
// X server: tests/x11.)
TEST_F(ShownPhotoTest, TheButtonsAndTheMenuZoom) {
    // A button, or else the menu's command; the zoom after it (0: fit).
    const std::tuple<int, int, float> steps[] = {
        {IDC_ZOOM_IN, 0, 2.0f},    {0, ID_ZOOM_OUT, 1.0f},    {IDC_ZOOM_FIT, 0, 0.0f},
        {0, ID_ZOOM_ACTUAL, 1.0f}, {0, ID_ZOOM_IN, 2.0f},     {IDC_ZOOM_OUT, 0, 1.0f},
        {0, ID_ZOOM_FIT, 0.0f},    {IDC_ZOOM_ACTUAL, 0, 1.0f}};
    for (const auto& [button, command, zoom] : steps) {
        if (button)
            Click(button);
        else
            Q_EMIT canvas().menuCommand(command); // as the context menu sends it
        EXPECT_EQ(canvas().FitMode(), zoom == 0.0f ? 1 : 0) << button << command;
        EXPECT_TRUE(zoom == 0.0f || canvas().Zoom() == zoom) << button << command;
    }
}
