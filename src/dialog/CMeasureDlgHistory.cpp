// Undo and redo in the main window, and the keys that move or delete the
// selected record from wherever the focus is. The edit boxes' own
// undo is kept from Ctrl+Z and its kin by UndoKeyFilter, so there is one
// history wherever the focus is.

#include "dialog/CMeasureDlg.h"

#include "dialog/UndoKeyFilter.h"
#include "platform/Cp950.h"
#include "platform/Cp950Edit.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>

void CMeasureDlg::KeepEditUndoForTheHistory() {
    auto* filter = new UndoKeyFilter(this);
    for (int id : {IDC_SIZE_EDIT, IDC_NOTE_TITLE, IDC_NOTE_TEXT})
        if (QWidget* edit = GetDlgItem(id))
            edit->installEventFilter(filter);
    if (auto* text = Item<QPlainTextEdit>(IDC_NOTE_TEXT))
        text->setUndoRedoEnabled(false);
}

void CMeasureDlg::OnFocusChanged(QWidget* from, QWidget* to) {
    // A run of typing or nudges ends when the focus moves in this window.
    if ((from && isAncestorOf(from)) || (to && isAncestorOf(to)))
        m_canvas.Model().History().EndRun();
}

void CMeasureDlg::OnUndo() {
    m_canvas.Undo();
}

void CMeasureDlg::OnRedo() {
    m_canvas.Redo();
}

void CMeasureDlg::ShowHistoryStep() {
    const Dimension* dim = m_canvas.SelectedDimension();
    if (dim) {
        m_colourSwatch.m_colour = dim->colour;
        m_colourSwatch.update();
        m_strSize = cp950::FieldToQString(dim->value);
        Item<QLabel>(IDC_DIM_FONT_NAME)->setText(FaceName(dim->font));
    } else {
        m_strSize.clear();
    }
    GetDlgItem(IDC_DELETE_DIMENSION)->setEnabled(dim != nullptr);
    SyncReferenceCheck();
    UpdateData(false);
    RefreshNoteList();
    if (m_canvas.CurrentTool() == ToolSelect)
        ShowEditPanel(m_canvas.SelectedNote() ? SelectionNote
                      : dim                   ? SelectionDimension
                                              : SelectionNone);
    m_canvas.Repaint();
}

void CMeasureDlg::AddRecordKeys() {
    const struct {
        Qt::Key key;
        int dx, dy;
    } arrows[] = {
        {Qt::Key_Left, -1, 0}, {Qt::Key_Right, 1, 0}, {Qt::Key_Up, 0, -1}, {Qt::Key_Down, 0, 1}};
    const auto add = [this](const QKeySequence& key, auto handler) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, handler);
        m_windowKeys.append(shortcut);
    };
    for (const auto& arrow : arrows)
        for (int step : {1, 10}) {
            const Qt::KeyboardModifiers mods =
                step == 1 ? Qt::AltModifier : Qt::AltModifier | Qt::ShiftModifier;
            add(QKeySequence(mods | arrow.key),
                [this, arrow, step] { m_canvas.NudgeSelection(arrow.dx * step, arrow.dy * step); });
        }
    add(QKeySequence(Qt::AltModifier | Qt::Key_Delete), [this] { OnDeleteSelectedRecord(); });
    for (int id : {IDC_DELETE_DIMENSION, IDC_DELETE_NOTE})
        GetDlgItem(id)->setToolTip(tr("刪除（Alt+Delete）"));
}

void CMeasureDlg::OnDeleteSelectedRecord() {
    // The record whose controls the panel shows goes first.
    const bool noteShown = GetDlgItem(IDC_NOTE_TEXT)->isVisible();
    if (m_canvas.SelectedNote() && (noteShown || !m_canvas.SelectedDimension()))
        OnDeleteNote();
    else if (m_canvas.SelectedDimension())
        OnDeleteDimension();
    else if (m_canvas.Model().DeleteSelectedArea() || m_canvas.Model().DeleteSelectedAngle())
        m_canvas.Repaint();
}
