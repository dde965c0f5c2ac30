// Handing photos in and out of the window: Ctrl+C on the canvas copies the
// annotated picture, a JPEG dropped on the window opens, and the logo's
// context menu lists the photos opened last.
#include "dialog/CMeasureDlg.h"
#include "dialog/PhotoDropTarget.h"

#include "output/AnnotatedExport.h"
#include "platform/RecentPhotos.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QShortcut>

void CMeasureDlg::AddWindowTransfers() {
    new PhotoDropTarget(this, [this](const QString& path) { OpenPhoto(path); });

    // After the entries the logo's menu has already.
    QWidget* logo = GetDlgItem(IDC_LOGO);
    auto* recent = new QAction(tr("最近的照片"), logo);
    auto* menu = new QMenu(this);
    recent->setMenu(menu);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        menu->clear();
        const QStringList photos = RecentPhotos::List();
        for (const QString& photo : photos) {
            QAction* entry = menu->addAction(QDir::toNativeSeparators(photo));
            connect(entry, &QAction::triggered, this, [this, photo] { OnOpenRecentPhoto(photo); });
        }
        if (photos.isEmpty())
            menu->addAction(tr("（無）"))->setEnabled(false);
    });
    logo->addAction(recent);
    logo->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CMeasureDlg::OnCopyPicture() {
    if (!FullPhotoShown())
        return; // never the stand-in of a photo still being decoded
    // What the export draws, without the JPEG step.
    QImage picture = m_canvas.Photo().Image();
    DrawRecordsAtPhotoScale(picture, m_canvas.Model().Info());
    QGuiApplication::clipboard()->setImage(picture);
}

void CMeasureDlg::OnOpenRecentPhoto(const QString& path) {
    // A photo that has gone leaves the list; opening says it is not there.
    if (!QFileInfo::exists(path))
        RecentPhotos::Remove(path);
    OpenPhoto(path);
}
