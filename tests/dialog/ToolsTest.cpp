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
        ToolCase{IDC_TOOL_SELECT, ToolSelect, Qt::ArrowCursor, QPoint(), false, false},
        ToolCase{IDC_TOOL_AREA, ToolArea, Qt::CrossCursor, QPoint(), false, false},
        ToolCase{IDC_TOOL_ANGLE, ToolAngle, Qt::CrossCursor, QPoint(), false, false}));

// The area tool's button, the name asked through the prompt seam when the
// polygon closes, and the canvas menu's "開口" and rename on the selected
// area (the name typed after the one shown).
TEST_F(MainWindowTest, AreaToolNamesTheAreaAndTheMenuMarksAnOpening) {
    Open(WritePhoto(QStringLiteral("room.jpg")));
    Click(IDC_TOOL_AREA);
    prompter.dialog = [](QDialog& shown) {
        auto* edit = shown.findChild<Cp950LineEdit*>();
        if (!edit)
            return int(QDialog::Rejected);
        edit->end(false);
        TypeText(edit, Utf8("客廳"));
        return int(QDialog::Accepted);
    };
    for (POINT p : {POINT{40, 40}, POINT{200, 40}, POINT{200, 160}, POINT{40, 40}})
        ClickPhoto(p);
    ASSERT_EQ(info().areas.size(), 1u);
    EXPECT_EQ(info().areas[0].name, cp950::FromQString(Utf8("客廳")).toStdString());
    Click(IDC_TOOL_SELECT);
    ClickPhoto(POINT{150, 60});
    ASSERT_EQ(canvas().Model().SelArea(), 0);
    prompter.pick = ID_AREA_OPENING;
    ClickPhoto(POINT{150, 60}, Qt::RightButton);
    EXPECT_TRUE(prompter.picked);
    EXPECT_TRUE(info().areas[0].opening);
    // Renamed from the same menu, one step.
    const int steps = canvas().Model().History().Stack().count();
    prompter.pick = ID_RENAME_AREA;
    ClickPhoto(POINT{150, 60}, Qt::RightButton);
    EXPECT_EQ(info().areas[0].name, cp950::FromQString(Utf8("客廳客廳")).toStdString());
    EXPECT_EQ(canvas().Model().History().Stack().count(), steps + 1);
}
