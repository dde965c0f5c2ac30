// The main window under a real X server with a window manager: the keypad
// accelerators as a user's keys reach them, and the window's frame size.

#include "WindowUnderX.h"

#include <X11/keysym.h>

namespace {
// The main window with a photo far larger than the canvas at zoom 0.7.
class MainWindowUnderX : public WindowUnderX {
protected:
    void SetUp() override {
        WindowUnderX::SetUp();
        ASSERT_TRUE(dlg->OpenPhoto(WritePhoto(QStringLiteral("room.jpg"), 2400, 1800)));
        ASSERT_TRUE(WaitForFullPhoto(dlg->m_canvas));
        canvas().SetZoom(ZoomOut);
        ASSERT_EQ(canvas().Zoom(), 0.7f);
    }
};

struct KeyCase {
    const char* name;
    std::vector<KeySymbol> held;
    KeySymbol key;
    int focus;       // the control with the focus (0: the drag tool's button)
    float zoomAfter; // from 0.7 (0: fit)
};

class KeypadAccelerator : public MainWindowUnderX, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeypadAccelerator, ZoomsOnlyFromTheKeypadWithCtrl) {
    const KeyCase& c = GetParam();
    if (c.focus == IDC_SIZE_EDIT)
        Click(IDC_TOOL_DIMENSION); // shows the size edit
    QWidget* focus = Item(c.focus ? c.focus : IDC_TOOL_DRAG);
    ASSERT_TRUE(focus->isVisible() && focus->isEnabled());
    focus->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([focus] { return focus->hasFocus(); }));
    ASSERT_TRUE(keys.Chord(c.held, c.key));
    if (c.zoomAfter == 0.7f) // nothing must happen: give the keys time to arrive, then look
        QTest::qWait(300);
    else
        EXPECT_TRUE(
            QTest::qWaitFor([this] { return canvas().Zoom() != 0.7f || canvas().FitMode() != 0; }));
    EXPECT_EQ(canvas().FitMode(), c.zoomAfter == 0.0f ? 1 : 0);
    EXPECT_TRUE(c.zoomAfter == 0.0f || canvas().Zoom() == c.zoomAfter) << canvas().Zoom();
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeypadAccelerator,
    ::testing::Values(
        KeyCase{"CtrlKeypadMultiply", {XK_Control_L}, XK_KP_Multiply, 0, 0.0f},
        KeyCase{"CtrlKeypadDivide", {XK_Control_L}, XK_KP_Divide, 0, 1.0f},
        KeyCase{"CtrlKeypadPlusInTheSizeEdit", {XK_Control_R}, XK_KP_Add, IDC_SIZE_EDIT, 1.0f},
        KeyCase{"CtrlKeypadMinusOnAButton", {XK_Control_L}, XK_KP_Subtract, IDC_OPEN_PHOTO, 0.5f},
        KeyCase{"KeypadPlusAlone", {}, XK_KP_Add, 0, 0.7f},
        KeyCase{"CtrlMainMinus", {XK_Control_L}, XK_minus, 0, 0.7f}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

// Escape returns to the drag tool and keeps the window open; Alt+F4, which the
// window manager turns into a close request, closes it (nothing is unsaved).
TEST_F(MainWindowUnderX, EscapeReturnsToTheDragToolAltF4Closes) {
    // From a button and from each edit box: the tool, then the focus.
    const std::pair<int, int> toolAndFocus[] = {{IDC_TOOL_SELECT, IDC_OPEN_PHOTO},
                                                {IDC_TOOL_DIMENSION, IDC_SIZE_EDIT},
                                                {IDC_TOOL_NOTE, IDC_NOTE_TEXT}};
    TextEdit()->setEnabled(true);
    for (const auto& [tool, focus] : toolAndFocus) {
        Click(tool);
        Item(focus)->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return Item(focus)->hasFocus(); })) << focus;
        ASSERT_TRUE(keys.Chord({}, XK_Escape));
        EXPECT_TRUE(QTest::qWaitFor([this] { return canvas().CurrentTool() == ToolDrag; }));
        EXPECT_TRUE(SizeEdit()->isHidden() && TextEdit()->isHidden()) << focus;
    }
    EXPECT_TRUE(dlg->isVisible());
    // The window manager sends Alt+F4's close request to the active window.
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    QTest::qWait(300); // until the window manager has seen the focus too
    ASSERT_TRUE(keys.Chord({XK_Alt_L}, XK_F4));
    EXPECT_TRUE(QTest::qWaitFor([this] { return !dlg->isVisible(); }));
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
}

// The window, frame included, is 1024 x 766, so it fits above the task bar of
// a 768-pixel screen. (Where the controls lie in the client area: LayoutTest.)
TEST_F(MainWindowUnderX, TheFrameIs1024By766) {
    // (QTRY_ macros report nothing under GoogleTest: wait, then expect.)
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return dlg->frameGeometry().size() == QSize(1024, 766); }));
    const QRect screen = dlg->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(dlg->frameGeometry()))
        << "on a " << screen.width() << "x" << screen.height() << " screen";
}

} // namespace
