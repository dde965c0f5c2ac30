// Undo and redo in the main window, and the canvas's keys that reach the
// editing panel. Every binding of the history is in ConnectHistory:
//   Ctrl+Z                   undo  (a window shortcut: any focus, edit boxes too)
//   Ctrl+Y, Ctrl+Shift+Z     redo
//   context menu 32777/32778 "復原(&U)", "重做(&R)"
//   canvas historyShown      the panel shows the step's records
//   canvas deleteRequested   Delete/Backspace on the canvas: the delete buttons' rules
//   canvas textKeyPressed    text typed on the canvas goes to the record's edit box
//   canvas cursorHintChanged the cursor over the canvas
//   focus changes            a run of typing or nudges ends
// The edit boxes' own undo is kept from Ctrl+Z and its kin by UndoKeyFilter,
// so there is one history.

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

void CMeasureDlg::ConnectHistory() {
    const struct {
        QList<QKeySequence> keys;
        void (CMeasureDlg::*handler)();
    } shortcuts[] = {{UndoKeyFilter::UndoKeys(), &CMeasureDlg::OnUndo},
                     {UndoKeyFilter::RedoKeys(), &CMeasureDlg::OnRedo}};
    for (const auto& entry : shortcuts)
        for (const QKeySequence& key : entry.keys) {
            auto* shortcut = new QShortcut(key, this);
            shortcut->setContext(Qt::WindowShortcut);
            connect(shortcut, &QShortcut::activated, this, entry.handler);
            m_historyKeys.append(shortcut);
        }
    auto* filter = new UndoKeyFilter(this);
    for (int id : {IDC_SIZE_EDIT, IDC_NOTE_TITLE, IDC_NOTE_TEXT})
        if (QWidget* edit = GetDlgItem(id))
            edit->installEventFilter(filter);
    if (auto* text = Item<QPlainTextEdit>(IDC_NOTE_TEXT))
        text->setUndoRedoEnabled(false);

    connect(&m_canvas, &CPhotoCanvas::menuCommand, this, [this](int id) {
        if (id == ID_EDIT_UNDO)
            OnUndo();
        else if (id == ID_EDIT_REDO)
            OnRedo();
    });
    connect(&m_canvas, &CPhotoCanvas::historyShown, this, &CMeasureDlg::ShowHistoryStep);
    connect(&m_canvas, &CPhotoCanvas::deleteRequested, this, &CMeasureDlg::OnCanvasDelete);
    connect(&m_canvas, &CPhotoCanvas::textKeyPressed, this, &CMeasureDlg::OnCanvasTextKey);
    connect(&m_canvas, &CPhotoCanvas::cursorHintChanged, this, &CMeasureDlg::OnSetCursor);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* from, QWidget* to) {
        if ((from && isAncestorOf(from)) || (to && isAncestorOf(to)))
            m_canvas.m_history.EndRun();
    });
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
