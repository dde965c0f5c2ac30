#include "app/CommandLine.h"
#include "dialog/CMeasureDlg.h"
#include "dialog/ResourceArt.h"
#include "platform/LogFont.h"

#include <QApplication>
#include <QFileInfo>
#include <QImageWriter>
#include <QPixmap>
#include <cstdio>

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
    CMeasureDlg dialog;
    dialog.InitDialog();
    dialog.show();
    if (!photo.isEmpty()) {
        dialog.OpenPhotoAtStart(photo);
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
