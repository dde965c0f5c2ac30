#pragma once
// Every modal prompt of the program goes through one Prompter, so tests can
// answer them without a person. This is only the seam: the program installs
// its desktop prompter (app/DesktopPrompter.h) at start-up, and a test
// installs its own with ScopedPrompter.

#include "platform/ColorRef.h"
#include "platform/LogFont.h"

#include <QMessageBox>
#include <QString>

class QAction;
class QDialog;
class QMenu;
class QPoint;
class QWidget;

// Caption of every message box: the application's name.
QString AppName();

class Prompter {
public:
    virtual ~Prompter() = default;

    // A message box with the application's name as caption; returns the
    // button pressed (QMessageBox::Ok when `buttons` is only Ok).
    virtual QMessageBox::StandardButton
    Message(QWidget* parent, const QString& text,
            QMessageBox::StandardButtons buttons = QMessageBox::Ok,
            QMessageBox::Icon icon = QMessageBox::Information) = 0;

    // Font dialog started from `font`; on OK `font` holds the choice.
    virtual bool ChooseFont(QWidget* parent, LOGFONTA& font) = 0;

    // Colour dialog (custom colours shown) started from `colour`.
    virtual bool ChooseColour(QWidget* parent, COLORREF& colour) = 0;

    // Picture dialog for opening a photo; empty when cancelled. `filter` may
    // be written the Windows way ("Name (*.a)|*.a; *.b||") or as Qt filters.
    virtual QString ChoosePhotoToOpen(QWidget* parent, const QString& filter) = 0;

    // Save dialog (asks before overwriting); empty when cancelled.
    virtual QString ChooseSavePath(QWidget* parent, const QString& filter,
                                   const QString& defaultSuffix) = 0;
    // The same, opened on `suggested` (a full path: its folder is shown and
    // its name filled in).
    virtual QString ChooseSavePathFor(QWidget* parent, const QString& filter,
                                      const QString& defaultSuffix, const QString& suggested) = 0;

    // A context menu shown at `globalPos` (screen coordinates) until the user
    // picks an item or dismisses it; the chosen action, or nullptr.
    virtual QAction* PopupMenu(QMenu& menu, const QPoint& globalPos) = 0;

    // Runs a dialog of the program's own modally; its exec() result.
    virtual int RunDialog(QDialog& dialog) = 0;
};

// The prompter in use: the one installed last and still in place.
Prompter& Prompts();

// A message's text: "text", or "text\nreason" when there is a reason to give.
QString WithReason(const QString& text, const QString& reason);

// Installs a prompter for the lifetime of the object.
class ScopedPrompter {
public:
    explicit ScopedPrompter(Prompter* prompter);
    ~ScopedPrompter();
    ScopedPrompter(const ScopedPrompter&) = delete;
    ScopedPrompter& operator=(const ScopedPrompter&) = delete;

private:
    Prompter* m_previous;
};
