// Tool palette: the canvas's tool, its cursor and the group of the editing
// panel each tool shows before anything is selected.

#include "DialogFixture.h"

namespace {
struct ToolCase {
    int button, tool;
    Qt::CursorShape shape;
    QPoint hotSpot; // (0, 0) for the standard cursors
    bool dimensionGroup, noteGroup;
};
class ToolButton : public MainWindowTest, public ::testing::WithParamInterface<ToolCase> {};
} // namespace

TEST_P(ToolButton, SetsTheCanvasToolItsCursorAndThePanelGroup) {
    const ToolCase c = GetParam();
    Open(WritePhoto(QStringLiteral("room.jpg")));
    Click(c.tool == ToolSelect ? IDC_TOOL_NOTE : IDC_TOOL_SELECT); // so the change is seen
    Click(c.button);
    EXPECT_EQ(canvas().Tools(), std::vector<int32_t>{c.tool});
    EXPECT_EQ(canvas().cursor().shape(), c.shape);
    EXPECT_EQ(canvas().cursor().hotSpot(), c.hotSpot);
    EXPECT_EQ(Item(IDC_DELETE_DIMENSION)->isVisible(), c.dimensionGroup);
    EXPECT_EQ(Item(IDC_NOTE_LIST)->isVisible(), c.noteGroup);
}

INSTANTIATE_TEST_SUITE_P(
    AllTools, ToolButton,
    ::testing::Values(
        ToolCase{IDC_TOOL_DRAG, ToolDrag, Qt::BitmapCursor, QPoint(0, 0), false, false},
        ToolCase{IDC_TOOL_DIMENSION, ToolDimension, Qt::CrossCursor, QPoint(), true, false},
        ToolCase{IDC_TOOL_NOTE, ToolNote, Qt::BitmapCursor, QPoint(8, 7), false, true},
        ToolCase{IDC_TOOL_SELECT, ToolSelect, Qt::ArrowCursor, QPoint(), false, false}));
