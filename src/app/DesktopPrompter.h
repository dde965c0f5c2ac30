#pragma once
// The prompts a person answers at the desktop: Qt's message boxes, font and
// colour dialogs, the picture dialog with preview and the save dialog.
// Start-up installs one (ScopedPrompter) before any window shows.

#include "platform/Prompts.h"

class DesktopPrompter : public Prompter {
public:
    QMessageBox::StandardButton Message(QWidget* parent, const QString& text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                        QMessageBox::Icon icon = QMessageBox::Information) override;
    bool ChooseFont(QWidget* parent, LOGFONTA& font) override;
    bool ChooseColour(QWidget* parent, COLORREF& colour) override;
    // The picture dialog with preview.
    QString ChoosePhotoToOpen(QWidget* parent, const QString& filter) override;
    // The standard save dialog, which asks before an existing file is
    // replaced and offers no read-only box.
    QString ChooseSavePath(QWidget* parent, const QString& filter,
                           const QString& defaultSuffix) override;
    QString ChooseSavePathFor(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                              const QString& suggested) override;
    QAction* PopupMenu(QMenu& menu, const QPoint& globalPos) override;
    int RunDialog(QDialog& dialog) override;
};
