// The report command: "輸出報告(&R)" writes a PDF report of the photo shown.
#include "dialog/CMeasureDlg.h"
#include "dialog/ReportButton.h"

#include "output/ExportTarget.h"
#include "platform/Prompts.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>

namespace {
const char kReportFilter[] = "PDF (*.pdf)|*.pdf|All Files (*.*)|*.*||";

void Say(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
    Prompts().Message(parent, text, QMessageBox::Ok, icon);
}
} // namespace

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
