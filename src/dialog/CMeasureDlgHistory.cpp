// Undo and redo in the main window, and the canvas's keys that reach the
// editing panel (their bindings are in the message map). The edit boxes' own
// undo is kept from Ctrl+Z and its kin by UndoKeyFilter, so there is one
// history wherever the focus is.

#include "dialog/CMeasureDlg.h"

#include "dialog/UndoKeyFilter.h"
#include "platform/Cp950.h"
#include "platform/Cp950Edit.h"

#include <QApplication>
#include <QKeyEvent>
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
        m_canvas.m_history.EndRun();
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

void CMeasureDlg::OfferEdit(int id) {
    if (focusWidget() != &m_canvas) {
        FocusAndSelectAll(id);
        return;
    }
    if (auto* line = Item<QLineEdit>(id))
        line->selectAll();
    else if (auto* text = Item<QPlainTextEdit>(id))
        text->selectAll();
}

void CMeasureDlg::OnCanvasDelete() {
    // The record whose controls the panel shows goes first.
    const bool noteShown = GetDlgItem(IDC_NOTE_TEXT)->isVisible();
    if (m_canvas.SelectedNote() && (noteShown || !m_canvas.SelectedDimension()))
        OnDeleteNote();
    else if (m_canvas.SelectedDimension())
        OnDeleteDimension();
}

void CMeasureDlg::OnCanvasTextKey(QKeyEvent* event) {
    int id = -1;
    if (m_canvas.SelectedNote() && GetDlgItem(IDC_NOTE_TEXT)->isVisible())
        id = IDC_NOTE_TEXT;
    else if (m_canvas.SelectedDimension() && GetDlgItem(IDC_SIZE_EDIT)->isVisible())
        id = IDC_SIZE_EDIT;
    QWidget* edit = id < 0 ? nullptr : GetDlgItem(id);
    if (!edit || !edit->isEnabled())
        return;
    // As when the record was picked with the edit focused: the typed text
    // replaces the old one.
    FocusAndSelectAll(id);
    QKeyEvent typed(event->type(), event->key(), event->modifiers(), event->text(),
                    event->isAutoRepeat(), event->count());
    QCoreApplication::sendEvent(edit, &typed);
    event->accept();
}
