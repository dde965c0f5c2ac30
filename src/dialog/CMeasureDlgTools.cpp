// The tool palette, the cursor over the canvas, the editing panel's
// visibility and the colour swatch.

#include "dialog/CMeasureDlg.h"

#include "dialog/ResourceArt.h"
#include "platform/Prompts.h"

#include <QEvent>

QCursor CMeasureDlg::CursorForTool(int tool) {
    switch (tool) {
    case ToolDrag:
        return ResourceCursor(IDC_CURSOR_DRAG, 0, 0);
    case ToolDimension:
    case ToolArea:
    case ToolAngle:
        return QCursor(Qt::CrossCursor);
    case ToolNote:
        return ResourceCursor(IDC_CURSOR_NOTE, 8, 7);
    default:
        return QCursor(Qt::ArrowCursor);
    }
}

void CMeasureDlg::SetToolCursor(int tool) {
    if (tool == m_cursorTool)
        return;
    m_cursorTool = tool;
    m_canvas.setCursor(CursorForTool(tool));
}

void CMeasureDlg::OnSetCursor() {
    // Over an end-point handle, and while the middle button pans,
    // the canvas asks for a cursor of its own.
    const int hint = m_canvas.CursorHint();
    if (hint != CursorHintTool) {
        const int key = -1 - hint; // never a tool's value
        if (key != m_cursorTool) {
            m_cursorTool = key;
            m_canvas.setCursor(hint == CursorHintHandle ? Qt::SizeAllCursor : Qt::ClosedHandCursor);
        }
        return;
    }
    SetToolCursor(m_canvas.CurrentTool());
}

bool CMeasureDlg::eventFilter(QObject* watched, QEvent* event) {
    // The canvas may change its tool by itself; the cursor follows the tool
    // whenever the mouse comes over the canvas or moves on it.
    if (watched == &m_canvas) {
        switch (event->type()) {
        case QEvent::Enter:
        case QEvent::MouseMove:
        case QEvent::HoverMove:
        case QEvent::MouseButtonRelease:
            OnSetCursor();
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CMeasureDlg::OnToolChange() {
    UpdateData(true);
    m_canvas.SetTool(m_nTool);
    OnSetCursor();
    m_canvas.Repaint();
    ShowEditPanel(SelectionNone);
}

void CMeasureDlg::OnToolDimension() {
    UpdateData(true);
    m_canvas.SetTool(m_nTool);
    OnSetCursor();
    m_canvas.CancelPendingDimension();
    m_canvas.Repaint();
    ShowEditPanel(SelectionNone);
    m_colourSwatch.m_colour = m_canvas.CurrentColour();
    m_colourSwatch.update();
    UpdateData(false);
}

bool CMeasureDlg::ChooseCurrentColour() {
    COLORREF colour = m_canvas.CurrentColour();
    if (!Prompts().ChooseColour(this, colour))
        return false;
    m_canvas.SetCurrentColour(colour);
    m_colourSwatch.m_colour = colour;
    m_colourSwatch.update();
    return true;
}

void CMeasureDlg::OnColour() {
    if (!ChooseCurrentColour())
        return;
    const COLORREF colour = m_canvas.CurrentColour();
    // Only a dimension picked with the select tool takes the colour; notes
    // have no colour of their own.
    if (m_canvas.CurrentTool() == ToolSelect &&
        m_canvas.Model().ChangeSelectedDimension([colour](Dimension& dim) { dim.colour = colour; }))
        m_canvas.Repaint();
}

void CMeasureDlg::ShowEditPanel(int kind) {
    bool showDimension = false;
    bool showNote = false;
    switch (m_canvas.CurrentTool()) {
    case ToolDimension:
        showDimension = true;
        break;
    case ToolNote:
        showNote = true;
        break;
    case ToolSelect:
        showDimension = kind == SelectionDimension;
        showNote = kind == SelectionNote;
        break;
    default:
        break;
    }
    // One control at a time, in this order; visibility only.
    const struct {
        int id;
        bool shown;
    } order[] = {{IDC_COLOUR_LABEL, showDimension},
                 {IDC_COLOUR_SWATCH, showDimension},
                 {IDC_DIM_FONT_LABEL, showDimension},
                 {IDC_DIM_FONT_NAME, showDimension},
                 {IDC_DIM_FONT, showDimension},
                 {IDC_SIZE_LABEL, showDimension},
                 {IDC_SIZE_EDIT, showDimension},
                 {IDC_DELETE_DIMENSION, showDimension},
                 {IDC_REFERENCE_CHECK, showDimension},
                 {IDC_NOTE_TITLE_LABEL, showNote},
                 {IDC_NOTE_TITLE, showNote},
                 {IDC_NOTE_FONT_LABEL, showNote},
                 {IDC_NOTE_FONT_NAME, showNote},
                 {IDC_NOTE_FONT, showNote},
                 {IDC_NOTE_LIST, showNote},
                 {IDC_NOTE_TEXT, showNote},
                 {IDC_ADD_NOTE, false},
                 {IDC_DELETE_NOTE, showNote},
                 {IDC_MODIFY_NOTE, false}};
    for (const auto& entry : order)
        if (QWidget* control = GetDlgItem(entry.id))
            control->setVisible(entry.shown);
}
