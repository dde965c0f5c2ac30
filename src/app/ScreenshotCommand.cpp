#include "app/CommandLine.h"
#include "dialog/CMeasureDlg.h"
#include "dialog/ResourceArt.h"
#include "platform/LogFont.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QFileInfo>
#include <QImageWriter>
#include <QPixmap>
#include <cstdio>

namespace {
// Without a person at the screen, messages go to stderr and every question
// takes its most careful answer.
class HeadlessPrompter : public Prompter {
public:
    QMessageBox::StandardButton Message(QWidget*, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::Icon) override {
        std::fprintf(stderr, "tessamar: %s\n", text.toLocal8Bit().constData());
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
} // namespace

int RunScreenshot(int argc, char** argv, const QString& out, const QString& photo) {
    // No display is needed: the window is drawn off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallFontSubstitutes();
    QApplication::setWindowIcon(ResourceIcon(IDR_MAINFRAME));

    if (!photo.isEmpty() && !QFileInfo(photo).isFile()) {
        std::fprintf(stderr, "tessamar: no such photo: %s\n", photo.toLocal8Bit().constData());
        return 1;
    }
    HeadlessPrompter headless;
    ScopedPrompter prompts(&headless);
    CMeasureDlg dialog;
    dialog.InitDialog();
    dialog.show();
    if (!photo.isEmpty()) {
        dialog.OpenPhoto(photo);
        if (dialog.m_strPhotoPath.isEmpty()) {
            std::fprintf(stderr, "tessamar: cannot open the photo %s\n",
                         photo.toLocal8Bit().constData());
            return 1;
        }
    }
    QApplication::processEvents();
    const QPixmap picture = dialog.grab();
    QImageWriter writer(out);
    if (!writer.write(picture.toImage())) {
        std::fprintf(stderr, "tessamar: cannot write %s: %s\n", out.toLocal8Bit().constData(),
                     writer.errorString().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
