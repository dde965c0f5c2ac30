// The keyboard policy of the main window (Return and Escape), closing, help,
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

void CMeasureDlg::keyPressEvent(QKeyEvent* event) {
    // Return reaches this window only when the focused control has declined
    // it: it never closes the window and never presses a button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    // Escape leaves the current tool for the drag tool and keeps the window
    // open. Only a press handled here does so: a released key changes nothing
    // and the next close request still closes.
    if (event->matches(QKeySequence::Cancel)) {
        m_bCancelCloses = 0;
        OnCancel();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CMeasureDlg::closeEvent(QCloseEvent* event) {
    // The close box and Alt+F4 always close the window.
    m_bCancelCloses = 1;
    QDialog::closeEvent(event); // reject() -> OnCancel(); ignored if still open
}

void CMeasureDlg::OnOK() {
    // Return never closes the main window.
}

void CMeasureDlg::OnCancel() {
    if (m_bCancelCloses) {
        CloseMainWindow();
        return;
    }
    // A cancel that comes from Escape only returns to the drag tool.
    m_nTool = ToolDrag;
    UpdateData(false);
    OnToolChange();
    m_bCancelCloses = 1;
}

void CMeasureDlg::OnExit() {
    CloseMainWindow();
}

void CMeasureDlg::CloseMainWindow() {
    QDialog::reject();
}

void CMeasureDlg::accept() {
    OnOK();
}

void CMeasureDlg::reject() {
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

void CMeasureDlg::OnNoteFont() {
    LOGFONTA font = m_canvas.m_logFont;
    if (!Prompts().ChooseFont(this, font))
        return;
    m_canvas.m_logFont = font;
    const int selected = m_canvas.m_nSelNote;
    if (selected >= 0 && selected < static_cast<int>(m_canvas.m_info.notes.size())) {
        m_canvas.m_info.notes[static_cast<size_t>(selected)].font = font;
        // The note font name shows the selected note's face.
        if (auto* name = Item<QLabel>(IDC_NOTE_FONT_NAME))
            name->setText(FaceName(font));
    }
    m_canvas.Repaint();
}

void CMeasureDlg::OnDimensionFont() {
    LOGFONTA font = m_canvas.m_logFont;
    if (!Prompts().ChooseFont(this, font))
        return;
    m_canvas.m_logFont = font;
    if (auto* name = Item<QLabel>(IDC_DIM_FONT_NAME))
        name->setText(FaceName(font));
    const int selected = m_canvas.m_nSelDim;
    if (selected >= 0 && selected < static_cast<int>(m_canvas.m_info.dimensions.size()))
        m_canvas.m_info.dimensions[static_cast<size_t>(selected)].font = font;
    m_canvas.Repaint();
}

void CMeasureDlg::OnAllDimensionFont() {
    LOGFONTA font = m_canvas.m_logFont;
    if (!Prompts().ChooseFont(this, font))
        return;
    m_canvas.m_logFont = font;
    if (auto* name = Item<QLabel>(IDC_DIM_FONT_NAME))
        name->setText(FaceName(font));
    for (Dimension& dim : m_canvas.m_info.dimensions)
        dim.font = font;
    m_canvas.Repaint();
}

void CMeasureDlg::OnAllDimensionColour() {
    COLORREF colour = m_canvas.m_pendingDim.colour;
    if (!Prompts().ChooseColour(this, colour))
        return;
    m_canvas.m_pendingDim.colour = colour;
    m_colourSwatch.m_colour = colour;
    m_colourSwatch.update();
    for (Dimension& dim : m_canvas.m_info.dimensions)
        dim.colour = colour;
    m_canvas.Repaint();
}
