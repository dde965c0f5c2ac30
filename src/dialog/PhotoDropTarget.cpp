#include "dialog/PhotoDropTarget.h"

#include "platform/ReadOnlyFile.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

QString DroppedPhoto(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return QString();
    const QList<QUrl> urls = data->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return QString();
    const QString path = urls.first().toLocalFile();
    // Judged without waiting: a named pipe or a device is refused at once.
    ReadOnlyFile file;
    if (!file.Open(path, QStringLiteral("photo")))
        return QString();
    // Whatever the name says: a JPEG stream starts with SOI and a marker.
    char head[3] = {};
    if (file.ReadAt(0, head, 3) != 3)
        return QString();
    return QByteArray(head, 3) == QByteArray("\xFF\xD8\xFF", 3) ? path : QString();
}

PhotoDropTarget::PhotoDropTarget(QWidget* window, std::function<void(const QString&)> open)
    : QObject(window), m_open(std::move(open)) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool PhotoDropTarget::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (!DroppedPhoto(drag->mimeData()).isEmpty())
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = DroppedPhoto(drop->mimeData());
        if (path.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        QTimer::singleShot(0, this, [this, path] { m_open(path); });
        return true;
    }
    default:
        return false;
    }
}
