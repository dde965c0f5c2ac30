// The editing panel: the dialog's side of the canvas notifications, the note
// list and the handlers through which the user edits the selected dimension
// or note. The selection lives in the canvas, the texts in the records; the
// panel only shows them and writes the user's edits back.

#include "dialog/CMeasureDlg.h"

#include "platform/Cp950.h"
#include "platform/Cp950Edit.h"
#include "platform/Prompts.h"

#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStringList>

#include <cstring>

namespace {
// Bytes kept of a text read from an edit: the edits already limit input to
// these; text shown from a longer record is cut at a character boundary.
// The value keeps what the edit shows, which may be longer than typing
// allows (a range reading of 11 digits): the whole field.
constexpr size_t kSizeCopyBytes = sizeof(Dimension::value);
constexpr size_t kTitleCopyBytes = 19; // 18 bytes of title and its NUL
constexpr size_t kTextCopyBytes = 254; // 253 bytes of note text and its NUL

template <size_t N> void StoreField(char (&field)[N], size_t copyBytes, const QByteArray& bytes) {
    std::memset(field, 0, N);
    cp950::CopyToField(field, copyBytes < N ? copyBytes : N, bytes);
}
} // namespace

void CMeasureDlg::OnCanvasNotify(int code) {
    switch (code) {
    case CN_DIMENSION_SELECTED:
        ShowSelectedDimension();
        // The canvas cleared the note selection: the note controls must not
        // go on showing the old note as if it were selected.
        if (!m_canvas.SelectedNote())
            RefreshNoteList();
        break;
    case CN_NOTE_SELECTED:
        RefreshNoteList();
        ShowEditPanel(SelectionNote);
        FocusAndSelectAll(IDC_NOTE_TEXT);
        break;
    case CN_NOTHING_SELECTED:
        ShowEditPanel(SelectionNone);
        RefreshNoteList();
        break;
    case CN_DIMENSION_ADDED:
        m_strSize.clear();
        UpdateData(false);
        FocusAndSelectAll(IDC_SIZE_EDIT);
        GetDlgItem(IDC_DELETE_DIMENSION)->setEnabled(true);
        break;
    case CN_NOTE_ADDED:
        RefreshNoteList();
        FocusAndSelectAll(IDC_NOTE_TEXT);
        break;
    default:
        break; // no other code is sent
    }
}

void CMeasureDlg::ShowSelectedDimension() {
    const Dimension* dim = m_canvas.SelectedDimension();
    if (dim) {
        m_colourSwatch.m_colour = dim->colour;
        m_colourSwatch.update();
        m_strSize = cp950::FieldToQString(dim->value);
        GetDlgItem(IDC_DELETE_DIMENSION)->setEnabled(true);
    } else {
        m_strSize.clear();
    }
    ShowEditPanel(SelectionDimension);
    UpdateData(false);
    if (dim)
        Item<QLabel>(IDC_DIM_FONT_NAME)->setText(FaceName(dim->font));
    SyncReferenceCheck();
    FocusAndSelectAll(IDC_SIZE_EDIT);
}

void CMeasureDlg::RefreshNoteList() {
    auto* list = Item<QListWidget>(IDC_NOTE_LIST);
    auto* title = Item<QLineEdit>(IDC_NOTE_TITLE);
    auto* text = Item<Cp950TextEdit>(IDC_NOTE_TEXT);
    if (!list || !title || !text)
        return;
    const std::vector<InfoNote>& notes = m_canvas.Model().Info().notes;

    // Row i is note i: the list is never sorted.
    QStringList rows;
    rows.reserve(static_cast<int>(notes.size()));
    for (size_t i = 0; i < notes.size(); ++i)
        rows.append(QString::asprintf("%02d:", static_cast<int>(i + 1)) +
                    cp950::FieldToQString(notes[i].title));
    const QSignalBlocker blocker(list);
    if (list->count() == rows.size()) {
        // Same rows: renew the texts in place (this also runs from the list's
        // own selection handler, which must not see its items destroyed).
        for (int i = 0; i < rows.size(); ++i)
            if (list->item(i)->text() != rows.at(i))
                list->item(i)->setText(rows.at(i));
    } else {
        list->clear();
        list->addItems(rows);
    }

    const InfoNote* note = m_canvas.SelectedNote();
    for (int id : {IDC_NOTE_TITLE, IDC_NOTE_FONT, IDC_NOTE_TEXT, IDC_DELETE_NOTE, IDC_MODIFY_NOTE})
        GetDlgItem(id)->setEnabled(note != nullptr);
    if (!note) {
        list->clearSelection();
        list->setCurrentRow(-1);
        title->setText(QString());
        text->SetText(QString());
        return;
    }
    list->setCurrentRow(m_canvas.Model().SelNote());
    title->setText(cp950::FieldToQString(note->title));
    text->SetText(FromRecordText(cp950::FieldBytes(note->text)));
    Item<QLabel>(IDC_NOTE_FONT_NAME)->setText(FaceName(note->font));
}

