// The end of opening a photo: the canvas decodes it on a worker after the
// open command has shown its stand-in and records. A photo that turns out
// damaged then opens nothing after all: the window says why and shows again
// what it showed before, records and title included.
#include "dialog/CMeasureDlg.h"

#include "platform/Prompts.h"

void CMeasureDlg::RememberShownPhoto() {
    auto shown = std::make_unique<ShownPhoto>();
    shown->hadPhoto = m_canvas.m_dib.HasPicture() && !m_strPhotoPath.isEmpty();
    shown->path = m_strPhotoPath;
    shown->title = windowTitle();
    shown->info = m_canvas.m_info;
    shown->savedInfo = m_savedInfo;
    shown->unreadableInfo = m_strUnreadableInfo;
    shown->infoStamp = m_infoStamp;
    m_beforeOpen = std::move(shown);
}

void CMeasureDlg::OnPhotoLoaded(bool ok, const QString& error) {
    std::unique_ptr<ShownPhoto> before = std::move(m_beforeOpen);
    if (ok) {
        GetDlgItem(IDC_EXPORT_PICTURE)->setEnabled(true);
        return;
    }
    const QString failed = m_strPhotoPath;
    if (before) {
        m_strPhotoPath = before->path;
        setWindowTitle(before->title);
        m_canvas.m_info = before->info;
        m_savedInfo = before->savedInfo;
        m_strUnreadableInfo = before->unreadableInfo;
        m_infoStamp = before->infoStamp;
        if (!before->hadPhoto) {
            m_strPhotoPath.clear();
            m_canvas.m_info.Clear();
        }
    }
    // The history of the photo that failed is gone with it; the records
    // shown count as saved only when they are what was last saved.
    m_canvas.m_history.Clear();
    if (m_canvas.m_info.Serialize() == m_savedInfo)
        m_canvas.m_history.MarkSaved();
    m_canvas.m_nSelDim = -1;
    m_canvas.m_nSelNote = -1;
    m_strSize.clear();
    UpdateData(false);
    RefreshNoteList();
    const bool shown = m_canvas.m_dib.HasPicture() && !m_strPhotoPath.isEmpty();
    EnablePhotoControls(shown);
    m_canvas.Repaint();
    Prompts().Message(this,
                      tr("無法打開圖片：") + failed +
                          (error.isEmpty() ? QString() : QLatin1Char('\n') + error),
                      QMessageBox::Ok, QMessageBox::Warning);
}
