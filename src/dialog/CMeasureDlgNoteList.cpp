// The note list 1025 and the note controls, filled from the canvas's notes
// and its selected note. Rows follow note order, so a row is a note index.
// A minimal version for opening photos; the editing panel's own replaces it.

#include "dialog/CMeasureDlg.h"

#include "platform/Cp950.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>

void CMeasureDlg::RefreshNoteList() {
    auto* list = Item<QListWidget>(IDC_NOTE_LIST);
    if (!list)
        return;
    const std::vector<InfoNote>& notes = m_canvas.m_info.notes;
    {
        const QSignalBlocker blocker(list);
        // Rows are note indexes: never reordered by the list itself.
        list->setSortingEnabled(false);
        list->clear();
        for (size_t i = 0; i < notes.size(); ++i)
            list->addItem(QString::asprintf("%02d:", int(i + 1)) +
                          cp950::FieldToQString(notes[i].title));
    }

    auto* title = Item<QLineEdit>(IDC_NOTE_TITLE);
    auto* text = Item<QPlainTextEdit>(IDC_NOTE_TEXT);
    const int n = m_canvas.m_nSelNote;
    const bool selected = n >= 0 && size_t(n) < notes.size();
    for (int id : {IDC_NOTE_TITLE, IDC_NOTE_FONT, IDC_NOTE_TEXT, IDC_DELETE_NOTE, IDC_MODIFY_NOTE})
        if (QWidget* control = GetDlgItem(id))
            control->setEnabled(selected);
    const QSignalBlocker titleBlocker(title);
    const QSignalBlocker textBlocker(text);
    if (!selected) {
        if (title)
            title->clear();
        if (text)
            text->clear();
        return;
    }
    {
        const QSignalBlocker blocker(list);
        list->setCurrentRow(n);
    }
    if (title)
        title->setText(cp950::FieldToQString(notes[n].title));
    if (text)
        text->setPlainText(cp950::FieldToQString(notes[n].text));
    if (auto* face = Item<QLabel>(IDC_NOTE_FONT_NAME))
        face->setText(cp950::FieldToQString(notes[n].font.lfFaceName));
}
