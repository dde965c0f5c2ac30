#include "platform/Prompts.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QMenu>

namespace {
Prompter* g_current = nullptr;
} // namespace

QString AppName() {
    return QStringLiteral("Tessamar");
}

QMessageBox::StandardButton Prompter::Message(QWidget* parent, const QString& text,
                                              QMessageBox::StandardButtons buttons,
                                              QMessageBox::Icon icon) {
    QMessageBox box(icon, AppName(), text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

bool Prompter::ChooseFont(QWidget* parent, LOGFONTA& font) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, LogFontToQFont(font), parent);
    if (ok)
        font = QFontToLogFont(chosen, font);
    return ok;
}

bool Prompter::ChooseColour(QWidget* parent, COLORREF& colour) {
    const QColor chosen = QColorDialog::getColor(ColorRefToQColor(colour), parent);
    if (!chosen.isValid())
        return false;
    colour = QColorToColorRef(chosen);
    return true;
}

// Prompter::ChoosePhotoToOpen lives in filedialog/PhotoOpenPrompt.cpp, beside
// the picture dialog with preview that it runs.

// Prompter::ChooseSavePath lives in filedialog/SavePathPrompt.cpp, which
// reads the Windows-style filters.

QAction* Prompter::PopupMenu(QMenu& menu, const QPoint& globalPos) {
    return menu.exec(globalPos);
}

Prompter& Prompts() {
    static Prompter desktop;
    return g_current ? *g_current : desktop;
}

ScopedPrompter::ScopedPrompter(Prompter* prompter) : m_previous(g_current) {
    g_current = prompter;
}
ScopedPrompter::~ScopedPrompter() {
    g_current = m_previous;
}
