#include "app/DesktopPrompter.h"

#include "filedialog/CMyFileDialog.h"
#include "filedialog/LastPhotoFolder.h"
#include "filedialog/MfcFilter.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMenu>

QMessageBox::StandardButton DesktopPrompter::Message(QWidget* parent, const QString& text,
                                                     QMessageBox::StandardButtons buttons,
                                                     QMessageBox::Icon icon) {
    QMessageBox box(icon, AppName(), text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

bool DesktopPrompter::ChooseFont(QWidget* parent, LOGFONTA& font) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, LogFontToQFont(font), parent);
    if (ok)
        font = QFontToLogFont(chosen, font);
    return ok;
}

bool DesktopPrompter::ChooseColour(QWidget* parent, COLORREF& colour) {
    const QColor chosen = QColorDialog::getColor(ColorRefToQColor(colour), parent);
    if (!chosen.isValid())
        return false;
    colour = QColorToColorRef(chosen);
    return true;
}

QString DesktopPrompter::ChoosePhotoToOpen(QWidget* parent, const QString& filter) {
    CMyFileDialog dialog(true, QString(), QString(), OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, filter,
                         parent);
    OpenInLastPhotoFolder(dialog);
    if (dialog.DoModal() != kDialogOk)
        return QString();
    return dialog.GetPathName();
}

QString DesktopPrompter::ChooseSavePath(QWidget* parent, const QString& filter,
                                        const QString& defaultSuffix) {
    return ChooseSavePathFor(parent, filter, defaultSuffix, QString());
}

QString DesktopPrompter::ChooseSavePathFor(QWidget* parent, const QString& filter,
                                           const QString& defaultSuffix, const QString& suggested) {
    QFileDialog dialog(parent);
    dialog.setWindowTitle(AppName());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setOption(QFileDialog::ReadOnly, false);
    const QStringList nameFilters = MfcFilterToNameFilters(filter);
    if (!nameFilters.isEmpty())
        dialog.setNameFilters(nameFilters);
    if (!defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(defaultSuffix);
    if (!suggested.isEmpty())
        dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QAction* DesktopPrompter::PopupMenu(QMenu& menu, const QPoint& globalPos) {
    return menu.exec(globalPos);
}

int DesktopPrompter::RunDialog(QDialog& dialog) {
    return dialog.exec();
}
