#include "filedialog/LastPhotoFolder.h"

#include "platform/RecentPhotos.h"

#include <QFileDialog>
#include <QFileInfo>

void OpenInLastPhotoFolder(QFileDialog& dialog) {
    const QString folder = RecentPhotos::LastFolder();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        dialog.setDirectory(folder);
}
