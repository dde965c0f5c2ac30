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
    LOGFONTA font = m_canvas.CurrentFont();
    if (!Prompts().ChooseFont(this, font))
        return false;
    m_canvas.SetCurrentFont(font);
    return true;
}

void CMeasureDlg::OnNoteFont() {
    if (!ChooseCurrentFont())
        return;
    const LOGFONTA font = m_canvas.CurrentFont();
    if (m_canvas.Model().ChangeSelectedNote([&font](InfoNote& note) { note.font = font; })) {
        // The note list shows the selected note's face name in 1058.
        RefreshNoteList();
    }
    m_canvas.Repaint();
}

void CMeasureDlg::OnDimensionFont() {
    if (!ChooseCurrentFont())
        return;
    const LOGFONTA font = m_canvas.CurrentFont();
    if (auto* name = Item<QLabel>(IDC_DIM_FONT_NAME))
        name->setText(FaceName(font));
    m_canvas.Model().ChangeSelectedDimension([&font](Dimension& dim) { dim.font = font; });
    m_canvas.Repaint();
}

void CMeasureDlg::OnAllDimensionFont() {
    if (!ChooseCurrentFont())
        return;
    const LOGFONTA font = m_canvas.CurrentFont();
    if (auto* name = Item<QLabel>(IDC_DIM_FONT_NAME))
        name->setText(FaceName(font));
    m_canvas.Model().SetAllDimensionFonts(font);
    m_canvas.Repaint();
}

void CMeasureDlg::OnAllDimensionColour() {
    if (!ChooseCurrentColour())
        return;
    m_canvas.Model().SetAllDimensionColours(m_canvas.CurrentColour());
    m_canvas.Repaint();
}
