// The desktop answer to "save where?": the standard save dialog, which asks
// before an existing file is replaced and offers no read-only box.

#include "filedialog/MfcFilter.h"
#include "platform/Prompts.h"

#include <QFileDialog>

QString Prompter::ChooseSavePath(QWidget* parent, const QString& filter,
                                 const QString& defaultSuffix) {
    return ChooseSavePathFor(parent, filter, defaultSuffix, QString());
}

QString Prompter::ChooseSavePathFor(QWidget* parent, const QString& filter,
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
