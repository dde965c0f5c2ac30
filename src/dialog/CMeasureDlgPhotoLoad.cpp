// The end of opening a photo: the canvas decodes it on a worker after the
// open command has shown its stand-in and records. A photo that turns out
// damaged then opens nothing after all: the window says why and shows again
// what it showed before, records and title included.
#include "dialog/CMeasureDlg.h"

#include "dialog/DamagedInfoFile.h"
#include "document/InfoFileRead.h"
#include "platform/Prompts.h"

void CMeasureDlg::RememberShownPhoto() {
    auto shown = std::make_unique<ShownPhoto>();
    shown->hadPhoto = m_canvas.Photo().HasPicture() && !m_strPhotoPath.isEmpty();
    shown->path = m_strPhotoPath;
    shown->title = windowTitle();
    shown->info = m_canvas.Model().Info();
    shown->savedInfo = m_savedInfo;
    shown->unreadableInfo = m_strUnreadableInfo;
    shown->infoStamp = m_infoStamp;
    shown->selDim = m_canvas.Model().SelDim();
    shown->selNote = m_canvas.Model().SelNote();
    m_beforeOpen = std::move(shown);
}

void CMeasureDlg::OnPhotoLoaded(bool ok, const QString& error) {
    std::unique_ptr<ShownPhoto> before = std::move(m_beforeOpen);
    if (ok) {
        GetDlgItem(IDC_EXPORT_PICTURE)->setEnabled(true);
        SettleInfoFile();
        return;
    }
    const QString failed = m_strPhotoPath;
    // Records changed on the stand-in belong to the photo that failed.
    const bool editsLost = HasUnsavedChanges();
    m_infoToSettle = InfoToSettle::None;
    int selDim = -1, selNote = -1;
    if (before) {
        m_strPhotoPath = before->path;
        setWindowTitle(before->title);
        m_canvas.Model().Records() = before->info;
        m_savedInfo = before->savedInfo;
        m_strUnreadableInfo = before->unreadableInfo;
        m_infoStamp = before->infoStamp;
        selDim = before->selDim;
        selNote = before->selNote;
        if (!before->hadPhoto) {
            m_strPhotoPath.clear();
            m_canvas.Model().Records().Clear();
        }
    }
    // The history of the photo that failed is gone with it; the records
    // shown count as saved only when they are what was last saved.
    EditModel& model = m_canvas.Model();
    model.History().Clear();
    if (model.Info().Serialize() == m_savedInfo)
        model.History().MarkSaved();
    // The selection comes back as it was (the view did in the canvas).
    const auto within = [](int i, size_t count) { return i >= 0 && size_t(i) < count ? i : -1; };
    model.SelectDimension(within(selDim, model.Info().dimensions.size()));
    model.SelectNote(within(selNote, model.Info().notes.size()));
    const bool shown = m_canvas.Photo().HasPicture() && !m_strPhotoPath.isEmpty();
    EnablePhotoControls(shown);
    ShowHistoryStep();
    QString text = WithReason(tr("無法打開圖片：") + failed, error);
    if (editsLost)
        text += QLatin1Char('\n') + tr("照片無法完整打開，對它所做的修改將會遺失。");
    Prompts().Message(this, text, QMessageBox::Ok, QMessageBox::Warning);
}

CMeasureDlg::InfoToSettle CMeasureDlg::InfoFileToSettle(const InfoFileRead& read,
                                                        const PhotoInfo& info) {
    switch (read.outcome) {
    case InfoFileOutcome::NotInfoFile:
    case InfoFileOutcome::Damaged:
        return InfoToSettle::Damaged;
    case InfoFileOutcome::Unreadable:
    case InfoFileOutcome::TooLarge:
        return InfoToSettle::Unreadable;
    default:
        return info.ReferenceDamaged() ? InfoToSettle::ReferenceDamaged : InfoToSettle::None;
    }
}

void CMeasureDlg::SettleInfoFile() {
    const InfoToSettle kind = m_infoToSettle;
    m_infoToSettle = InfoToSettle::None;
    if (kind == InfoToSettle::None)
        return;
    const QString infoPath = InfoFilePathFor(m_strPhotoPath);
    // A file that is there but cannot be read (no permission, a named pipe,
    // too many records) may hold records: it is replaced only when the user
    // says so. A damaged one is moved aside, so no save can overwrite what
    // it still holds.
    MoveAsideResult moved;
    if (kind != InfoToSettle::Unreadable && !m_bKeepFilesAsTheyAre) {
        moved = MoveDamagedFileAside(infoPath);
        m_infoStamp = FileStamp::Of(infoPath);
        if (moved.moved)
            m_strUnreadableInfo.clear();
    }
    const QString askFirst = tr("\n保存信息前會先詢問是否覆蓋它。");
    QString problem;
    if (kind == InfoToSettle::Unreadable) {
        problem = WithReason(tr("照片信息文件無法讀取：") + infoPath, m_infoReadReason) + askFirst;
    } else if (kind == InfoToSettle::Damaged) {
        problem = moved.moved ? tr("照片信息文件已損壞，已改名保存為：") + moved.newPath
                              : WithReason(tr("照片信息文件已損壞，無法改名保存：") + infoPath,
                                           moved.error) +
                                    askFirst;
    } else {
        // The records are read; only the reference after them is lost.
        problem = tr("參考長度或參考平面無法讀取，尺寸和信息已載入。");
        if (moved.moved)
            problem += tr("\n原文件已改名保存為：") + moved.newPath;
    }
    Prompts().Message(this, problem, QMessageBox::Ok, QMessageBox::Warning);
}
