// Tool palette, cursors over the canvas and the editing panel's visibility.

#include "DialogFixture.h"

#include <QAbstractButton>
#include <QCursor>

namespace {
struct ToolCase {
    int button;
    int tool;
    Qt::CursorShape shape;
    QPoint hotSpot; // for the program's own cursors
};

class ToolButton : public MainWindowTest, public ::testing::WithParamInterface<ToolCase> {};
} // namespace

TEST_P(ToolButton, SetsTheCanvasToolAndItsCursor) {
    const ToolCase c = GetParam();
    ShowWindow();
    EnablePhotoControls();
    // Start from a different tool so the change is seen.
    QTest::mouseClick(Item(c.tool == ToolSelect ? IDC_TOOL_NOTE : IDC_TOOL_SELECT), Qt::LeftButton);
    QTest::mouseClick(Item(c.button), Qt::LeftButton);

    EXPECT_EQ(dlg->m_nTool, c.tool);
    ASSERT_EQ(dlg->m_canvas.m_tools.size(), 1u);
    EXPECT_EQ(dlg->m_canvas.CurrentTool(), c.tool);
    EXPECT_TRUE(qobject_cast<QAbstractButton*>(Item(c.button))->isChecked());
    const QCursor cursor = dlg->m_canvas.cursor();
    EXPECT_EQ(cursor.shape(), c.shape);
    if (c.shape == Qt::BitmapCursor) {
        EXPECT_EQ(cursor.hotSpot(), c.hotSpot);
        EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
    }
    // The cursor is the same the window reports for the tool.
    EXPECT_EQ(CMeasureDlg::CursorForTool(c.tool).shape(), c.shape);
}

INSTANTIATE_TEST_SUITE_P(
    AllTools, ToolButton,
    ::testing::Values(ToolCase{IDC_TOOL_DRAG, ToolDrag, Qt::BitmapCursor, QPoint(0, 0)},
                      ToolCase{IDC_TOOL_DIMENSION, ToolDimension, Qt::CrossCursor, QPoint()},
                      ToolCase{IDC_TOOL_NOTE, ToolNote, Qt::BitmapCursor, QPoint(8, 7)},
                      ToolCase{IDC_TOOL_SELECT, ToolSelect, Qt::ArrowCursor, QPoint()}));

TEST_F(MainWindowTest, CursorFollowsAToolTheCanvasSetItself) {
    ShowWindow();
    EnablePhotoControls();
    dlg->m_canvas.SetTool(ToolDimension);
    QTest::mouseMove(&dlg->m_canvas, QPoint(40, 40));
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(&dlg->m_canvas, &enter);
    EXPECT_EQ(dlg->m_canvas.cursor().shape(), Qt::CrossCursor);
}

TEST_F(MainWindowTest, DimensionToolForgetsAHalfDrawnDimensionAndShowsTheDrawingColour) {
    ShowWindow();
    EnablePhotoControls();
    dlg->m_canvas.m_bFirstPoint = 1;
    dlg->m_canvas.m_pendingDim.colour = RGB(0, 128, 0);
    dlg->m_colourSwatch.m_colour = RGB(0, 0, 255); // as a selected dimension would set it
    QTest::mouseClick(Item(IDC_TOOL_DIMENSION), Qt::LeftButton);
    EXPECT_EQ(dlg->m_canvas.m_bFirstPoint, 0);
    EXPECT_EQ(dlg->m_colourSwatch.m_colour, RGB(0, 128, 0));
    EXPECT_FALSE(Item(IDC_SIZE_EDIT)->isHidden());
}

TEST_F(MainWindowTest, OtherToolButtonsKeepAHalfDrawnDimension) {
    ShowWindow();
    EnablePhotoControls();
    dlg->m_canvas.m_bFirstPoint = 1;
    QTest::mouseClick(Item(IDC_TOOL_SELECT), Qt::LeftButton);
    EXPECT_EQ(dlg->m_canvas.m_bFirstPoint, 1);
}

namespace {
struct PanelCase {
    int tool;
    int kind;
    bool dimensionShown;
    bool noteShown;
};
class EditPanel : public MainWindowTest, public ::testing::WithParamInterface<PanelCase> {};
} // namespace

TEST_P(EditPanel, ShowsTheGroupOfTheToolOrSelection) {
    const PanelCase c = GetParam();
    // Start from the opposite state so every switch is seen.
    dlg->m_canvas.SetTool(ToolDimension);
    dlg->ShowEditPanel(SelectionNone);
    dlg->m_canvas.SetTool(c.tool);
    dlg->ShowEditPanel(c.kind);
    for (int id : kDimensionGroup)
        EXPECT_EQ(!Item(id)->isHidden(), c.dimensionShown) << "control " << id;
    for (int id : kNoteGroup)
        EXPECT_EQ(!Item(id)->isHidden(), c.noteShown) << "control " << id;
    EXPECT_TRUE(Item(IDC_ADD_NOTE)->isHidden());
    EXPECT_TRUE(Item(IDC_MODIFY_NOTE)->isHidden());
    // Visibility only: the enabled states stay.
    EXPECT_FALSE(Item(IDC_SIZE_EDIT)->isEnabled());
    EXPECT_TRUE(Item(IDC_NOTE_LIST)->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(ToolByKind, EditPanel,
                         ::testing::Values(PanelCase{ToolDrag, SelectionNone, false, false},
                                           PanelCase{ToolDrag, SelectionDimension, false, false},
                                           PanelCase{ToolDrag, SelectionNote, false, false},
                                           PanelCase{ToolDimension, SelectionNone, true, false},
                                           PanelCase{ToolDimension, SelectionNote, true, false},
                                           PanelCase{ToolNote, SelectionNone, false, true},
                                           PanelCase{ToolNote, SelectionDimension, false, true},
                                           PanelCase{ToolSelect, SelectionNone, false, false},
                                           PanelCase{ToolSelect, SelectionDimension, true, false},
                                           PanelCase{ToolSelect, SelectionNote, false, true}));
