// The life of a photo: opening it with its photo-info file, saving the info
// file beside it. Records the user made are
// never lost without a question, and every failure is reported with its
// reason.

#include "dialog/CMeasureDlg.h"

#include "document/InfoFileRead.h"
#include "platform/Prompts.h"
#include "platform/ReadOnlyFile.h"
#include "platform/RecentPhotos.h"

#include <QAbstractButton>
#include <QFileInfo>

namespace {
const char kOpenFilter[] = "JPGE IMAGE (*.jpg;*.jpeg)|*.jpg; *.jpeg||";

// What opening a photo enables, in this order.
const int kPhotoControls[] = {
    IDC_ZOOM_IN,        IDC_ZOOM_OUT,      IDC_ZOOM_ACTUAL,    IDC_ZOOM_FIT,
    IDC_CANVAS,         IDC_SAVE_INFO,     IDC_EXPORT_PICTURE, IDC_TOOL_DRAG,
    IDC_TOOL_DIMENSION, IDC_TOOL_SELECT,   IDC_TOOL_NOTE,      IDC_TOOL_AREA,
    IDC_TOOL_ANGLE,     IDC_COLOUR_SWATCH, IDC_SIZE_EDIT,      IDC_ADD_NOTE};

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

void Inform(QWidget* parent, const QString& text) {
    Prompts().Message(parent, text, QMessageBox::Ok, QMessageBox::Information);
}

void Warn(QWidget* parent, const QString& text) {
    Prompts().Message(parent, text, QMessageBox::Ok, QMessageBox::Warning);
}

} // namespace

void CMeasureDlg::OnOpenPhoto() {
    const QString path = Prompts().ChoosePhotoToOpen(this, Text(kOpenFilter));
    if (path.isEmpty())
        return;
    OpenPhoto(path);
}

bool CMeasureDlg::OpenPhoto(const QString& path) {
    // The file may have gone between the dialog (or the command line) and now.
    // Something that is there but is no photo (a named pipe, a name that is
    // not UTF-8) is left to the loader, which says what is wrong with it.
    if (!QFileInfo::exists(path) && !NamesUndecodableEntry(path)) {
        Warn(this, tr("找不到文件：") + path);
        return false;
    }
    // Loading replaces the records: the changed ones are saved or given up
    // first, at the user's word.
    if (!ConfirmDiscardChanges())
        return false;
    // What is shown now comes back should the new photo's decode fail; a
    // photo still being decoded never showed in full, so the one before it.
    if (!m_canvas.PhotoPending())
        RememberShownPhoto();
    if (!m_canvas.BeginPhotoLoad(path)) {
        // The canvas keeps the photo and the records it had.
        Warn(this, WithReason(tr("無法打開圖片：") + path, m_canvas.LoadError()));
        if (!m_canvas.PhotoPending())
            m_beforeOpen.reset();
        return false;
    }
    m_strPhotoPath = path;
    RecentPhotos::Add(path);
    m_strUnreadableInfo.clear();
    setWindowTitle(QStringLiteral("Tessamar - [") + QFileInfo(path).fileName() +
                   QStringLiteral("]"));

    // The records of the photo. What is wrong with their file is said, and
    // a damaged file moved aside, once the photo has decoded: a photo that
    // fails opens nothing and touches no file.
    const QString infoPath = InfoFilePathFor(path);
    // Taken before reading: a change made while it is read counts as a change.
    m_infoStamp = FileStamp::Of(infoPath);
    const InfoFileRead read = ReadInfoFile(infoPath, m_canvas.Model().Records());
    m_infoToSettle = InfoFileToSettle(read, m_canvas.Model().Info());
    m_infoReadReason = read.reason;
    // Until then, saving asks before it overwrites such a file.
    if (m_infoToSettle != InfoToSettle::None)
        m_strUnreadableInfo = infoPath;

    m_canvas.Model().SelectDimension(-1);
    m_canvas.Model().SelectNote(-1);
    m_strSize.clear();
    UpdateData(false);
    RefreshNoteList();
    m_canvas.Repaint();
    EnablePhotoControls();
    // The export and the report (which follows it) wait for the full photo.
    GetDlgItem(IDC_EXPORT_PICTURE)->setEnabled(FullPhotoShown());
    RememberSavedInfo();
    if (!m_canvas.PhotoPending())
        SettleInfoFile();
    return true;
}

void CMeasureDlg::EnablePhotoControls(bool enable) {
    for (int id : kPhotoControls)
        if (QWidget* control = GetDlgItem(id))
            control->setEnabled(enable);
}

void CMeasureDlg::OnSaveInfo() {
    // The records alone: saved as well while the photo is still decoding.
    if (!m_canvas.HasPhoto() || m_strPhotoPath.isEmpty())
        return;
    if (SaveInfoFile())
        Inform(this, tr("照片信息保存完畢"));
}

bool CMeasureDlg::SaveInfoFile() {
    const QString infoPath = InfoFilePathFor(m_strPhotoPath);
    // An info file that could not be read nor moved aside is replaced only
    // when the user says so.
    if (!m_strUnreadableInfo.isEmpty() && m_strUnreadableInfo == infoPath &&
        QFileInfo::exists(infoPath)) {
        const QMessageBox::StandardButton answer = Prompts().Message(
            this, tr("照片信息文件無法讀取：") + infoPath + tr("\n保存會覆蓋它，是否繼續？"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Question);
        if (answer != QMessageBox::Yes)
            return false;
    } else if (!ConfirmOverwriteChangedInfo(infoPath)) {
        return false;
    }
    if (!m_canvas.Model().Info().SaveToFile(infoPath)) {
        Warn(this, WithReason(tr("保存照片信息失敗：") + infoPath,
                              m_canvas.Model().Info().LastSaveError()));
        return false;
    }
    m_strUnreadableInfo.clear();
    m_infoToSettle = InfoToSettle::None; // replaced by what was saved
    m_infoStamp = m_canvas.Model().Info().SavedFileStamp();
    RememberSavedInfo();
    return true;
}

bool CMeasureDlg::ConfirmOverwriteChangedInfo(const QString& infoPath) {
    // Another window or program wrote the file (or made one) since this
    // window loaded or saved it: its records would be lost without a word.
    // A file that has gone since holds nothing to lose, and what is not a
    // regular file cannot be overwritten (the save says so).
    const FileStamp now = FileStamp::Of(infoPath);
    if (!now.IsRegular() || now == m_infoStamp)
        return true;
    const QMessageBox::StandardButton answer = Prompts().Message(
        this, tr("照片信息文件已被其他程序修改：") + infoPath + tr("\n是否覆蓋？"),
        QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Question);
    return answer == QMessageBox::Yes;
}

void CMeasureDlg::RememberSavedInfo() {
    m_savedInfo = m_canvas.Model().Info().Serialize();
    m_canvas.Model().History().MarkSaved();
}

bool CMeasureDlg::HasUnsavedChanges() const {
    if (m_strPhotoPath.isEmpty() || !m_canvas.HasPhoto())
        return false;
    // Unsaved when saving would write other bytes than those last loaded or
    // saved: a dimension drawn and deleted again, or undone, leaves nothing
    // to save, and a change made past the history still counts.
    return m_canvas.Model().Info().Serialize() != m_savedInfo;
}

bool CMeasureDlg::ConfirmDiscardChanges() {
    if (!HasUnsavedChanges())
        return true;
    const QMessageBox::StandardButton answer = Prompts().Message(
        this, tr("照片信息已修改，是否保存？"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Question);
    switch (answer) {
    case QMessageBox::Save:
        return SaveInfoFile(); // a failed save has said why; stay
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}
