// The canvas menu's "輸出正視圖(&V)...": the head-on picture of the reference
// plane (see output/RectifiedExport.h), its file asked for as the export's
// is and written on a worker as the export is, with the records of the
// moment it starts. One at a time; closing the window waits for it.

#include "dialog/CMeasureDlg.h"
#include "dialog/FileWriteJob.h"

#include "output/ExportTarget.h"
#include "output/HeadOnView.h"
#include "output/RectifiedExport.h"
#include "platform/Prompts.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

namespace {
const char kHeadOnFilter[] = "JPGE IMAGE (*.jpg;*.jpeg)|*.jpg; *.jpeg|All Files (*.*)|*.*||";

void Say(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
    Prompts().Message(parent, text, QMessageBox::Ok, icon);
}

FileWriteJob::Work HeadOnWork(const QString& photoPath, const QImage& photo,
                              const PhotoInfo& records, const QString& path) {
    return [photoPath, photo, records, path](const std::function<void(int)>& progress) {
        FileWriteJob::Outcome outcome;
        outcome.written =
            ExportHeadOnPicture(photo, records, photoPath, path, kDefaultMmPerPixel, &outcome.error,
                                [&progress](int done, int) { progress(done); });
        return outcome;
    };
}
} // namespace

void CMeasureDlg::OnExportHeadOnView() {
    if (!FullPhotoShown())
        return;
    const QImage& photo = m_canvas.Photo().Image();
    const PhotoInfo& info = m_canvas.Model().Info();
    const std::optional<HeadOnView> view = HeadOnViewOf(info.reference, photo.size());
    if (!view)
        return; // the menu entry is disabled without a plane
    if (m_headOnExport && m_headOnExport->IsRunning()) {
        Say(this, tr("上一張正視圖還在輸出，請等它完成後再輸出。"), QMessageBox::Information);
        return;
    }
    const QFileInfo shown(m_strPhotoPath);
    const QString suggested = shown.dir().filePath(shown.completeBaseName() + "-head-on.jpg");
    const QString path = Prompts().ChooseSavePathFor(this, QString::fromUtf8(kHeadOnFilter),
                                                     QStringLiteral("jpg"), suggested);
    if (path.isEmpty())
        return;
    // Never over the photo, its info file or a special file.
    const QString refused = RefuseExportTarget(m_strPhotoPath, path);
    if (!refused.isEmpty()) {
        Say(this, WithReason(tr("輸出正視圖失敗：") + path, refused), QMessageBox::Warning);
        return;
    }
    if (!m_headOnExport)
        m_headOnExport = new FileWriteJob(
            this, tr("輸出正視圖"),
            [this](const QString& written, const FileWriteJob::Outcome& outcome) {
                if (outcome.written)
                    Say(this, tr("輸出正視圖完畢"), QMessageBox::Information);
                else
                    Say(this, WithReason(tr("輸出正視圖失敗：") + written, outcome.error),
                        QMessageBox::Warning);
            });
    m_headOnExport->Start(path, tr("正在輸出正視圖：%1").arg(QFileInfo(path).fileName()),
                          view->size.height(), HeadOnWork(m_strPhotoPath, photo, info, path));
}
