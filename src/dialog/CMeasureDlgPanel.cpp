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
constexpr size_t kSizeCopyBytes = 10;  // 9 bytes of value text and its NUL
constexpr size_t kTitleCopyBytes = 19; // 18 bytes of title and its NUL
constexpr size_t kTextCopyBytes = 254; // 253 bytes of note text and its NUL

template <size_t N> void StoreField(char (&field)[N], size_t copyBytes, const QByteArray& bytes) {
    std::memset(field, 0, N);
    cp950::CopyToField(field, copyBytes < N ? copyBytes : N, bytes);
}

bool ValidIndex(int index, size_t count) {
    return index >= 0 && static_cast<size_t>(index) < count;
}
} // namespace

void CMeasureDlg::ConnectEditingPanel() {
    connect(&m_canvas, &CPhotoCanvas::canvasNotify, this, &CMeasureDlg::OnCanvasNotify);
    // Only the user's edits write back into the records: filling an edit from
    // a record never changes the record.
    if (auto* size = Item<QLineEdit>(IDC_SIZE_EDIT))
        connect(size, &QLineEdit::textEdited, this, [this] { OnSizeChange(); });
    if (auto* title = Item<QLineEdit>(IDC_NOTE_TITLE))
        connect(title, &QLineEdit::textEdited, this, [this] { OnNoteTitleChange(); });
    if (auto* text = Item<Cp950TextEdit>(IDC_NOTE_TEXT))
        connect(text, &Cp950TextEdit::textEdited, this, &CMeasureDlg::OnNoteTextChange);
    if (auto* list = Item<QListWidget>(IDC_NOTE_LIST))
        connect(list, &QListWidget::itemSelectionChanged, this, &CMeasureDlg::OnNoteSelChange);
    const struct {
        int id;
        void (CMeasureDlg::*handler)();
    } buttons[] = {{IDC_DELETE_NOTE, &CMeasureDlg::OnDeleteNote},
                   {IDC_DELETE_DIMENSION, &CMeasureDlg::OnDeleteDimension},
                   {IDC_ADD_NOTE, &CMeasureDlg::OnAddNote},
                   {IDC_MODIFY_NOTE, &CMeasureDlg::OnModifyNote}};
    for (const auto& entry : buttons)
        if (auto* button = Item<QAbstractButton>(entry.id))
            connect(button, &QAbstractButton::clicked, this, entry.handler);
}

