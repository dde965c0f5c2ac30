#include "app/CommandLine.h"
#include "app/DesktopPrompter.h"
#include "app/InterfaceLanguage.h"
#include "app/QuietQtMessages.h"
#include "dialog/CMeasureDlg.h"
#include "dialog/ResourceArt.h"
#include "platform/LogFont.h"
#include "platform/Prompts.h"
#include "platform/ReadOnlyFile.h"

#include <QApplication>
#include <QImageWriter>
#include <QPixmap>
#include <cstdio>

namespace {
// Without a person at the screen, messages go to stderr and every question
// takes its most careful answer.
class HeadlessPrompter : public DesktopPrompter {
public:
    QMessageBox::StandardButton Message(QWidget*, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::Icon) override {
        // One line each: the parts of a message follow each other.
        QString line = text;
        line.replace(QLatin1Char('\n'), QLatin1Char(' '));
        std::fprintf(stderr, "tessamar: %s\n", line.toLocal8Bit().constData());
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
    // Quiet before the application exists: its start-up notes go too.
    QuietQtMessages();
    QApplication app(argc, argv);
    InstallFontSubstitutes();
    UseInterfaceLanguage(InterfaceLanguageFromEnvironment());
    QApplication::setWindowIcon(ResourceIcon(IDR_MAINFRAME));

    if (!photo.isEmpty()) {
        // Looked at without being read: a named pipe must not hold us up.
        ReadOnlyFile file;
        if (!file.Open(photo, QStringLiteral("photo"))) {
            const QByteArray shown = photo.toLocal8Bit();
            if (file.LastProblem() == ReadOnlyFile::Problem::Missing)
                std::fprintf(stderr, "tessamar: no such photo: %s\n", shown.constData());
            else
                std::fprintf(stderr, "tessamar: %s: %s\n", shown.constData(),
                             file.ErrorString().toLocal8Bit().constData());
            return 1;
        }
    }
    HeadlessPrompter headless;
    ScopedPrompter prompts(&headless);
    CMeasureDlg dialog;
    dialog.InitDialog();
    dialog.show();
    if (!photo.isEmpty()) {
        // The picture is taken of the full photo, never of its stand-in.
        if (dialog.OpenPhoto(photo))
            dialog.m_canvas.WaitForPhoto();
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
