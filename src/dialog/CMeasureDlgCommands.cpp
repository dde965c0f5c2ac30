// Escape, the close box and the exit command, help,
// and the font and colour commands for the selected or every record.

#include "dialog/CMeasureDlg.h"

#include "platform/Prompts.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QUrl>

// --- Keyboard policy and closing ---

bool CMeasureDlg::event(QEvent* event) {
    // Escape, pressed in the window or in any control that leaves it to the
    // window, returns to the drag tool and keeps the window open. Only the
    // press counts: a released key leaves nothing behind, so the next close
    // request still closes.
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel)) {
        m_bCancelCloses = 0;
        OnCancel();
        event->accept();
        return true;
    }
    return QDialog::event(event);
}

void CMeasureDlg::closeEvent(QCloseEvent* event) {
    // The close box and Alt+F4 always close the window (after the question
    // about unsaved work, which may keep it open).
    m_bCancelCloses = 1;
    QDialog::closeEvent(event); // reject() -> OnCancel(); ignored if still open
}

void CMeasureDlg::OnExit() {
    // The same road as the close box.
    m_bCancelCloses = 1;
    OnCancel();
}

// --- Help ---

QString CMeasureDlg::HelpFilePath() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help.chm"));
}

void CMeasureDlg::OnHelp() {
    // The desktop's handler for the file opens it; without the file nothing
    // happens.
    const QString path = HelpFilePath();
    if (QFileInfo(path).isFile())
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

// --- Fonts and colours ---
// Every font dialog starts from the canvas's current font and stores the
// choice back into it; new records take that font.

bool CMeasureDlg::ChooseCurrentFont() {
    LOGFONTA font = m_canvas.m_logFont;
    if (!Prompts().ChooseFont(this, font))
        return false;
    m_canvas.m_logFont = font;
    return true;
}

void CMeasureDlg::OnNoteFont() {
    if (!ChooseCurrentFont())
        return;
    const LOGFONTA font = m_canvas.m_logFont;
    const int selected = m_canvas.m_nSelNote;
    if (selected >= 0 && selected < static_cast<int>(m_canvas.m_info.notes.size())) {
        InfoNote& note = m_canvas.m_info.notes[static_cast<size_t>(selected)];
        const InfoNote before = note;
        note.font = font;
        m_canvas.m_history.NoteChanged(selected, before);
        // The note list shows the selected note's face name in 1058.
        RefreshNoteList();
    }
    m_canvas.Repaint();
}

void CMeasureDlg::OnDimensionFont() {
    if (!ChooseCurrentFont())
        return;
    const LOGFONTA font = m_canvas.m_logFont;
    if (auto* name = Item<QLabel>(IDC_DIM_FONT_NAME))
        name->setText(FaceName(font));
    const int selected = m_canvas.m_nSelDim;
    if (selected >= 0 && selected < static_cast<int>(m_canvas.m_info.dimensions.size())) {
        Dimension& dim = m_canvas.m_info.dimensions[static_cast<size_t>(selected)];
        const Dimension before = dim;
        dim.font = font;
        m_canvas.m_history.DimensionChanged(selected, before);
    }
    m_canvas.Repaint();
}

void CMeasureDlg::OnAllDimensionFont() {
    if (!ChooseCurrentFont())
        return;
    const LOGFONTA font = m_canvas.m_logFont;
    if (auto* name = Item<QLabel>(IDC_DIM_FONT_NAME))
        name->setText(FaceName(font));
    // One step for all, holding the old fonts.
    auto before = ValueRuns<LOGFONTA>::Of(m_canvas.m_info.dimensions, &Dimension::font);
    for (Dimension& dim : m_canvas.m_info.dimensions)
        dim.font = font;
    m_canvas.m_history.AllFontsChanged(std::move(before));
    m_canvas.Repaint();
}

void CMeasureDlg::OnAllDimensionColour() {
    if (!ChooseCurrentColour())
        return;
    const COLORREF colour = m_canvas.m_pendingDim.colour;
    auto before = ValueRuns<COLORREF>::Of(m_canvas.m_info.dimensions, &Dimension::colour);
    for (Dimension& dim : m_canvas.m_info.dimensions)
        dim.colour = colour;
    m_canvas.m_history.AllColoursChanged(std::move(before));
    m_canvas.Repaint();
}
