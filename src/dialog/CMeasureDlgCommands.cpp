// Help, and the font and colour commands for the selected or every record.

#include "dialog/CMeasureDlg.h"

#include "platform/Prompts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QUrl>

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
    if (InfoNote* note = m_canvas.SelectedNote()) {
        const InfoNote before = *note;
        note->font = font;
        m_canvas.m_history.NoteChanged(m_canvas.m_nSelNote, before);
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
    if (Dimension* dim = m_canvas.SelectedDimension()) {
        const Dimension before = *dim;
        dim->font = font;
        m_canvas.m_history.DimensionChanged(m_canvas.m_nSelDim, before);
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
