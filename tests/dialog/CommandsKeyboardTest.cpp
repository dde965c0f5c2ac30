// The zoom commands from the buttons and the canvas's context menu; Escape
// and Return in the main window.

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

// (Ctrl with the numeric keypad through the X server: tests/x11.)
enum Source { Buttons, Menu };
class ZoomFrom : public ShownPhotoTest, public ::testing::WithParamInterface<Source> {
protected:
    void Zoom(int button, int command) {
        if (GetParam() == Buttons)
            Click(button);
        else
            Q_EMIT canvas().menuCommand(command); // as the context menu sends it
    }
};
} // namespace

TEST_P(ZoomFrom, InOutFitAndActualSize) {
    Zoom(IDC_ZOOM_IN, ID_ZOOM_IN);
    EXPECT_EQ(canvas().Zoom(), 2.0f);
    Zoom(IDC_ZOOM_OUT, ID_ZOOM_OUT);
    Zoom(IDC_ZOOM_OUT, ID_ZOOM_OUT);
    EXPECT_EQ(canvas().Zoom(), 0.7f);
    Zoom(IDC_ZOOM_FIT, ID_ZOOM_FIT);
    EXPECT_EQ(canvas().FitMode(), 1);
    EXPECT_LT(canvas().Zoom(), 0.7f);
    Zoom(IDC_ZOOM_ACTUAL, ID_ZOOM_ACTUAL);
    EXPECT_EQ(canvas().Zoom(), 1.0f);
    EXPECT_EQ(canvas().FitMode(), 0);
}

INSTANTIATE_TEST_SUITE_P(Sources, ZoomFrom, ::testing::Values(Buttons, Menu));

TEST_F(ShownPhotoTest, EscapeSwitchesToTheDragToolReturnBreaksANoteLineNeitherClosesTheWindow) {
    prompter.paths = {PathOf(QStringLiteral("room.jpg"))}; // taken if the open button is pressed
    TextEdit()->setEnabled(true);
    const std::pair<int, int> toolAndFocus[] = {{IDC_TOOL_SELECT, IDC_OPEN_PHOTO},
                                                {IDC_TOOL_DIMENSION, IDC_SIZE_EDIT},
                                                {IDC_TOOL_NOTE, IDC_NOTE_TEXT}};
    for (const auto& [tool, focus] : toolAndFocus) {
        Click(tool);
        Item(focus)->setFocus();
        for (auto key : {Qt::Key_A, Qt::Key_Return, Qt::Key_B})
            QTest::keyClick(Item(focus), key);
        QTest::keyClick(Item(focus), Qt::Key_Escape);
        EXPECT_EQ(canvas().CurrentTool(), ToolDrag) << focus;
        EXPECT_TRUE(qobject_cast<QAbstractButton*>(Item(IDC_TOOL_DRAG))->isChecked() &&
                    SizeEdit()->isHidden() && TextEdit()->isHidden())
            << focus;
    }
    EXPECT_EQ(TextEdit()->toPlainText(), QStringLiteral("a\nb"));
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(prompter.paths.size(), 1);
}