void CMeasureDlg::OnCanvasNotify(int code) {
    switch (code) {
    case CN_DIMENSION_SELECTED:
        ShowSelectedDimension();
        // The canvas cleared the note selection: the note controls must not
        // go on showing the old note as if it were selected.
        if (m_canvas.m_nSelNote < 0)
            RefreshNoteList();
        break;
    case CN_NOTE_SELECTED:
        RefreshNoteList();
        ShowEditPanel(SelectionNote);
        OfferEdit(IDC_NOTE_TEXT);
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
    const int s = m_canvas.m_nSelDim;
    const bool selected = ValidIndex(s, m_canvas.m_info.dimensions.size());
    if (selected) {
        const Dimension& dim = m_canvas.m_info.dimensions[static_cast<size_t>(s)];
        m_colourSwatch.m_colour = dim.colour;
        m_colourSwatch.update();
        m_strSize = cp950::FieldToQString(dim.value);
        GetDlgItem(IDC_DELETE_DIMENSION)->setEnabled(true);
    } else {
        m_strSize.clear();
    }
    ShowEditPanel(SelectionDimension);
    UpdateData(false);
    if (selected)
        Item<QLabel>(IDC_DIM_FONT_NAME)
            ->setText(FaceName(m_canvas.m_info.dimensions[static_cast<size_t>(s)].font));
    SyncReferenceCheck();
    OfferEdit(IDC_SIZE_EDIT);
}

void CMeasureDlg::RefreshNoteList() {
    auto* list = Item<QListWidget>(IDC_NOTE_LIST);
    auto* title = Item<QLineEdit>(IDC_NOTE_TITLE);
    auto* text = Item<Cp950TextEdit>(IDC_NOTE_TEXT);
    if (!list || !title || !text)
        return;
    const std::vector<InfoNote>& notes = m_canvas.m_info.notes;

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

    const int n = m_canvas.m_nSelNote;
    const bool selected = ValidIndex(n, notes.size());
    for (int id : {IDC_NOTE_TITLE, IDC_NOTE_FONT, IDC_NOTE_TEXT, IDC_DELETE_NOTE, IDC_MODIFY_NOTE})
        GetDlgItem(id)->setEnabled(selected);
    if (!selected) {
        list->clearSelection();
        list->setCurrentRow(-1);
        title->setText(QString());
        text->SetText(QString());
        return;
    }
    const InfoNote& note = notes[static_cast<size_t>(n)];
    list->setCurrentRow(n);
    title->setText(cp950::FieldToQString(note.title));
    text->SetText(FromRecordText(cp950::FieldBytes(note.text)));
    Item<QLabel>(IDC_NOTE_FONT_NAME)->setText(FaceName(note.font));
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
    const int s = m_canvas.m_nSelDim;
    if (!ValidIndex(s, m_canvas.m_info.dimensions.size()))
        return;
    UpdateData(true);
    Dimension& dim = m_canvas.m_info.dimensions[static_cast<size_t>(s)];
    const Dimension before = dim;
    StoreField(dim.value, kSizeCopyBytes, cp950::FromQString(m_strSize));
    m_canvas.m_history.DimensionChanged(s, before, EditRun::Value);
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
    const int n = list->row(chosen.first());
    if (!ValidIndex(n, m_canvas.m_info.notes.size()))
        return;
    m_canvas.m_nSelNote = n;
    const InfoNote& note = m_canvas.m_info.notes[static_cast<size_t>(n)];
    Item<QLabel>(IDC_NOTE_FONT_NAME)->setText(FaceName(note.font));
    RefreshNoteList();
    m_canvas.CentreOn(m_canvas.m_info.notes[static_cast<size_t>(n)].anchor);
    m_canvas.Repaint();
}

void CMeasureDlg::OnNoteTitleChange() {
    const int n = m_canvas.m_nSelNote;
    auto* title = Item<QLineEdit>(IDC_NOTE_TITLE);
    if (!title || !ValidIndex(n, m_canvas.m_info.notes.size()))
        return;
    InfoNote& note = m_canvas.m_info.notes[static_cast<size_t>(n)];
    const InfoNote before = note;
    StoreField(note.title, kTitleCopyBytes, cp950::FromQString(title->text()));
    m_canvas.m_history.NoteChanged(n, before, EditRun::Title);
}

void CMeasureDlg::OnNoteTextChange() {
    const int n = m_canvas.m_nSelNote;
    auto* text = Item<Cp950TextEdit>(IDC_NOTE_TEXT);
    if (!text || !ValidIndex(n, m_canvas.m_info.notes.size()))
        return;
    InfoNote& note = m_canvas.m_info.notes[static_cast<size_t>(n)];
    const InfoNote before = note;
    StoreField(note.text, kTextCopyBytes, ToRecordText(text->toPlainText()));
    m_canvas.m_history.NoteChanged(n, before, EditRun::Text);
    m_canvas.Repaint();
}

void CMeasureDlg::OnDeleteNote() {
    std::vector<InfoNote>& notes = m_canvas.m_info.notes;
    const int n = m_canvas.m_nSelNote;
    if (!ValidIndex(n, notes.size()))
        return;
    const int count = static_cast<int>(notes.size());
    const InfoNote removed = notes[static_cast<size_t>(n)];
    notes.erase(notes.begin() + n);
    // The following note takes the place; after the last, the new last; none
    // when the list is empty.
    if (n > count - 2)
        m_canvas.m_nSelNote = count - 2;
    m_canvas.m_history.NoteRemoved(n, removed, m_canvas.m_nSelNote);
    RefreshNoteList();
    m_canvas.Repaint();
}

void CMeasureDlg::OnDeleteDimension() {
    std::vector<Dimension>& dims = m_canvas.m_info.dimensions;
    const int s = m_canvas.m_nSelDim;
    if (!ValidIndex(s, dims.size()))
        return;
    const int count = static_cast<int>(dims.size());
    const Dimension removed = dims[static_cast<size_t>(s)];
    const bool wasReference = m_canvas.m_info.reference.dimension == s;
    dims.erase(dims.begin() + s);
    m_canvas.m_info.reference.DimensionRemoved(s);
    if (s > count - 2)
        m_canvas.m_nSelDim = count - 2;
    m_canvas.m_history.DimensionRemoved(s, removed, m_canvas.m_nSelDim, wasReference);
    SyncReferenceCheck();
    const int now = m_canvas.m_nSelDim;
    if (!ValidIndex(now, dims.size())) {
        GetDlgItem(IDC_DELETE_DIMENSION)->setEnabled(false);
        m_strSize.clear();
    } else {
        const Dimension& dim = dims[static_cast<size_t>(now)];
        m_colourSwatch.m_colour = dim.colour;
        m_colourSwatch.update();
        m_strSize = cp950::FieldToQString(dim.value);
    }
    UpdateData(false);
    m_canvas.Repaint();
}

void CMeasureDlg::OnAddNote() {
    m_canvas.m_nSelNote = -2;
    RefreshNoteList();
}

void CMeasureDlg::OnModifyNote() {
    const int n = m_canvas.m_nSelNote;
    auto* title = Item<QLineEdit>(IDC_NOTE_TITLE);
    auto* text = Item<Cp950TextEdit>(IDC_NOTE_TEXT);
    if (!title || !text || !ValidIndex(n, m_canvas.m_info.notes.size()))
        return;
    InfoNote scratch;
    StoreField(scratch.title, kTitleCopyBytes, cp950::FromQString(title->text()));
    StoreField(scratch.text, kTextCopyBytes, ToRecordText(text->toPlainText()));
    if (scratch.title[0] == '\0') {
        Prompts().Message(this, QString::fromUtf8("信息標注的標題不能為空"));
        return;
    }
    InfoNote& note = m_canvas.m_info.notes[static_cast<size_t>(n)];
    const InfoNote before = note;
    std::memcpy(note.title, scratch.title, sizeof note.title);
    std::memcpy(note.text, scratch.text, sizeof note.text);
    m_canvas.m_history.NoteChanged(n, before);
    RefreshNoteList();
}
