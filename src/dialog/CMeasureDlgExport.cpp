// The picture export on a worker: the window stays usable while the picture
// is written. The records are those of the moment the export starts. While
// an export runs, another is refused with a word (the file being written is
// not abandoned); another photo may be opened, which the running export does
// not see; closing the window waits for the export and tells its outcome.

#include "dialog/CMeasureDlg.h"
#include "dialog/PictureExportJob.h"

#include "platform/Prompts.h"

#include <QApplication>

namespace {
void Say(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
    Prompts().Message(parent, text, QMessageBox::Ok, icon);
}
} // namespace

void CMeasureDlg::StartPictureExport(const QString& path) {
    if (!m_pictureExport)
        m_pictureExport = new PictureExportJob(
            this, [this](const QString& written, const PictureExportJob::Outcome& outcome) {
                if (outcome.written) {
                    Say(this, tr("輸出圖片完畢"), QMessageBox::Information);
                    return;
                }
                QString text = tr("輸出圖片失敗：") + written;
                if (!outcome.error.isEmpty())
                    text += QLatin1Char('\n') + outcome.error;
                Say(this, text, QMessageBox::Warning);
            });
    m_pictureExport->Start(m_canvas.m_dib.Image(), m_canvas.m_info, path);
}

bool CMeasureDlg::RefuseSecondPictureExport() {
    if (!m_pictureExport || !m_pictureExport->IsRunning())
        return false;
    Say(this, tr("上一張圖片還在輸出，請等它完成後再輸出。"), QMessageBox::Information);
    return true;
}

void CMeasureDlg::FinishPictureExport() {
    if (!m_pictureExport || !m_pictureExport->IsRunning())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_pictureExport->Finish();
    QApplication::restoreOverrideCursor();
}
