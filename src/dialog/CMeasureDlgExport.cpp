// The picture export ("輸出圖片" and its command) and the report
// ("輸出報告(&R)", a PDF of the photo shown: its button and command), each written on a worker: the
// window stays usable meanwhile. The records are those of the moment the file is started. While one
// picture (or one report) is being written, another is refused with a word (the file being written
// is not abandoned); another photo may be opened, which the running job does not see; closing the
// window waits for the jobs and tells their outcomes.

#include "dialog/CMeasureDlg.h"
#include "dialog/FileWriteJob.h"
#include "dialog/ReportButton.h"

#include "output/ExportTarget.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>

namespace {
const char kExportFilter[] = "JPGE IMAGE (*.jpg;*.jpeg)|*.jpg; *.jpeg|All Files (*.*)|*.*||";
const char kReportFilter[] = "PDF (*.pdf)|*.pdf|All Files (*.*)|*.*||";

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

void CMeasureDlg::OnExportPicture() {
    if (!FullPhotoShown() || RefuseSecondPictureExport())
        return;
    const QString path =
        Prompts().ChooseSavePath(this, QString::fromUtf8(kExportFilter), QStringLiteral("jpg"));
    if (path.isEmpty())
        return;
    // Never over the photo, its info file or a special file, whatever the
    // dialog's "All Files" filter lets the user pick.
    const QString refused = RefuseExportTarget(m_strPhotoPath, path);
    if (!refused.isEmpty()) {
        Say(this, WithReason(tr("輸出圖片失敗：") + path, refused), QMessageBox::Warning);
        return;
    }
    // Only the picture is written: the info file, the title, the photo path
    // and the records stay as they are.
    StartPictureExport(path);
}

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
    FinishJob(m_headOnExport);
}

void CMeasureDlg::CreateReportButton() {
    auto* button = new QPushButton(tr("輸出報告(&R)"), this);
    // Like every button of the window: never the default, Return never
    // presses it.
    button->setAutoDefault(false);
    button->setDefault(false);
    AddControl(IDC_EXPORT_REPORT, button);
    new ReportButtonFollower(GetDlgItem(IDC_EXPORT_PICTURE), button);
}

void CMeasureDlg::OnExportReport() {
    if (!FullPhotoShown() || RefuseSecondReport())
        return;
    const QFileInfo photo(m_strPhotoPath);
    const QString suggested = photo.dir().filePath(photo.completeBaseName() + ".pdf");
    const QString path = Prompts().ChooseSavePathFor(this, QString::fromUtf8(kReportFilter),
                                                     QStringLiteral("pdf"), suggested);
    if (path.isEmpty())
        return;
    // Never over the photo, its info file or a special file.
    const QString why = RefuseExportTarget(m_strPhotoPath, path);
    if (!why.isEmpty()) {
        Say(this, tr("輸出報告失敗：") + path + QLatin1Char('\n') + why, QMessageBox::Warning);
        return;
    }
    StartReport(path);
}
