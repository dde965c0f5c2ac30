// The desktop answer to "which photo?": the picture dialog with preview.

#include "filedialog/CMyFileDialog.h"
#include "filedialog/LastPhotoFolder.h"
#include "platform/Prompts.h"

QString Prompter::ChoosePhotoToOpen(QWidget* parent, const QString& filter) {
    CMyFileDialog dialog(true, QString(), QString(), OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, filter,
                         parent);
    OpenInLastPhotoFolder(dialog);
    if (dialog.DoModal() != kDialogOk)
        return QString();
    return dialog.GetPathName();
}