void CMeasureDlg::FocusAndSelectAll(int id) {
    QWidget* control = GetDlgItem(id);
    if (!control)
        return;
    control->setFocus(Qt::OtherFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(control)) {
        line->selectAll();
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(control)) {
        text->selectAll();
        text->ensureCursorVisible();
    }
}

void CMeasureDlg::OnSizeChange() {
    if (!m_canvas.SelectedDimension())
        return;
    UpdateData(true);
    const QByteArray value = cp950::FromQString(m_strSize);
    m_canvas.Model().ChangeSelectedDimension(
        [&value](Dimension& dim) { StoreField(dim.value, kSizeCopyBytes, value); }, EditRun::Value);
    m_canvas.Repaint();
    SyncReferenceCheck();
}

void CMeasureDlg::OnNoteSelChange() {
    auto* list = Item<QListWidget>(IDC_NOTE_LIST);
    if (!list)
        return;
    const QList<QListWidgetItem*> chosen = list->selectedItems();
    if (chosen.isEmpty())
        return;
    EditModel& model = m_canvas.Model();
    const int previous = model.SelNote();
    model.SelectNote(list->row(chosen.first()));
    const InfoNote* note = model.SelectedNote();
    if (!note) {
        model.SelectNote(previous);
        return;
    }
    Item<QLabel>(IDC_NOTE_FONT_NAME)->setText(FaceName(note->font));
    RefreshNoteList();
    m_canvas.CentreOn(note->anchor);
    m_canvas.Repaint();
}

void CMeasureDlg::OnNoteTitleChange() {
    auto* title = Item<QLineEdit>(IDC_NOTE_TITLE);
    if (!title || !m_canvas.SelectedNote())
        return;
    const QByteArray bytes = cp950::FromQString(title->text());
    m_canvas.Model().ChangeSelectedNote(
        [&bytes](InfoNote& note) { StoreField(note.title, kTitleCopyBytes, bytes); },
        EditRun::Title);
}

void CMeasureDlg::OnNoteTextChange() {
    auto* text = Item<Cp950TextEdit>(IDC_NOTE_TEXT);
    if (!text || !m_canvas.SelectedNote())
        return;
    const QByteArray bytes = ToRecordText(text->toPlainText());
    m_canvas.Model().ChangeSelectedNote(
        [&bytes](InfoNote& note) { StoreField(note.text, kTextCopyBytes, bytes); }, EditRun::Text);
    m_canvas.Repaint();
}

void CMeasureDlg::OnDeleteNote() {
    if (!m_canvas.Model().DeleteSelectedNote())
        return;
    RefreshNoteList();
    m_canvas.Repaint();
}

void CMeasureDlg::OnDeleteDimension() {
    if (!m_canvas.Model().DeleteSelectedDimension())
        return;
    SyncReferenceCheck();
    if (const Dimension* now = m_canvas.SelectedDimension()) {
        m_colourSwatch.m_colour = now->colour;
        m_colourSwatch.update();
        m_strSize = cp950::FieldToQString(now->value);
    } else {
        GetDlgItem(IDC_DELETE_DIMENSION)->setEnabled(false);
        m_strSize.clear();
    }
    UpdateData(false);
    m_canvas.Repaint();
}

void CMeasureDlg::OnAddNote() {
    m_canvas.Model().SelectNote(-2);
    RefreshNoteList();
}

void CMeasureDlg::OnModifyNote() {
    InfoNote* selected = m_canvas.SelectedNote();
    auto* title = Item<QLineEdit>(IDC_NOTE_TITLE);
    auto* text = Item<Cp950TextEdit>(IDC_NOTE_TEXT);
    if (!title || !text || !selected)
        return;
    InfoNote scratch;
    StoreField(scratch.title, kTitleCopyBytes, cp950::FromQString(title->text()));
    StoreField(scratch.text, kTextCopyBytes, ToRecordText(text->toPlainText()));
    if (scratch.title[0] == '\0') {
        Prompts().Message(this, tr("信息標注的標題不能為空"));
        return;
    }
    m_canvas.Model().ChangeSelectedNote([&scratch](InfoNote& note) {
        std::memcpy(note.title, scratch.title, sizeof note.title);
        std::memcpy(note.text, scratch.text, sizeof note.text);
    });
    RefreshNoteList();
}
