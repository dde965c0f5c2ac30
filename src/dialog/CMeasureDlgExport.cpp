// The picture export and the report, each written on a worker: the window
// stays usable meanwhile. The records are those of the moment the file is
// started. While one picture (or one report) is being written, another is
// refused with a word (the file being written is not abandoned); another
// photo may be opened, which the running job does not see; closing the
// window waits for the jobs and tells their outcomes.

#include "dialog/CMeasureDlg.h"
#include "dialog/FileWriteJob.h"

#include "platform/Prompts.h"

#include <QApplication>
#include <QFileInfo>

namespace {
void Say(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
    Prompts().Message(parent, text, QMessageBox::Ok, icon);
}

// Waits for a running job, the wait cursor showing.
void FinishJob(FileWriteJob* job) {
    if (!job || !job->IsRunning())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    job->Finish();
    QApplication::restoreOverrideCursor();
}
} // namespace

void CMeasureDlg::StartPictureExport(const QString& path) {
    if (!m_pictureExport)
        m_pictureExport =
            new FileWriteJob(this, tr("輸出圖片"),
                             [this](const QString& written, const FileWriteJob::Outcome& outcome) {
                                 if (outcome.written) {
                                     Say(this, tr("輸出圖片完畢"), QMessageBox::Information);
                                     return;
                                 }
                                 QString text = tr("輸出圖片失敗：") + written;
                                 if (!outcome.error.isEmpty())
                                     text += QLatin1Char('\n') + outcome.error;
                                 Say(this, text, QMessageBox::Warning);
                             });
    const QImage& photo = m_canvas.Photo().Image();
    m_pictureExport->Start(path, tr("正在輸出圖片：%1").arg(QFileInfo(path).fileName()),
                           photo.height(),
                           PictureExportWork(m_strPhotoPath, photo, m_canvas.Model().Info(), path));
}

bool CMeasureDlg::RefuseSecondPictureExport() {
    if (!m_pictureExport || !m_pictureExport->IsRunning())
        return false;
    Say(this, tr("上一張圖片還在輸出，請等它完成後再輸出。"), QMessageBox::Information);
    return true;
}

void CMeasureDlg::StartReport(const QString& path) {
    if (!m_reportExport)
        m_reportExport = new FileWriteJob(
            this, tr("輸出報告"),
            [this](const QString& written, const FileWriteJob::Outcome& outcome) {
                if (outcome.written)
                    Say(this, tr("輸出報告完畢"), QMessageBox::Information);
                else
                    Say(this, tr("輸出報告失敗：") + written + QLatin1Char('\n') + outcome.error,
                        QMessageBox::Warning);
            });
    m_reportExport->Start(
        path, tr("正在輸出報告：%1").arg(QFileInfo(path).fileName()), 0,
        ReportWork(m_strPhotoPath, m_canvas.Photo().Image(), m_canvas.Model().Info(), path));
}

bool CMeasureDlg::RefuseSecondReport() {
    if (!m_reportExport || !m_reportExport->IsRunning())
        return false;
    Say(this, tr("上一份報告還在輸出，請等它完成後再輸出。"), QMessageBox::Information);
    return true;
}

void CMeasureDlg::FinishFileJobs() {
    FinishJob(m_pictureExport);
    FinishJob(m_reportExport);
}
