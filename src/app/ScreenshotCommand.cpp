// tessamar --screenshot OUT.png [PHOTO]: the main window drawn to a picture
// without a display. It reads the photo and its info file and changes nothing
// but its own output, which goes through the durable writer; its messages are
// English, as every command line's are.
#include "app/CommandLine.h"
#include "app/DesktopPrompter.h"
#include "app/HeadlessCommand.h"
#include "app/InterfaceLanguage.h"
#include "dialog/CMeasureDlg.h"
#include "dialog/ResourceArt.h"
#include "document/InfoFileRead.h"
#include "output/ExportTarget.h"
#include "platform/DurableFile.h"
#include "platform/Prompts.h"
#include "platform/ReadOnlyFile.h"

#include <QApplication>
#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QPixmap>

namespace {
// Without a person at the screen every question takes its most careful
// answer. The window's messages are in its own language: the command says
// in English what went wrong instead.
class HeadlessPrompter : public DesktopPrompter {
public:
    QMessageBox::StandardButton Message(QWidget*, const QString&,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::Icon) override {
        for (QMessageBox::StandardButton careful : {QMessageBox::Cancel, QMessageBox::No})
            if (buttons.testFlag(careful))
                return careful;
        return QMessageBox::Ok;
    }
    bool ChooseFont(QWidget*, LOGFONTA&) override { return false; }
    bool ChooseColour(QWidget*, COLORREF&) override { return false; }
    QString ChoosePhotoToOpen(QWidget*, const QString&) override { return QString(); }
    QString ChooseSavePath(QWidget*, const QString&, const QString&) override { return QString(); }
};

// What the window will show of the photo's records, said when it is not all.
void TellAboutInfoFile(const QString& photo) {
    PhotoInfo records;
    const InfoFileRead read = ReadInfoFile(InfoFilePathFor(photo), records);
    switch (read.outcome) {
    case InfoFileOutcome::Damaged:
    case InfoFileOutcome::NotInfoFile:
        Say(QStringLiteral("the photo-info file %1 is damaged: the picture shows no records")
                .arg(read.path));
        break;
    case InfoFileOutcome::Unreadable:
    case InfoFileOutcome::TooLarge:
        Say(QStringLiteral("cannot read the photo-info file %1: %2; the picture shows no records")
                .arg(read.path, read.reason));
        break;
    default:
        if (records.ReferenceDamaged())
            Say(QStringLiteral("the reference in %1 cannot be read: the picture shows the "
                               "records without it")
                    .arg(read.path));
        break;
    }
}

// The window as it stands once everything is drawn: the canvas again
// without a frame's time limit, so every label is there.
QImage FinishedPicture(CMeasureDlg& dialog) {
    QImage picture = dialog.grab().toImage();
    QPainter painter(&picture);
    CPhotoCanvas& canvas = dialog.m_canvas;
    painter.drawImage(canvas.mapTo(&dialog, QPoint(0, 0)), canvas.RenderToImage());
    return picture;
}
} // namespace

int RunScreenshot(int argc, char** argv, const QString& out, const QString& photo) {
    // No display is needed: the window is drawn off screen.
    const auto app = StartHeadless(argc, argv, HeadlessApp::Widgets);
    if (app) {
        UseInterfaceLanguage(InterfaceLanguageFromEnvironment());
        QApplication::setWindowIcon(ResourceIcon(IDR_MAINFRAME));
    }

    if (!photo.isEmpty()) {
        // Looked at without being read: a named pipe must not hold us up.
        ReadOnlyFile file;
        if (!file.Open(photo, QStringLiteral("photo"))) {
            if (file.LastProblem() == ReadOnlyFile::Problem::Missing)
                return Fail(QStringLiteral("no such photo: %1").arg(photo));
            return Fail(QStringLiteral("%1: %2").arg(photo, file.ErrorString()));
        }
    }
    // Never over the photo, its info file or a special file.
    const QString refused = photo.isEmpty() ? QString() : RefuseExportTarget(photo, out);
    if (!refused.isEmpty())
        return Fail(QStringLiteral("cannot write %1: %2").arg(out, refused));
    HeadlessPrompter headless;
    ScopedPrompter prompts(&headless);
    CMeasureDlg dialog;
    dialog.m_bKeepFilesAsTheyAre = true;
    dialog.InitDialog();
    dialog.show();
    if (!photo.isEmpty()) {
        // The picture is taken of the full photo, never of its stand-in.
        if (dialog.OpenPhoto(photo))
            dialog.m_canvas.WaitForPhoto();
        if (dialog.m_strPhotoPath.isEmpty()) {
            const QString why = dialog.m_canvas.LoadError();
            return Fail(why.isEmpty()
                            ? QStringLiteral("cannot open the photo %1").arg(photo)
                            : QStringLiteral("cannot open the photo %1: %2").arg(photo, why));
        }
        TellAboutInfoFile(photo);
    }
    QApplication::processEvents();

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    QString error;
    if (!writer.write(FinishedPicture(dialog))) {
        error = writer.errorString();
    } else if (WriteFileDurably(out, png.constData(), png.size(), &error)) {
        return 0;
    }
    return Fail(QStringLiteral("cannot write %1: %2").arg(out, error));
}
